// SPDX-License-Identifier: GPL-3.0-or-later
#include "Decimal.h"

#include <array>
#include <charconv>
#include <limits>

namespace korvalin {
namespace {

__extension__ using Wide = unsigned __int128;

constexpr std::size_t kSignificantDigits = 19; // below 2^64
constexpr int kExponentLimit = 100'000;        // far beyond any double

// value × 10^power, or nothing when it overflows.
std::optional<Wide> scaled(Wide value, int power) {
    for (; power > 0; --power) {
        if (value > std::numeric_limits<Wide>::max() / 10) {
            return std::nullopt;
        }
        value *= 10;
    }
    return value;
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

std::optional<std::int64_t> roundedCount(const Decimal& amount, std::uint64_t numerator,
                                         std::uint64_t denominator, int places) {
    const long power = static_cast<long>(amount.exponent) + places;
    if (amount.significand == 0 || numerator == 0) {
        return 0;
    }
    // Past 10^38 one side of the quotient no longer fits: the caller's doubles take it.
    if (power > 38 || power < -38) {
        return std::nullopt;
    }
    const std::optional<Wide> dividend =
        scaled(Wide{amount.significand} * numerator, power > 0 ? static_cast<int>(power) : 0);
    const std::optional<Wide> divisor =
        scaled(denominator, power < 0 ? static_cast<int>(-power) : 0);
    if (!dividend || !divisor) {
        return std::nullopt;
    }
    Wide quotient = *dividend / *divisor;
    const Wide remainder = *dividend % *divisor;
    const Wide rest = *divisor - remainder;
    if (remainder > rest || (remainder == rest && (quotient & 1) != 0)) {
        ++quotient;
    }
    if (quotient > static_cast<Wide>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    const auto count = static_cast<std::int64_t>(quotient);
    return amount.negative ? -count : count;
}

std::string writeCount(std::int64_t count, int places) {
    const std::uint64_t magnitude =
        count < 0 ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
    std::array<char, 24> buffer{};
    char* const end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude).ptr;
    std::string digits(buffer.data(), end);
    const auto fractionDigits = static_cast<std::size_t>(places);
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
