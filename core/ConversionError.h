// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"

#include <cstddef>
#include <exception>
#include <string_view>

namespace korvalin {

// Thrown by a conversion key when the amount on the main display cannot be
// converted; the displays are left as they were.
class ConversionError : public std::exception {
public:
    enum class Kind {
        notANumber,    // the text does not read as an amount
        overflow,      // the amount, or its conversion, is beyond the double range
        otherCurrency, // the amount is in the currency the key converts to
    };

    // `stop`, for an amount that does not read: the offset of the first byte that does not.
    explicit ConversionError(Kind kind, std::size_t stop = std::string_view::npos) noexcept
        : kind_(kind), stop_(stop) {}
    // An amount written in the other currency: `converting` is the conversion it needs.
    explicit ConversionError(ConversionDirection converting) noexcept
        : kind_(Kind::otherCurrency), converting_(converting) {}

    Kind kind() const noexcept { return kind_; }
    // For otherCurrency: the conversion of the other key, the one that converts the amount.
    ConversionDirection converting() const noexcept { return converting_; }
    std::size_t stop() const noexcept { return stop_; }

private:
    Kind kind_;
    std::size_t stop_ = std::string_view::npos;
    ConversionDirection converting_ = ConversionDirection::toEuros;
};

} // namespace korvalin
