// SPDX-License-Identifier: GPL-3.0-or-later
#include "Decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace korvalin {
namespace {

__extension__ using Wide = unsigned __int128;

constexpr std::size_t kSignificantDigits = 19; // below 2^64
constexpr int kExponentLimit = 100'000;        // far beyond any double

// 10^power, for 0 <= power <= 38: the largest that 128 bits hold.
Wide powerOfTen(long power) {
    Wide result = 1;
    for (long i = 0; i < power; ++i) {
        result *= 10;
    }
    return result;
}

} // namespace

std::optional<Decimal> exactDecimal(std::string_view plain) {
    Decimal decimal;
    if (plain.starts_with('-')) {
        decimal.negative = true;
        plain.remove_prefix(1);
    }
    const std::size_t e = std::min(plain.find_first_of("eE"), plain.size());
    if (e < plain.size()) {
        std::string_view power = plain.substr(e + 1);
        const bool negative = power.starts_with('-');
        power.remove_prefix(power.starts_with('-') || power.starts_with('+') ? 1 : 0);
        int exponent = 0;
        const auto [end, error] =
            std::from_chars(power.data(), power.data() + power.size(), exponent);
        if (error != std::errc{} || end != power.data() + power.size() ||
            exponent > kExponentLimit) {
            return std::nullopt;
        }
        decimal.exponent = negative ? -exponent : exponent;
    }
    std::string_view mantissa = plain.substr(0, e);
    const std::size_t point = mantissa.find('.');
    std::string digits(mantissa.substr(0, point));
    if (point != std::string_view::npos) {
        const std::string_view fraction = mantissa.substr(point + 1);
        digits.append(fraction);
        decimal.exponent -= static_cast<int>(fraction.size());
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return Decimal{0, 0, decimal.negative};
    }
    const std::size_t last = digits.find_last_not_of('0');
    decimal.exponent += static_cast<int>(digits.size() - last - 1);
    const std::string_view significant = std::string_view(digits).substr(first, last - first + 1);
    if (significant.size() > kSignificantDigits || decimal.exponent < -kExponentLimit) {
        return std::nullopt;
    }
    std::from_chars(significant.data(), significant.data() + significant.size(),
                    decimal.significand);
    return decimal;
}

std::optional<Fixed> roundedCount(const Decimal& amount, Ratio ratio, int places) {
    const long power = static_cast<long>(amount.exponent) + places;
    if (amount.significand == 0 || ratio.numerator == 0) {
        return Fixed{0, places};
    }
    // Past 10^38 one side of the quotient no longer fits: the caller's doubles take it.
    if (power > 38 || power < -38 || ratio.denominator == 0) {
        return std::nullopt;
    }
    Wide dividend = 0;
    Wide divisor = 0;
    if (__builtin_mul_overflow(Wide{amount.significand} * ratio.numerator,
                               powerOfTen(std::max(power, 0L)), &dividend) ||
        __builtin_mul_overflow(Wide{ratio.denominator}, powerOfTen(std::max(-power, 0L)),
                               &divisor)) {
        return std::nullopt;
    }
    Wide quotient = dividend / divisor;
    const Wide remainder = dividend % divisor;
    const Wide rest = divisor - remainder;
    if (remainder > rest || (remainder == rest && (quotient & 1) != 0)) {
        ++quotient;
    }
    if (quotient > static_cast<Wide>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    const auto count = static_cast<std::int64_t>(quotient);
    return Fixed{amount.negative ? -count : count, places};
}

std::string writeCount(Fixed value) {
    const std::int64_t count = value.count;
    const std::uint64_t magnitude =
        count < 0 ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
    std::array<char, 24> buffer{};
    char* const end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude).ptr;
    std::string digits(buffer.data(), end);
    const auto fractionDigits = static_cast<std::size_t>(value.places);
    if (digits.size() <= fractionDigits) {
        digits.insert(0, fractionDigits + 1 - digits.size(), '0');
    }
    const std::size_t whole = digits.size() - fractionDigits;
    std::string text = count < 0 ? "-" : "";
    text.append(digits, 0, whole);
    const std::size_t significant = digits.find_last_not_of('0') + 1;
    if (significant > whole) {
        text.append(1, ',').append(digits, whole, significant - whole);
    }
    return text;
}

} // namespace korvalin
