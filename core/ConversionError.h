// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

namespace korvalin {

// Thrown by a conversion key when the amount on the main display cannot be
// converted. The display is left as it stood at the failing step: the text that
// failed is in the secondary display.
class ConversionError : public std::exception {
public:
    enum class Kind {
        notANumber, // the text does not read as an amount
        overflow,   // the amount, or its conversion, is beyond the double range
    };

    explicit ConversionError(Kind kind) noexcept : kind_(kind) {}

    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

} // namespace korvalin
