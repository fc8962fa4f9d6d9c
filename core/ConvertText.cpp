// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertText.h"

#include "ConversionError.h"

#include <cmath>

namespace korvalin {

std::string convertText(std::string_view text, ConversionDirection direction) {
    return convertText(readAmount(text), direction);
}

std::string convertText(const ReadResult& amount, ConversionDirection direction) {
    if (amount.status == ReadStatus::notANumber) {
        throw ConversionError(ConversionError::Kind::notANumber, amount.stop);
    }
    // An amount written in the currency this key converts to is never read as the other.
    if (amount.currency == &resultCurrency(direction)) {
        throw ConversionError(otherDirection(direction));
    }
    const double converted = convertAmount(amount.value, direction);
    if (amount.status == ReadStatus::tooLarge || !std::isfinite(converted)) {
        throw ConversionError(ConversionError::Kind::overflow);
    }
    return writeRoundedAmount(converted);
}

} // namespace korvalin
