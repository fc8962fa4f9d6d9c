// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace korvalin {

// Thrown by a conversion key when the amount on the main display cannot be
// converted. The display is left as it stood at the failing step.
class ConversionError : public std::runtime_error {
public:
    enum class Kind {
        notANumber, // the text does not read as an amount
        overflow,   // the amount, or its conversion, is beyond the double range
    };

    ConversionError(Kind kind, std::string amountText);

    Kind kind() const noexcept { return kind_; }
    // The text that failed, as copied to the secondary display.
    const std::string& amountText() const noexcept { return amountText_; }

private:
    Kind kind_;
    std::string amountText_;
};

} // namespace korvalin
