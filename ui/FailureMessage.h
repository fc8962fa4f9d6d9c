// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FailureText.h"
#include "Refusal.h"

#include <QString>
#include <string>

// What the user reads when a conversion fails: plain text, never markup. The amount
// is quoted by its first korvalin::kQuotedCharacters characters as the user sees them,
// shown as korvalin::shownInQuote shows them, cut only between them and marked "…"
// when cut, and the whole quote isolated (U+2068 … U+2069) so that its text direction
// cannot turn the sentence around.
QString failureMessage(const korvalin::Refusal& refusal, const std::string& amount);

// The quote of that message, for any sentence of the window that quotes the user: the
// text as korvalin::shownInQuote shows it, cut between graphemes, isolated.
std::string windowQuote(std::string_view amount);

// A bound in UTF-16 units as well, so that one character carrying a pile of combining
// marks cannot make the quote long or tall: such a character is left out whole.
inline constexpr int kQuotedUnits = 80;

// How a text was to come into the display: entry is an input method's or a screen reader's.
enum class Insertion { paste, drop, entry };
// Why a text was refused: the display holds at most `limit` characters.
QString tooLongMessage(int limit, Insertion way);
