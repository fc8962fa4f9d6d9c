// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertText.h"

#include <cmath>

namespace korvalin {

Converted convertText(std::string_view text, ConversionDirection direction) {
    return convertText(readAmount(text), direction);
}

Converted convertText(const ReadResult& amount, ConversionDirection direction) {
    using Reason = Refusal::Reason;
    if (amount.status == ReadStatus::notANumber) {
        return {{}, Refusal{Reason::notANumber, amount.stop}};
    }
    // An amount written in the currency this key converts to is never read as the other.
    if (amount.currency == &resultCurrency(direction)) {
        return {{}, Refusal{Reason::otherCurrency, {}, otherDirection(direction)}};
    }
    const double converted = convertAmount(amount.value, direction);
    if (amount.status == ReadStatus::tooLarge || !std::isfinite(converted)) {
        return {{}, Refusal{Reason::overflow}};
    }
    return {writeRoundedAmount(converted), std::nullopt};
}

} // namespace korvalin
