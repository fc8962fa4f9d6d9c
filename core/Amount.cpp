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

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
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

// The length of the run of those spaces text starts with: justified text leaves several.
std::size_t spacesAt(std::string_view text) {
    std::size_t length = 0;
    for (std::size_t space = innerSpaceAt(text); space > 0;
         space = innerSpaceAt(text.substr(length))) {
        length += space;
    }
    return length;
}

// Whether a word goes on at c: an ASCII letter, or the first byte of a Latin-1 letter
// such as "é".
bool continuesWord(char c) {
    return isAsciiLetter(c) || c == '\xC3';
}

// The length of the lower-case word text starts with, in any letter case, or 0. A space
// in the word stands for a run of spaces, and a word that ends in a letter must end
// there: "Fx" is no "F". Only ASCII letters are folded: the locale has no say.
std::size_t wordAt(std::string_view text, std::string_view word) {
    std::size_t at = 0;
    for (const char w : word) {
        if (w == ' ') {
            const std::size_t run = spacesAt(text.substr(at));
            if (run == 0) {
                return 0;
            }
            at += run;
        } else if (at < text.size() &&
                   w == (text[at] >= 'A' && text[at] <= 'Z' ? text[at] - 'A' + 'a' : text[at])) {
            ++at;
        } else {
            return 0;
        }
    }
    if (isAsciiLetter(word.back()) && at < text.size() && continuesWord(text[at])) {
        return 0;
    }
    return at;
}

// The length of the first of the words that text starts with, or 0.
template <std::size_t N>
std::size_t firstWordAt(std::string_view text, const std::array<std::string_view, N>& words) {
    for (const std::string_view word : words) {
        if (const std::size_t length = wordAt(text, word); length > 0) {
            return length;
        }
    }
    return 0;
}

// A currency as documents write it next to an amount.
struct Marker {
    std::string_view text; // in lower case, a space standing for a run of spaces
    const Currency* currency;
    FrancWord franc;
    bool abbreviation; // may take a point
    bool oldForm;      // may be followed by centimes the old way, "12 F 50"
};

constexpr Marker kMarkers[] = {
    {"francs", &kFranc, FrancWord::franc, false, true},
    {"franc", &kFranc, FrancWord::franc, false, true},
    {"frf", &kFranc, FrancWord::franc, false, false},
    {"frs", &kFranc, FrancWord::franc, true, true},
    {"fr", &kFranc, FrancWord::franc, true, true},
    {"ff", &kFranc, FrancWord::franc, false, false},
    {"f", &kFranc, FrancWord::franc, true, true},
    {"anciens francs", &kFranc, FrancWord::ancien, false, false},
    {"ancien franc", &kFranc, FrancWord::ancien, false, false},
    {"af", &kFranc, FrancWord::ancien, false, false},
    {"nouveaux francs", &kFranc, FrancWord::nouveau, false, false},
    {"nouveau franc", &kFranc, FrancWord::nouveau, false, false},
    {"nf", &kFranc, FrancWord::nouveau, false, false},
    {"euros", &kEuro, FrancWord::none, false, false},
    {"euro", &kEuro, FrancWord::none, false, false},
    {"eur", &kEuro, FrancWord::none, false, false},
    {"\xE2\x82\xAC", &kEuro, FrancWord::none, false, false}, // €
};

// The marker text starts with, its length in `length`, or nullptr.
const Marker* markerAt(std::string_view text, std::size_t& length) {
    // Every marker starts with an F, an A, an N, an E or the euro sign's first byte.
    const char first = text.empty() ? '\0' : static_cast<char>(text[0] | 0x20);
    if (first != 'f' && first != 'a' && first != 'n' && first != 'e' && !text.starts_with('\xE2')) {
        return nullptr;
    }
    for (const Marker& marker : kMarkers) {
        length = wordAt(text, marker.text);
        if (length > 0) {
            return &marker;
        }
    }
    return nullptr;
}

// A hundredth of a currency.
constexpr std::array<std::string_view, 5> kCentimes = {"centimes", "centime", "cents", "cent.",
                                                       "c."};

// Powers of ten that a word after the number multiplies it by.
struct Scale {
    std::string_view word;
    int power;
};
constexpr Scale kScales[] = {
    {"milliards", 9}, {"milliard", 9}, {"millions", 6}, {"million", 6}, {"mille", 3},
};

constexpr int kCentimePower = -2;
constexpr int kThousandPower = 3;
constexpr int kMillionPower = 6;

