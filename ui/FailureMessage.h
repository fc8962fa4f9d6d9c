// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConversionError.h"

#include <QString>

// What the user reads when a conversion fails: plain text, never markup. The amount
// is quoted by its first kQuotedGraphemes characters as the user sees them, cut only
// between them and marked "…" when cut, with control characters shown by their
// symbols, bidirectional controls dropped, and the whole quote isolated (U+2068 …
// U+2069) so that its text direction cannot turn the sentence around.
QString failureMessage(const korvalin::ConversionError& error);

inline constexpr int kQuotedGraphemes = 40;
// A bound in UTF-16 units as well, so that one character carrying a pile of combining
// marks cannot make the quote long or tall: such a character is left out whole.
inline constexpr int kQuotedUnits = 80;
