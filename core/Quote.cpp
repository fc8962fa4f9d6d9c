// SPDX-License-Identifier: GPL-3.0-or-later
#include "Quote.h"

namespace korvalin {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The next character of `text` from `at`, which it moves past it; a byte that does not
// begin a well-formed UTF-8 sequence (overlong, a surrogate, beyond U+10FFFF, cut
// short) is one U+FFFD.
char32_t nextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0Fu, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07u, smallest = 0x10000;
    } else {
        return kReplacement;
    }
    std::size_t next = at;
    for (int i = 1; i < length; ++i, ++next) {
        if (next >= text.size() || (static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) {
            return kReplacement;
        }
        c = (c << 6) | (static_cast<unsigned char>(text[next]) & 0x3Fu);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kReplacement;
    }
    at = next;
    return c;
}

// Characters that draw nothing or move text: the format characters and the other
// default-ignorable code points of Unicode 15 (direction marks, embeddings and
// isolates, zero-width spaces and joiners, the soft hyphen, the byte order mark, the
// Hangul fillers, variation selectors, tags…), and the C1 controls (CSI, OSC… for some
// terminals), which have no picture.
bool drawsNothing(char32_t c) {
    constexpr struct {
        char32_t first, last;
    } kRanges[] = {
        {0x0080, 0x009F},   {0x00AD, 0x00AD},   {0x034F, 0x034F},   {0x0600, 0x0605},
        {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},
        {0x08E2, 0x08E2},   {0x115F, 0x1160},   {0x17B4, 0x17B5},   {0x180B, 0x180F},
        {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x206F},   {0x3164, 0x3164},
        {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},   {0xFFF0, 0xFFFB},
        {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3},
        {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
    };
    for (const auto& range : kRanges) {
        if (c <= range.last) {
            return c >= range.first;
        }
    }
    return false;
}

char32_t shownAs(char32_t c) {
    if (c < 0x20) {
        return 0x2400 + c; // ␀ ␉ ␊ ␛ …
    }
    if (c == 0x7F) {
        return 0x2421; // ␡
    }
    if (c == 0x85 || c == 0x2028 || c == 0x2029) {
        return 0x2424; // ␤: the next-line control, the line and paragraph separators
    }
    return drawsNothing(c) ? kReplacement : c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The first `characters` characters of text from `at` as a quote shows them; `at` is
// left past them.
std::string shownFrom(std::string_view text, std::size_t characters, std::size_t& at) {
    std::string shown;
    for (std::size_t count = 0; at < text.size() && count < characters; ++count) {
        appendUtf8(shown, shownAs(nextCharacter(text, at)));
    }
    return shown;
}

} // namespace

std::string shownInQuote(std::string_view text, std::size_t characters) {
    std::size_t at = 0;
    return shownFrom(text, characters, at);
}

std::string quoted(std::string_view text, Quote quote) {
    return "«\u00A0" + quote(text) + "\u00A0»";
}

std::string quoteText(std::string_view text) {
    std::size_t at = 0;
    std::string quote = shownFrom(text, kQuotedCharacters, at);
    if (at < text.size()) {
        quote += "…";
    }
    return quote;
}

} // namespace korvalin
