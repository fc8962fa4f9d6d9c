// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvalin {

// A number exactly as it was written: ±significand × 10^exponent. Amounts and the rate
// are decimals, so a product or a quotient of them is rounded from its exact value,
// and a tie such as 150 × 6,55957 = 983,9355 goes to the even digit.
struct Decimal {
    std::uint64_t significand = 0;
    int exponent = 0;
    bool negative = false;

    bool operator==(const Decimal&) const = default;
};

// The exact value of a number in the C form that from_chars reads ("-12.5e3"), or
// nothing when it has more significant digits than a significand holds (19) or an
// exponent beyond any amount's.
std::optional<Decimal> exactDecimal(std::string_view plain);

// What a decimal is multiplied by, exactly.
struct Ratio {
    std::uint64_t numerator = 1;
    std::uint64_t denominator = 1;
};

// A rounded result: count × 10^-places.
struct Fixed {
    std::int64_t count = 0;
    int places = 0;

    bool operator==(const Fixed&) const = default;
};

// amount × ratio, rounded half to even to a whole count of 10^-places; nothing when that
// count does not fit in 64 bits or a step on the way in 128, for which the caller falls
// back to doubles.
std::optional<Fixed> roundedCount(const Decimal& amount, Ratio ratio, int places);

// Writes a rounded result as results are written: the comma, no grouping, no trailing
// zeros, no comma for a whole number, "0" before the comma below 1.
std::string writeCount(Fixed value);

} // namespace korvalin
