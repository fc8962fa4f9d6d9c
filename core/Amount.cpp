// SPDX-License-Identifier: GPL-3.0-or-later
#include "Amount.h"

#include "Decimal.h"

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
// part an amount from its currency (a space, a no-break, narrow no-break, thin or
// figure space, in UTF-8), or 0.
std::size_t innerSpaceAt(std::string_view text) {
    if (text.empty() || (text[0] != ' ' && text[0] != '\xC2' && text[0] != '\xE2')) {
        return 0; // the common case, told at once
    }
    for (const std::string_view space :
         {" ", "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89", "\xE2\x80\x87"}) {
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
    // Every marker starts with an F, an E or the euro sign's first byte.
    if (text.empty() || ((text[0] | 0x20) != 'f' && (text[0] | 0x20) != 'e' && text[0] != '\xE2')) {
        return nullptr;
    }
    const auto* found =
        std::find_if(std::begin(kMarkers), std::end(kMarkers),
                     [text](const Marker& m) { return startsWithFolded(text, m.text); });
    return found == std::end(kMarkers) ? nullptr : found;
}

// Whether text starts with a group of exactly three digits.
bool startsWithGroup(std::string_view text) {
    return text.size() >= 3 && isDigit(text[0]) && isDigit(text[1]) && isDigit(text[2]) &&
           (text.size() == 3 || !isDigit(text[3]));
}

// The length of the sign text starts with, or 0; `negative` tells which.
std::size_t signAt(std::string_view text, bool& negative) {
    negative = text.starts_with('-') || text.starts_with("\xE2\x88\x92"); // U+2212
    if (text.starts_with('+') || text.starts_with('-')) {
        return 1;
    }
    return negative ? 3 : 0;
}

// What a point is in the number being read.
enum class PointRule {
    documents, // a point followed by exactly three digits groups, any other is the comma
    groups,    // every point groups
    comma,     // a point is the comma
};

// The rule for a bare amount's points: they group only where nothing else makes sense,
// two or more of them grouping threes, or points grouping threes before a comma.
PointRule bareAmountPoints(std::string_view text) {
    std::size_t points = 0;
    for (std::size_t i = text.find('.'); i != std::string_view::npos; i = text.find('.', i + 1)) {
        if (!startsWithGroup(text.substr(i + 1))) {
            return PointRule::comma;
        }
        ++points;
    }
    const bool commaAfter = points > 0 && text.find(',', text.rfind('.')) != std::string_view::npos;
    return points >= 2 || commaAfter ? PointRule::groups : PointRule::comma;
}

// Whether a number in the C form, that from_chars found out of range, lies above the
// range rather than below it: from where its first non-zero digit stands and its
// exponent, capped far beyond any double so that an absurdly long one cannot overflow.
bool aboveRange(std::string_view plain) {
    constexpr std::int64_t kExponentCap = 1'000'000'000;
    const std::size_t e = std::min(plain.find('e'), plain.size());
    const std::string_view mantissa = plain.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    std::int64_t magnitude = first < point ? static_cast<std::int64_t>(point - first)
                                           : -static_cast<std::int64_t>(first - point - 1);
    std::int64_t exponent = 0;
    std::string_view digits = e < plain.size() ? plain.substr(e + 1) : std::string_view{};
    const bool negative = digits.starts_with('-');
    digits.remove_prefix(digits.starts_with('-') || digits.starts_with('+') ? 1 : 0);
    for (const char c : digits) {
        exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
    }
    return magnitude + (negative ? -exponent : exponent) > 0;
}

// Reads one amount by the grammar of Amount.h, rule by rule, rewriting its number in
// the C form ('.' and no '+') that from_chars reads. Each rule either reads its part
// and moves on, or leaves the position where it stands.
class Reader {
public:
    Reader(std::string_view text, PointRule points) : text_(text), points_(points) {
        plain_.reserve(text.size());
    }

    ReadResult read() {
        markerBefore();
        if (!number()) {
            return refused();
        }
        if (currency_ == nullptr) {
            markerAfter();
        }
        if (at_ != text_.size()) {
            return refused();
        }
        return value();
    }

    const Currency* currency() const { return currency_; }

private:
    std::string_view rest() const { return text_.substr(at_); }

    // A currency before the number: a space follows it, or the number's sign or digit.
    void markerBefore() {
        const Marker* marker = markerAt(text_);
        if (marker == nullptr) {
            return;
        }
        std::size_t end = marker->text.size();
        if (marker->abbreviation && text_.substr(end).starts_with('.') &&
            innerSpaceAt(text_.substr(end + 1)) > 0) {
            ++end;
        }
        const std::size_t space = innerSpaceAt(text_.substr(end));
        bool negative = false;
        const std::string_view next = text_.substr(end + space);
        if (space == 0 && !(next.starts_with('+') || signAt(next, negative) > 0 ||
                            (!next.empty() && isDigit(next[0])))) {
            return; // not a marker here: the number finds the letters it cannot read
        }
        currency_ = marker->currency;
        at_ = end + space;
    }

    // sign? mantissa exponent?
    bool number() {
        bool negative = false;
        at_ += signAt(rest(), negative);
        if (negative) {
            plain_.push_back('-');
        }
        const std::size_t digitsBefore = digitCount_;
        wholeOnly_ = true;
        whole();
        if (decimal()) {
            wholeOnly_ = false;
            digits();
        }
        if (digitCount_ == digitsBefore) {
            return false;
        }
        if (exponent()) {
            wholeOnly_ = false;
        }
        return true;
    }

    // Digits, perhaps grouped by threes after a first group of one to three.
    void whole() {
        const std::size_t first = digits();
        if (first == 0 || first > 3) {
            return;
        }
        char grouping = '\0'; // ' ' for the spaces, '.' for points: never both
        for (;;) {
            const std::size_t space = innerSpaceAt(rest());
            const bool point = space == 0 && rest().starts_with('.') && pointGroups();
            const char kind = point ? '.' : ' ';
            const std::size_t length = point ? 1 : space;
            if (length == 0 || (grouping != '\0' && grouping != kind) ||
                !startsWithGroup(rest().substr(length))) {
                return;
            }
            grouping = kind;
            at_ += length;
            digits();
        }
    }

    // Whether the point at the position groups thousands.
    bool pointGroups() const {
        switch (points_) {
        case PointRule::documents:
            return startsWithGroup(rest().substr(1));
        case PointRule::groups:
            return true;
        case PointRule::comma:
            break;
        }
        return false;
    }

    bool decimal() {
        if (rest().starts_with(',') || (rest().starts_with('.') && !pointGroups())) {
            if (text_[at_] == '.') {
                decimalPoint_ = at_;
            }
            plain_.push_back('.');
            ++at_;
            return true;
        }
        return false;
    }

    // An 'E' begins an exponent only when digits follow it: "1EUR" is one euro.
    bool exponent() {
        std::size_t start = at_ + 1;
        if (start < text_.size() && (text_[start] == '+' || text_[start] == '-')) {
            ++start;
        }
        if (!(rest().starts_with('E') || rest().starts_with('e')) || start >= text_.size() ||
            !isDigit(text_[start])) {
            return false;
        }
        plain_.push_back('e');
        plain_.append(text_.substr(at_ + 1, start - at_ - 1));
        at_ = start;
        digits();
        return true;
    }

    // A currency after the number; after whole francs, perhaps their centimes.
    void markerAfter() {
        const std::size_t space = innerSpaceAt(rest());
        const Marker* marker = markerAt(rest().substr(space));
        if (marker == nullptr) {
            return;
        }
        currency_ = marker->currency;
        at_ += space + marker->text.size();
        if (marker->text == "f" && wholeOnly_ && oldCentimes()) {
            return;
        }
        if (marker->abbreviation && rest().starts_with('.')) {
            ++at_;
        }
    }

    // The old form's centimes: exactly two digits after "F", with or without a space.
    bool oldCentimes() {
        std::string_view centimes = rest();
        centimes.remove_prefix(innerSpaceAt(centimes));
        if (centimes.size() != 2 || !isDigit(centimes[0]) || !isDigit(centimes[1])) {
            return false;
        }
        plain_.push_back('.');
        plain_.append(centimes);
        at_ = text_.size();
        return true;
    }

    // Reads digits into the plain form; returns how many.
    std::size_t digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && isDigit(text_[at_])) {
            ++at_;
        }
        plain_.append(text_.substr(start, at_ - start));
        digitCount_ += at_ - start;
        return at_ - start;
    }

    ReadResult refused() const {
        // The stop is the first thing that does not read, past the spaces before it.
        const std::size_t stop = at_ + innerSpaceAt(rest());
        return {ReadStatus::notANumber, 0.0, currency_, stop};
    }

    // Too large and too small, decided once the whole number is read.
    ReadResult value() const {
        double value = 0.0;
        const char* end = plain_.data() + plain_.size();
        const auto [stop, error] = std::from_chars(plain_.data(), end, value);
        if (error == std::errc{} && stop == end) {
            return {ReadStatus::ok, value, currency_, std::string_view::npos, decimalPoint_};
        }
        assert(error == std::errc::result_out_of_range);
        if (aboveRange(plain_)) {
            return {ReadStatus::tooLarge, 0.0, currency_};
        }
        return {ReadStatus::ok, 0.0, currency_, std::string_view::npos, decimalPoint_};
    }

    std::string_view text_;
    PointRule points_;
    std::size_t at_ = 0;
    std::string plain_;
    const Currency* currency_ = nullptr;
    std::size_t digitCount_ = 0; // in the mantissa and the exponent
    bool wholeOnly_ = true;      // no decimal, no exponent: francs may be followed by centimes
    std::size_t decimalPoint_ = std::string_view::npos;
};

