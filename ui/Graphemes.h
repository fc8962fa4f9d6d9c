// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextBoundaryFinder>

// Qt 6.4's boundary finder, after a Thai, Khmer, Myanmar or Tibetan letter, may put
// a boundary between the two halves of a character beyond U+FFFF: no text is cut there.
inline bool splitsCharacter(const QString& text, qsizetype at) {
    return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() &&
           text[at].isLowSurrogate();
}

// The finder's next boundary that cuts no character, or -1.
inline qsizetype nextBoundary(QTextBoundaryFinder& finder) {
    const QString text = finder.string();
    qsizetype at = finder.toNextBoundary();
    while (splitsCharacter(text, at)) {
        at = finder.toNextBoundary();
    }
    return at;
}
