// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Amount.h"
#include "Conversion.h"

#include <string>
#include <string_view>

namespace korvalin {

// One conversion of a text, with no display around it: reads the text as an amount in
// the direction's source currency, converts it at the rate, rounds it to thousandths
// and writes it. Throws ConversionError when the text does not read, is written in the
// currency it would be converted to, or is too large.
std::string convertText(std::string_view text, ConversionDirection direction);

// The same, for an amount already read from its text.
std::string convertText(const ReadResult& amount, ConversionDirection direction);

} // namespace korvalin