// Moves the offsets of a result read in a part of a text to the whole text.
ReadResult shifted(ReadResult result, std::size_t by) {
    for (std::size_t* offset : {&result.stop, &result.decimalPoint}) {
        if (*offset != std::string_view::npos) {
            *offset += by;
        }
    }
    return result;
}

} // namespace

ReadResult readAmount(std::string_view text) {
    const auto first = text.find_first_not_of(kSurroundingSpace);
    if (first == std::string_view::npos) {
        return {ReadStatus::notANumber, 0.0, nullptr, text.size()};
    }
    const std::string_view amount =
        text.substr(first, text.find_last_not_of(kSurroundingSpace) - first + 1);
    // Points are read as documents write them next to a currency; an amount that turns
    // out to have none is read again by the bare amount's rule.
    Reader documents(amount, PointRule::documents);
    ReadResult result = documents.read();
    if (documents.currency() == nullptr && amount.find('.') != std::string_view::npos) {
        Reader bare(amount, bareAmountPoints(amount));
        const ReadResult again = bare.read();
        if (bare.currency() == nullptr) { // with a currency after all, the first reading holds
            result = again;
        }
    }
    return shifted(result, first);
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

std::string writeRoundedAmount(double value) {
    const double thousandths = std::nearbyint(value * 1000.0);
    // Below 10^15 thousandths the result has at most 15 digits: they are the count's own.
    constexpr double kFifteenDigits = 1e15;
    if (!(std::fabs(thousandths) < kFifteenDigits)) {
        return writeAmount(roundToThousandths(value));
    }
    return writeCount({static_cast<std::int64_t>(thousandths), 3});
}

} // namespace korvalin
