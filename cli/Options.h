// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"
#include "PurchasingPower.h"

#include <optional>
#include <string>
#include <vector>

namespace korvalin::cli {

// What the command line asks for.
struct Options {
    enum class Action { convert, help, version, usageError };
    Action action = Action::convert;
    std::optional<ConversionDirection> direction; // with --de, may be none
    // --de: each amount is a sum of a year, expressed in another at equal purchasing
    // power; `year` none for --de ligne, where each line begins with its year.
    bool purchasingPower = false;
    std::optional<int> year;
    int inYear = 0;                   // --en, by default the index's last year
    std::vector<const char*> amounts; // none: read standard input
    std::string error;                // for usageError, one French line
};

Options parseOptions(int argc, char* argv[]);

// What --de asks of a sum of `year`: -e reads it in francs and writes it in euros, -f
// the other way; with neither, its marker or its year tells.
WorthQuestion worthQuestion(const Options& options, int year);

// The texts of --help and --version, and the hint after a usage error.
std::string helpText();
std::string versionText();
extern const char* const kUsageHint;

} // namespace korvalin::cli
