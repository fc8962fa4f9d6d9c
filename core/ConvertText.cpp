// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertText.h"

#include <cmath>
#include <cstdint>

namespace korvalin {

Converted convertText(std::string_view text, ConversionDirection direction) {
    return convertText(readAmount(text), direction);
}

Converted convertText(const ReadResult& amount, ConversionDirection direction) {
    using Reason = Refusal::Reason;
    if (amount.status == ReadStatus::notANumber) {
        return {{}, Refusal{Reason::notANumber, amount.stop, {}, amount.stopEnd}};
    }
    // An amount written in the currency this key converts to is never read as the other.
    if (amount.currency == &resultCurrency(direction)) {
        return {{}, Refusal{Reason::otherCurrency, {}, otherDirection(direction)}};
    }
    // Exact below 10^15 thousandths, which a result has its fifteen digits for; beyond, and for
    // amounts a Decimal cannot hold, as the doubles give it.
    constexpr std::int64_t kFifteenDigits = 1'000'000'000'000'000;
    if (amount.exact && amount.status == ReadStatus::ok) {
        const Ratio ratio = direction == ConversionDirection::toEuros
                                ? Ratio{kRateDenominator, kRateNumerator}
                                : Ratio{kRateNumerator, kRateDenominator};
        const std::optional<Fixed> rounded = roundedCount(*amount.exact, ratio, 3);
        if (rounded && rounded->count < kFifteenDigits && rounded->count > -kFifteenDigits) {
            return {writeCount(*rounded), std::nullopt};
        }
    }
    const double converted = convertAmount(amount.value, direction);
    if (amount.status == ReadStatus::tooLarge || !std::isfinite(converted)) {
        return {{}, Refusal{Reason::overflow}};
    }
    return {writeRoundedAmount(converted), std::nullopt};
}

} // namespace korvalin