// What comes between a word that counts a currency and the currency.
constexpr std::array<std::string_view, 3> kOf = {"de ", "d'", "d\xE2\x80\x99"}; // ’

// Words after an amount and its currency that say what it is without changing it.
constexpr std::array<std::string_view, 6> kTaxOrPay = {"ht",     "h.t.", "ttc",
                                                       "t.t.c.", "brut", "net"};
constexpr std::array<std::string_view, 5> kPer = {"le ", "la ", "par ", "l'", "l\xE2\x80\x99"};
constexpr std::array<std::string_view, 18> kUnits = {
    "kilo", "kg", "g",    "litre", "l",       "tonne", "t", "m\xC2\xB2",  "m2",
    "m",    "an", "mois", "jour",  "semaine", "heure", "h", "pi\u00E8ce", "unit\xC3\xA9",
};

constexpr std::array<double, 23> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

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
    bare,      // groups or comma, as bareAmountPoints tells from the amount
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

// The exponent of a number in the C form, capped far beyond any double so that an
// absurdly long one cannot overflow.
std::int64_t exponentOf(std::string_view plain) {
    constexpr std::int64_t kExponentCap = 1'000'000'000;
    const std::size_t e = plain.find('e');
    if (e == std::string_view::npos) {
        return 0;
    }
    std::string_view digits = plain.substr(e + 1);
    const bool negative = digits.starts_with('-');
    digits.remove_prefix(digits.starts_with('-') || digits.starts_with('+') ? 1 : 0);
    std::int64_t exponent = 0;
    for (const char c : digits) {
        exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
    }
    return negative ? -exponent : exponent;
}

// Whether a number in the C form, that from_chars found out of range, lies above the
// range rather than below it: from where its first non-zero digit stands and its
// exponent.
bool aboveRange(std::string_view plain) {
    const std::string_view mantissa = plain.substr(0, std::min(plain.find('e'), plain.size()));
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    const std::int64_t magnitude = first < point ? static_cast<std::int64_t>(point - first)
                                                 : -static_cast<std::int64_t>(first - point - 1);
    return magnitude + exponentOf(plain) > 0;
}

// The number in the C form times 10^power, written with its exponent moved.
std::string scaled(std::string_view plain, int power) {
    std::string moved(plain.substr(0, std::min(plain.find('e'), plain.size())));
    std::array<char, 24> exponent{};
    const auto [end, error] = std::to_chars(exponent.data(), exponent.data() + exponent.size(),
                                            exponentOf(plain) + power);
    assert(error == std::errc{});
    moved.push_back('e');
    moved.append(exponent.data(), end);
    return moved;
}

// The length of the character text starts with if it may stand in a word: a letter or
// a digit, or a character beyond ASCII but Latin-1's signs, × and ÷, and the blocks of
// punctuation, symbols and arrows from U+2000 to U+2BFF; otherwise 0.
std::size_t wordCharacterAt(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        return isAsciiLetter(text[0]) || isDigit(text[0]) ? 1 : 0;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || length > text.size() ||
        std::any_of(text.begin() + 1, text.begin() + static_cast<std::ptrdiff_t>(length),
                    [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; })) {
        return 0; // not UTF-8
    }
    const auto second = static_cast<unsigned char>(text[1]);
    const bool sign = lead == 0xC2 || (lead == 0xC3 && (second == 0x97 || second == 0xB7)) ||
                      (lead == 0xE2 && second < 0xB0);
    return sign ? 0 : length;
}

// The end of the part of text that starts at `stop`, as the user would name it: a word
// of letters and digits, or else one whole character.
std::size_t partEnd(std::string_view text, std::size_t stop) {
    std::size_t end = stop;
    while (end < text.size()) {
        const std::size_t length = wordCharacterAt(text.substr(end));
        if (length == 0) {
            break;
        }
        end += length;
    }
    if (end == stop && end < text.size()) {
        for (++end; end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80;
             ++end) {
        }
    }
    return end;
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
        about();
        if (points_ == PointRule::bare) {
            points_ = bareAmountPoints(rest()); // the point of "env." is none of the number's
        }
        markerBefore();
        if (!number()) {
            return refused();
        }
        if (at_ < text_.size()) { // the common case ends with the number
            if (currency_ == nullptr) {
                unit();
            }
            if (unitWritten_) {
                qualifiers();
            }
            if (at_ != text_.size()) {
                return refused();
            }
        }
        return value();
    }

    // Whether a currency or centimes were written: the points are then read as
    // documents write them.
    bool unitWritten() const { return unitWritten_; }

