// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"

#include <string>
#include <string_view>

namespace korvalin {

// One conversion of a text, with no display around it: reads the text as an amount in
// the direction's source currency, converts it at the rate, rounds it to thousandths
// and writes it. Throws ConversionError when the text does not read, is written in the
// currency it would be converted to, or is too large.
std::string convertText(std::string_view text, ConversionDirection direction);

} // namespace korvalin
