// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"

#include <exception>

namespace korvalin {

// Thrown by a conversion key when the amount on the main display cannot be
// converted. The display is left as it stood at the failing step: the text that
// failed is in the secondary display.
class ConversionError : public std::exception {
public:
    enum class Kind {
        notANumber,    // the text does not read as an amount
        overflow,      // the amount, or its conversion, is beyond the double range
        otherCurrency, // the amount is written in the currency the key converts to
    };

    explicit ConversionError(Kind kind) noexcept : kind_(kind) {}
    // An amount written in the other currency: `converting` is the conversion it needs.
    explicit ConversionError(ConversionDirection converting) noexcept
        : kind_(Kind::otherCurrency), converting_(converting) {}

    Kind kind() const noexcept { return kind_; }
    // For otherCurrency: the conversion of the other key, the one that converts the amount.
    ConversionDirection converting() const noexcept { return converting_; }

private:
    Kind kind_;
    ConversionDirection converting_ = ConversionDirection::toEuros;
};

} // namespace korvalin
