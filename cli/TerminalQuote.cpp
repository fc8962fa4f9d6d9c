// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminalQuote.h"

#include "FailureText.h"

#include <cstdint>

namespace korvalin::cli {
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

// Format characters and the like, which draw nothing: direction marks, embeddings and
// isolates, zero-width spaces and joiners, the soft hyphen, the byte order mark, tags,
// variation selectors.
bool drawsNothing(char32_t c) {
    return c == 0x00AD || c == 0x034F || c == 0x061C || c == 0x180E ||
           (c >= 0x180B && c <= 0x180F) || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF ||
           (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFFF9 && c <= 0xFFFB) ||
           (c >= 0xE0000 && c <= 0xE007F) || (c >= 0xE0100 && c <= 0xE01EF);
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
    // The other C1 controls (CSI, OSC… for some terminals) have no picture.
    if ((c >= 0x80 && c <= 0x9F) || drawsNothing(c)) {
        return kReplacement;
    }
    return c;
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

} // namespace

std::string terminalQuote(std::string_view text) {
    std::string quote;
    std::size_t at = 0;
    for (int count = 0; at < text.size(); ++count) {
        if (count == kQuotedCharacters) {
            quote += "…";
            break;
        }
        appendUtf8(quote, shownAs(nextCharacter(text, at)));
    }
    return quote;
}

} // namespace korvalin::cli
