// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvalin::cli {

// A piece of what was read, as a terminal may show it inside a message: at most
// kQuotedCharacters characters, "…" when cut, every control shown by its Control
// Picture and every byte that is not UTF-8, or character that draws nothing, by U+FFFD.
// Nothing in it is an escape sequence or turns the line's direction around.
std::string terminalQuote(std::string_view text);

} // namespace korvalin::cli
