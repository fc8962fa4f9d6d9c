// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Options.h"

#include <string>
#include <string_view>

namespace korvalin::cli {

// What one amount of --de gives: its line, or why it is refused, in French.
struct WorthLine {
    std::string result;
    std::string refusal; // empty when it was expressed
};

// The sum written as `text` expressed as the options ask; for --de ligne, `text` begins
// with its year, then a tab or a semicolon: "1985;120 000 F".
WorthLine worthLine(std::string_view text, const Options& options);

} // namespace korvalin::cli
