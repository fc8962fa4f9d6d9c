// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Amount.h"
#include "Conversion.h"
#include "Refusal.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvalin {

// The longest amount either front end takes, in bytes of UTF-8: the main display holds
// this many characters and korvalin reads lines of this many bytes.
inline constexpr std::size_t kLongestAmount = 1000;

// What one conversion gives: its result, written as results are, or why there is none.
struct Converted {
    std::string result;
    std::optional<Refusal> refusal;
};

// One conversion of a text, with no display around it: reads the text as an amount in
// the direction's source currency, converts it at the rate, rounds it to thousandths
// and writes it. Refused when the text does not read, is written in the currency it
// would be converted to, or is too large.
Converted convertText(std::string_view text, ConversionDirection direction);

// The same, for an amount already read from its text.
Converted convertText(const ReadResult& amount, ConversionDirection direction);

} // namespace korvalin
