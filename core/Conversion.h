// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace korvalin {

// Francs for one euro: the only rate, 655957 / 100000 exactly. Euros are francs divided
// by it, francs are euros multiplied by it; no inverse is kept.
inline constexpr std::uint64_t kRateNumerator = 655957;
inline constexpr std::uint64_t kRateDenominator = 100000;
// The same as the double nearest to it, for amounts beyond exact arithmetic: the
// quotient of two integers that doubles hold exactly is rounded correctly.
inline constexpr double FRF_PER_EUR =
    static_cast<double>(kRateNumerator) / static_cast<double>(kRateDenominator);
static_assert(FRF_PER_EUR == 6.55957);

// A currency as its label shows it and as a sentence names an amount of it.
struct Currency {
    std::string_view label;    // "Euros"
    std::string_view singular; // "euro": French uses it below two, as in "1,5 euro"
    std::string_view plural;   // "euros"

    constexpr std::string_view wordFor(double amount) const {
        return amount > -2 && amount < 2 ? singular : plural;
    }
};

inline constexpr Currency kEuro{"Euros", "euro", "euros"};
inline constexpr Currency kFranc{"Francs", "franc", "francs"};

enum class ConversionDirection { toEuros, toFrancs };

constexpr ConversionDirection otherDirection(ConversionDirection direction) {
    return direction == ConversionDirection::toEuros ? ConversionDirection::toFrancs
                                                     : ConversionDirection::toEuros;
}

// The currency the typed amount is read in.
constexpr const Currency& sourceCurrency(ConversionDirection direction) {
    return direction == ConversionDirection::toEuros ? kFranc : kEuro;
}

// The currency of the converted amount.
constexpr const Currency& resultCurrency(ConversionDirection direction) {
    return direction == ConversionDirection::toEuros ? kEuro : kFranc;
}

// Converts at the rate; the result is infinite when the product overflows.
constexpr double convertAmount(double amount, ConversionDirection direction) {
    return direction == ConversionDirection::toEuros ? amount / FRF_PER_EUR : amount * FRF_PER_EUR;
}

// Rounds to three decimals, halves to even (0.0625 gives 0.062). A value of 2^43 or
// more has no digits below a thousandth and is returned as it is; this also keeps the
// scaling by 1000 from overflowing a huge but finite result.
double roundToThousandths(double value);

} // namespace korvalin