private:
    std::string_view rest() const { return text_.substr(at_); }

    // "≈ 15,24 €", "~15 €", "env. 15 €", "environ 15 €": an amount given as approximate.
    void about() {
        if (text_.empty() || isDigit(text_[0])) {
            return; // the common case, told at once
        }
        for (const std::string_view word : {"\xE2\x89\x88", "~", "env.", "environ "}) {
            if (const std::size_t length = wordAt(text_, word); length > 0) {
                at_ = length + spacesAt(text_.substr(length));
                return;
            }
        }
    }

    // A currency before the number: a space follows it, or the number's sign or digit.
    void markerBefore() {
        std::size_t end = 0;
        const Marker* marker = markerAt(rest(), end);
        if (marker == nullptr) {
            return;
        }
        const std::string_view text = rest();
        if (marker->abbreviation && text.substr(end).starts_with('.') &&
            innerSpaceAt(text.substr(end + 1)) > 0) {
            ++end;
        }
        const std::size_t space = spacesAt(text.substr(end));
        bool negative = false;
        const std::string_view next = text.substr(end + space);
        if (space == 0 && !(next.starts_with('+') || signAt(next, negative) > 0 ||
                            (!next.empty() && isDigit(next[0])))) {
            return; // not a marker here: the number finds the letters it cannot read
        }
        written(*marker);
        at_ += end + space;
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
            fractionDigits_ = digits();
        }
        if (digitCount_ == digitsBefore) {
            return false;
        }
        if (exponent()) {
            wholeOnly_ = false;
            exponentWritten_ = true;
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
            const std::size_t space = spacesAt(rest());
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
        case PointRule::bare:
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

    // What the number is counted in, after it.
    void unit() {
        if (loneE() || fusedScale() || scaleWord() || centimes()) {
            return;
        }
        markerAfter(wholeOnly_);
    }

    // "346,99e": an e for the euro sign, right after the number and ending the text.
    bool loneE() {
        if (at_ + 1 != text_.size() || text_[at_] != 'e') {
            return false;
        }
        ++at_;
        written(kMarkers[std::size(kMarkers) - 1]); // the euro sign's
        return true;
    }

    // "37 k€", "180 KF", "5 MF": thousands or millions of francs or euros.
    bool fusedScale() {
        const std::size_t space = spacesAt(rest());
        const std::string_view word = rest().substr(space);
        if (word.empty() || (word[0] != 'k' && word[0] != 'K' && word[0] != 'M')) {
            return false;
        }
        std::size_t length = 0;
        const Marker* marker = markerAt(word.substr(1), length);
        if (marker == nullptr || (marker->text != "f" && marker->text != "\xE2\x82\xAC")) {
            return false;
        }
        power_ += word[0] == 'M' ? kMillionPower : kThousandPower;
        at_ += space + 1 + length;
        written(*marker);
        return true;
    }

    // "600 millions d'euros", "5 mille francs", "2 millions": the number counts
    // thousands, millions or billions.
    bool scaleWord() {
        const std::size_t space = spacesAt(rest());
        if (space == 0) {
            return false;
        }
        for (const auto& [word, power] : kScales) {
            if (const std::size_t length = wordAt(rest().substr(space), word); length > 0) {
                at_ += space + length;
                power_ += power;
                if (power == kThousandPower || !ofCurrency()) {
                    markerAfter(false);
                }
                return true;
            }
        }
        return false;
    }

    // "60 centimes", "15 cent.", "66 centimes d'euros": hundredths of the currency.
    bool centimes() {
        const std::size_t space = spacesAt(rest());
        const std::size_t length = firstWordAt(rest().substr(space), kCentimes);
        if (length == 0) {
            return false;
        }
        at_ += space + length;
        power_ += kCentimePower;
        unitWritten_ = true;
        ofCurrency();
        return true;
    }

    // "de francs", "d'euros", "d'€", after a word that counts them.
    bool ofCurrency() {
        const std::size_t space = spacesAt(rest());
        const std::size_t of = space == 0 ? 0 : firstWordAt(rest().substr(space), kOf);
        std::size_t length = 0;
        const Marker* marker = of == 0 ? nullptr : markerAt(rest().substr(space + of), length);
        if (marker == nullptr) {
            return false;
        }
        at_ += space + of;
        markerWords(*marker, length);
        return true;
    }

    // A currency after the number; after whole francs, perhaps their centimes.
    bool markerAfter(bool centimesMayFollow) {
        const std::size_t space = spacesAt(rest());
        std::size_t length = 0;
        const Marker* marker = markerAt(rest().substr(space), length);
        if (marker == nullptr) {
            return false;
        }
        at_ += space;
        markerWords(*marker, length);
        if (marker->oldForm && centimesMayFollow) {
            oldCentimes();
        }
        return true;
    }

    // A marker after the number, with an abbreviation's point, or "français" after francs.
    void markerWords(const Marker& marker, std::size_t length) {
        at_ += length;
        written(marker);
        if (marker.abbreviation && rest().starts_with('.')) {
            ++at_;
        } else if (marker.text.ends_with("franc") || marker.text.ends_with("francs")) {
            at_ += wordAt(rest(), " fran\u00E7ais");
        }
    }

    // The old form's centimes: exactly two digits after whole francs, "1 fr 50", or
    // after a comma as tickets print them, "0f,10"; perhaps a centime word after them.
    // Two digits that begin a word or a number, "50x" or "50 000", are not centimes.
    bool oldCentimes() {
        std::size_t space = spacesAt(rest());
        if (space == 0 && rest().starts_with(',')) {
            space = 1;
        }
        const std::string_view centimes = rest().substr(space);
        if (centimes.size() < 2 || !isDigit(centimes[0]) || !isDigit(centimes[1])) {
            return false;
        }
        const std::string_view after = centimes.substr(2);
        const std::size_t before = spacesAt(after);
        const std::size_t word = firstWordAt(after.substr(before), kCentimes);
        if (word == 0 && !after.empty() &&
            (isDigit(after[0]) || continuesWord(after[0]) ||
             (before > 0 && before < after.size() && isDigit(after[before])))) {
            return false;
        }
        plain_.push_back('.');
        keep(centimes.substr(0, 2));
        fractionDigits_ = 2;
        at_ += space + 2 + (word > 0 ? before + word : 0);
        return true;
    }

    // What may follow an amount and its currency without changing it: "HT", "(TTC)",
    // "brut", "le kilo", "/m²", each once, then a footnote's stars.
    void qualifiers() {
        bool taxOrPay = false;
        bool perUnit = false;
        for (;;) {
            if (!taxOrPay && this->taxOrPay()) {
                taxOrPay = true;
            } else if (!perUnit && this->perUnit()) {
                perUnit = true;
            } else {
                break;
            }
        }
        const std::size_t space = spacesAt(rest());
        const std::size_t stars = rest().find_first_not_of('*', space);
        if (std::min(stars, rest().size()) > space) {
            at_ = stars == std::string_view::npos ? text_.size() : at_ + stars;
        }
    }

    // "HT", "H.T.", "TTC", "T.T.C.", "brut", "net", or one of them in parentheses.
    bool taxOrPay() {
        const std::size_t space = spacesAt(rest());
        std::string_view next = rest().substr(space);
        const std::size_t parenthesis = next.starts_with('(') ? 1 : 0;
        if (space == 0 && parenthesis == 0) {
            return false;
        }
        next.remove_prefix(parenthesis);
        const std::size_t length = firstWordAt(next, kTaxOrPay);
        if (length == 0 || (parenthesis == 1 && !next.substr(length).starts_with(')'))) {
            return false;
        }
        at_ += space + length + 2 * parenthesis;
        return true;
    }

    // "le kilo", "par mois", "l'heure", "/kg", "/ jour": a price for one unit.
    bool perUnit() {
        const std::size_t space = spacesAt(rest());
        const std::string_view next = rest().substr(space);
        std::size_t per = 0;
        if (next.starts_with('/')) {
            per = 1 + spacesAt(next.substr(1));
        } else if (space > 0) {
            per = firstWordAt(next, kPer);
        }
        const std::size_t length = per == 0 ? 0 : firstWordAt(next.substr(per), kUnits);
        if (length == 0) {
            return false;
        }
        at_ += space + per + length;
        return true;
    }

    // Reads digits into the plain form; returns how many.
    std::size_t digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && isDigit(text_[at_])) {
            ++at_;
        }
        keep(text_.substr(start, at_ - start));
        return at_ - start;
    }

    // Keeps digits in the plain form, and as a whole number while it may be exact.
    void keep(std::string_view digits) {
        plain_.append(digits);
        for (const char c : digits) {
            significand_ = significand_ * 10 + static_cast<std::uint64_t>(c - '0');
        }
        digitCount_ += digits.size();
    }

    void written(const Marker& marker) {
        currency_ = marker.currency;
        franc_ = marker.franc;
        unitWritten_ = true;
        if (marker.franc == FrancWord::ancien) {
            power_ += kCentimePower; // a hundred anciens francs are one franc
        }
    }

    ReadResult result(ReadStatus status) const {
        return {.status = status, .currency = currency_, .francWord = franc_};
    }

    ReadResult refused() const {
        // The stop is the first thing that does not read, past the spaces before it.
        ReadResult refusal = result(ReadStatus::notANumber);
        refusal.stop = at_ + spacesAt(rest());
        refusal.stopEnd = partEnd(text_, refusal.stop);
        return refusal;
    }

    // Too large and too small, decided once the whole number is read.
    ReadResult value() {
        if (std::optional<ReadResult> amount = exactAtOnce()) {
            return *amount;
        }
        if (power_ != 0) {
            plain_ = scaled(plain_, power_);
        }
        double value = 0.0;
        const char* end = plain_.data() + plain_.size();
        const auto [stop, error] = std::from_chars(plain_.data(), end, value);
        assert((error == std::errc{} && stop == end) || error == std::errc::result_out_of_range);
        if (error != std::errc{} && aboveRange(plain_)) {
            return result(ReadStatus::tooLarge);
        }
        ReadResult amount = result(ReadStatus::ok);
        amount.value = error == std::errc{} ? value : 0.0;
        amount.decimalPoint = decimalPoint_;
        amount.exact = exactDecimal(plain_);
        return amount;
    }

    // Most amounts have few digits and no exponent: their value is their digits as a
    // whole number, exact in a double, times or divided by a power of ten that is exact
    // too, which one operation rounds as from_chars would round their text.
    std::optional<ReadResult> exactAtOnce() const {
        constexpr std::size_t kExactDigits = 15; // below 2^53
        constexpr int kExactPower = 22;          // 10^22 is the last exact double
        const int power = power_ - static_cast<int>(fractionDigits_);
        if (exponentWritten_ || digitCount_ > kExactDigits || power > kExactPower ||
            power < -kExactPower) {
            return std::nullopt;
        }
        const auto whole = static_cast<double>(significand_);
        const double value = power >= 0 ? whole * kPowersOfTen[static_cast<std::size_t>(power)]
                                        : whole / kPowersOfTen[static_cast<std::size_t>(-power)];
        ReadResult amount = result(ReadStatus::ok);
        amount.value = plain_.starts_with('-') ? -value : value;
        amount.decimalPoint = decimalPoint_;
        Decimal exact{significand_, significand_ == 0 ? 0 : power, plain_.starts_with('-')};
        for (; exact.significand != 0 && exact.significand % 10 == 0; exact.significand /= 10) {
            ++exact.exponent;
        }
        amount.exact = exact;
        return amount;
    }

    std::string_view text_;
    PointRule points_;
    std::size_t at_ = 0;
    std::string plain_;
    const Currency* currency_ = nullptr;
    FrancWord franc_ = FrancWord::none;
    bool unitWritten_ = false;   // a currency or centimes
    int power_ = 0;              // of ten, that the written number is multiplied by
    std::size_t digitCount_ = 0; // in the mantissa and the exponent
    std::size_t fractionDigits_ = 0;
    std::uint64_t significand_ = 0; // the digits, while they are few enough to be exact
    bool exponentWritten_ = false;
    bool wholeOnly_ = true; // no decimal, no exponent: francs may be followed by centimes
    std::size_t decimalPoint_ = std::string_view::npos;
};

// Moves the offsets of a result read in a part of a text to the whole text.
ReadResult shifted(ReadResult result, std::size_t by) {
    for (std::size_t* offset : {&result.stop, &result.stopEnd, &result.decimalPoint}) {
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
        return {.status = ReadStatus::notANumber, .stop = text.size(), .stopEnd = text.size()};
    }
    const std::string_view amount =
        text.substr(first, text.find_last_not_of(kSurroundingSpace) - first + 1);
    // Points are read as documents write them next to a currency; an amount that turns
    // out to have none is read again by the bare amount's rule.
    Reader documents(amount, PointRule::documents);
    ReadResult result = documents.read();
    if (!documents.unitWritten() && amount.find('.') != std::string_view::npos) {
        Reader bare(amount, PointRule::bare);
        const ReadResult again = bare.read();
        if (!bare.unitWritten()) { // with a currency after all, the first reading holds
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
