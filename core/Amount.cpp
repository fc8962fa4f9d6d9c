// SPDX-License-Identifier: GPL-3.0-or-later
#include "Amount.h"

#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace korvalin {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// What may stand around an amount copied from a spreadsheet or a terminal.
constexpr std::string_view kSurroundingSpace = " \t\n\r";

// The length of the digit group separator that text starts with (a space, a no-break
// space or a narrow no-break space, in UTF-8), or 0.
std::size_t groupSeparatorAt(std::string_view text) {
    for (const std::string_view separator : {" ", "\xC2\xA0", "\xE2\x80\xAF"}) {
        if (text.starts_with(separator)) {
            return separator.size();
        }
    }
    return 0;
}

// Whether text starts with a group of exactly three digits.
bool startsWithGroup(std::string_view text) {
    return text.size() >= 3 && isDigit(text[0]) && isDigit(text[1]) && isDigit(text[2]) &&
           (text.size() == 3 || !isDigit(text[3]));
}

// The decimal magnitude of a number that from_chars found out of range tells which
// side of the range it lies on.
struct Magnitude {
    std::int64_t leadingDigits = 0; // position of the first non-zero digit, relative to the comma
    std::int64_t exponent = 0;
};

// Caps an exponent far beyond any double so that an absurdly long one cannot overflow.
constexpr std::int64_t kExponentCap = 1'000'000'000;

} // namespace

ReadResult readAmount(std::string_view text) {
    const ReadResult notANumber{ReadStatus::notANumber, 0.0};

    const auto first = text.find_first_not_of(kSurroundingSpace);
    if (first == std::string_view::npos) {
        return notANumber;
    }
    text = text.substr(first, text.find_last_not_of(kSurroundingSpace) - first + 1);

    // from_chars reads the C form ('.' and no '+'), so the French text is rewritten
    // into it once its grammar is checked.
    std::string plain;
    plain.reserve(text.size());
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (text[i] == '+' || text[i] == '-') {
        if (text[i] == '-') {
            plain.push_back('-');
        }
        ++i;
    }

    Magnitude magnitude;
    bool seenNonZero = false;
    std::size_t digits = 0;
    // The whole part, either plain or in groups of three after a first group of one to
    // three digits.
    for (std::size_t group = 0;;) {
        for (; i < n && isDigit(text[i]); ++i, ++digits, ++group) {
            plain.push_back(text[i]);
            if (seenNonZero || text[i] != '0') {
                seenNonZero = true;
                ++magnitude.leadingDigits;
            }
        }
        const std::size_t separator = groupSeparatorAt(text.substr(i));
        if (separator == 0 || group == 0 || group > 3 ||
            !startsWithGroup(text.substr(i + separator))) {
            break;
        }
        i += separator;
        group = 0;
    }
    if (i < n && text[i] == ',') {
        plain.push_back('.');
        for (++i; i < n && isDigit(text[i]); ++i, ++digits) {
            plain.push_back(text[i]);
            if (!seenNonZero) {
                if (text[i] == '0') {
                    --magnitude.leadingDigits;
                } else {
                    seenNonZero = true;
                }
            }
        }
    }
    if (digits == 0) {
        return notANumber;
    }

    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        plain.push_back('e');
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            plain.push_back(text[i]);
            ++i;
        }
        const std::size_t exponentStart = i;
        for (; i < n && isDigit(text[i]); ++i) {
            plain.push_back(text[i]);
            if (magnitude.exponent < kExponentCap) {
                magnitude.exponent = magnitude.exponent * 10 + (text[i] - '0');
            }
        }
        if (i == exponentStart) {
            return notANumber;
        }
        if (negativeExponent) {
            magnitude.exponent = -magnitude.exponent;
        }
    }
    if (i != n) {
        return notANumber;
    }

    double value = 0.0;
    const char* end = plain.data() + plain.size();
    const auto [stop, error] = std::from_chars(plain.data(), end, value);
    if (error == std::errc{} && stop == end) {
        return {ReadStatus::ok, value};
    }
    assert(error == std::errc::result_out_of_range);
    if (magnitude.leadingDigits + magnitude.exponent > 0) {
        return {ReadStatus::tooLarge, 0.0};
    }
    return {ReadStatus::ok, 0.0};
}

std::string writeAmount(double value) {
    assert(std::isfinite(value));
    if (value == 0.0) {
        value = 0.0; // drops the sign of -0
    }
    // Rounded to 15 digits, the doubles nearest the top of the range would be written
    // beyond it and would not read back; their last digit is cut instead.
    constexpr double kLargestWritable = 1.79769313486231e308;
    if (std::fabs(value) > kLargestWritable) {
        value = std::copysign(kLargestWritable, value);
    }
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::general, 15);
    assert(error == std::errc{});
    std::string text(buffer.data(), end);
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        } else if (c == 'e') {
            c = 'E';
        }
    }
    return text;
}

} // namespace korvalin
