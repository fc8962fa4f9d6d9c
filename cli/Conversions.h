// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"

#include <vector>

namespace korvalin::cli {

// Both convert each amount in `direction` and write one line for it on standard output:
// the result, or an empty line when the amount is refused, the reason going to standard
// error. They return the exit status: 0 when every amount converted, 1 otherwise.

// The amounts given on the command line.
int convertArguments(const std::vector<const char*>& amounts, ConversionDirection direction);

// Standard input, one amount a line; a blank line gives a blank line.
int convertStandardInput(ConversionDirection direction);

} // namespace korvalin::cli
