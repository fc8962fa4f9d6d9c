// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Options.h"

namespace korvalin::cli {

// Both convert each amount as the options ask (in their direction, or with --de from
// one year to another) and write one line for it on standard output: the result, or an
// empty line when the amount is refused, the reason going to standard error. They
// return the exit status: 0 when every amount converted, 1 otherwise.

// The amounts given on the command line.
int convertArguments(const Options& options);

// Standard input, one amount a line; a blank line gives a blank line.
int convertStandardInput(const Options& options);

} // namespace korvalin::cli
