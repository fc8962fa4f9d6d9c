// SPDX-License-Identifier: GPL-3.0-or-later
#include "Amount.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace korvalin {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// What may stand around an amount copied from a spreadsheet or a terminal.
constexpr std::string_view kSurroundingSpace = " \t\n\r";

// The length of the space that text starts with of those that group digits and may
// part an amount from its currency (a space, a no-break space or a narrow no-break
// space, in UTF-8), or 0.
std::size_t innerSpaceAt(std::string_view text) {
    for (const std::string_view space : {" ", "\xC2\xA0", "\xE2\x80\xAF"}) {
        if (text.starts_with(space)) {
            return space.size();
        }
    }
    return 0;
}

// A currency as documents write it next to an amount.
struct Marker {
    std::string_view text; // in lower case
    const Currency* currency;
    bool abbreviation; // may take a point
};

// A marker that begins another comes after it, so that the first match is the whole
// word: no marker may be followed by a letter.
constexpr Marker kMarkers[] = {
    {"francs", &kFranc, false}, {"franc", &kFranc, false},       {"frf", &kFranc, false},
    {"frs", &kFranc, true},     {"fr", &kFranc, true},           {"ff", &kFranc, false},
    {"f", &kFranc, true},       {"euros", &kEuro, false},        {"euro", &kEuro, false},
    {"eur", &kEuro, false},     {"\xE2\x82\xAC", &kEuro, false}, // €
};

// Whether text starts with the lower-case word, in any letter case. Only ASCII letters
// are folded: the locale has no say.
bool startsWithFolded(std::string_view text, std::string_view word) {
    return text.size() >= word.size() &&
           std::equal(word.begin(), word.end(), text.begin(), [](char lower, char c) {
               return lower == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
           });
}

// The marker text starts with, or nullptr.
const Marker* markerAt(std::string_view text) {
    const auto* found =
        std::find_if(std::begin(kMarkers), std::end(kMarkers),
                     [text](const Marker& m) { return startsWithFolded(text, m.text); });
    return found == std::end(kMarkers) ? nullptr : found;
}

bool isPoint(std::string_view text, std::size_t i) {
    return i < text.size() && (text[i] == '.' || text[i] == ',');
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
    const ReadResult notANumber{ReadStatus::notANumber, 0.0, nullptr};

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

    // A currency before the number: a space follows it, or the number's sign or digit.
    const Currency* currency = nullptr;
    if (const Marker* marker = markerAt(text)) {
        currency = marker->currency;
        i = marker->text.size();
        if (marker->abbreviation && isPoint(text, i) && innerSpaceAt(text.substr(i + 1)) > 0) {
            ++i;
        }
        const std::size_t space = innerSpaceAt(text.substr(i));
        if (space == 0 && !(i < n && (isDigit(text[i]) || text[i] == '+' || text[i] == '-'))) {
            return notANumber;
        }
        i += space;
    }

    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            plain.push_back('-');
        }
        ++i;
    }

    Magnitude magnitude;
    bool seenNonZero = false;
    bool wholeOnly = true; // no comma, no exponent: francs may be followed by centimes
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
        const std::size_t separator = innerSpaceAt(text.substr(i));
        if (separator == 0 || group == 0 || group > 3 ||
            !startsWithGroup(text.substr(i + separator))) {
            break;
        }
        i += separator;
        group = 0;
    }
    if (i < n && text[i] == ',') {
        wholeOnly = false;
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

    // An 'E' begins an exponent only when digits follow it: "1EUR" is one euro.
    std::size_t exponentStart = i + 1;
    if (exponentStart < n && (text[exponentStart] == '+' || text[exponentStart] == '-')) {
        ++exponentStart;
    }
    if (i < n && (text[i] == 'E' || text[i] == 'e') && exponentStart < n &&
        isDigit(text[exponentStart])) {
        wholeOnly = false;
        plain.push_back('e');
        const bool negativeExponent = text[exponentStart - 1] == '-';
        plain.append(text.substr(i + 1, exponentStart - i - 1));
        for (i = exponentStart; i < n && isDigit(text[i]); ++i) {
            plain.push_back(text[i]);
            if (magnitude.exponent < kExponentCap) {
                magnitude.exponent = magnitude.exponent * 10 + (text[i] - '0');
            }
        }
        if (negativeExponent) {
            magnitude.exponent = -magnitude.exponent;
        }
    }

    // A currency after the number, unless one stood before it; after francs, perhaps
    // their centimes.
    if (i < n && currency == nullptr) {
        const std::size_t space = innerSpaceAt(text.substr(i));
        if (const Marker* marker = markerAt(text.substr(i + space))) {
            currency = marker->currency;
            i += space + marker->text.size();
            std::string_view centimes = text.substr(i);
            centimes.remove_prefix(innerSpaceAt(centimes));
            if (marker->text == "f" && wholeOnly && centimes.size() == 2 && isDigit(centimes[0]) &&
                isDigit(centimes[1])) {
                plain.push_back('.');
                plain.append(centimes);
                i = n;
            } else if (marker->abbreviation && isPoint(text, i)) {
                ++i;
            }
        }
    }
    if (i != n) {
        return notANumber;
    }

    double value = 0.0;
    const char* end = plain.data() + plain.size();
    const auto [stop, error] = std::from_chars(plain.data(), end, value);
    if (error == std::errc{} && stop == end) {
        return {ReadStatus::ok, value, currency};
    }
    assert(error == std::errc::result_out_of_range);
    if (magnitude.leadingDigits + magnitude.exponent > 0) {
        return {ReadStatus::tooLarge, 0.0, currency};
    }
    return {ReadStatus::ok, 0.0, currency};
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
