// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvalin {

// How much of what the user wrote a sentence quotes, in characters.
inline constexpr std::size_t kQuotedCharacters = 40;

// The first `characters` characters of UTF-8 text as a quote shows them, in UTF-8:
// controls and line separators by their pictures (␀ ␉ ␊ ␛ ␡ ␤…), every character that
// draws nothing or moves text (format characters and the other default-ignorables,
// the Hangul fillers, C1 controls, direction controls) by U+FFFD, and so is a byte
// that does not begin well-formed UTF-8. What the user wrote then hides nothing and
// can neither steer a terminal nor turn a sentence around.
std::string shownInQuote(std::string_view text, std::size_t characters);

// A quote for a terminal: the first kQuotedCharacters characters shown as above, with
// "…" when cut.
std::string quoteText(std::string_view text);

// How a front end shows a piece of what the user wrote inside a sentence, in UTF-8:
// at most kQuotedCharacters characters, marked "…" when cut, with nothing in it that
// its screen would take for markup or a control (quoteText, for a terminal).
using Quote = std::string (*)(std::string_view text);

// The text quoted as a sentence quotes it, between French quotation marks: « 12 F ».
std::string quoted(std::string_view text, Quote quote);

} // namespace korvalin
