// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"

#include <optional>
#include <string>
#include <vector>

namespace korvalin::cli {

// What the command line asks for.
struct Options {
    enum class Action { convert, help, version, usageError };
    Action action = Action::convert;
    std::optional<ConversionDirection> direction;
    std::vector<const char*> amounts; // none: read standard input
    std::string error;                // for usageError, one French line
};

Options parseOptions(int argc, char* argv[]);

// The texts of --help and --version, and the hint after a usage error.
extern const char* const kHelpText;
std::string versionText();
extern const char* const kUsageHint;

} // namespace korvalin::cli
