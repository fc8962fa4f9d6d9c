// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"

#include <cstddef>
#include <string_view>

namespace korvalin {

// Why an amount was not converted: a value the front ends read and tell, never thrown.
struct Refusal {
    enum class Reason {
        notANumber,    // the text does not read as an amount
        overflow,      // the amount, or its conversion, is beyond the double range
        otherCurrency, // the amount is in the currency the key converts to
    };
    Reason reason;
    // For notANumber: the offset of the first byte that does not read.
    std::size_t stop = std::string_view::npos;
    // For otherCurrency: the conversion of the other key, the one that converts the amount.
    ConversionDirection converting = ConversionDirection::toEuros;
    // For notANumber: the end of the part that does not read, the word at `stop`.
    std::size_t stopEnd = std::string_view::npos;

    bool operator==(const Refusal&) const = default;
};

} // namespace korvalin
