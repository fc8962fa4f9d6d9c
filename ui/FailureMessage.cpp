// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailureMessage.h"

#include <QTextBoundaryFinder>

namespace {

constexpr QChar kFirstStrongIsolate(0x2068);
constexpr QChar kPopDirectionalIsolate(0x2069);

bool isBidiControl(char16_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// How a control character is shown inside the quote; null when it is dropped.
QChar shownAs(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x20) {
        return {char16_t(0x2400 + u)}; // the Control Pictures: ␀ ␉ ␊ …
    }
    if (u == 0x7F) {
        return {char16_t(0x2421)}; // ␡
    }
    if (u >= 0x80 && u <= 0x9F) {
        return QChar::ReplacementCharacter;
    }
    if (u == 0x2028 || u == 0x2029) {
        return {char16_t(0x2424)}; // ␤, for the line and paragraph separators
    }
    if (isBidiControl(u)) {
        return {};
    }
    return c;
}

QString quoted(const QString& amount) {
    // The beginning of the amount with its controls made harmless, two units longer
    // than the quote may be, so that the character after its last boundary is there
    // whole and that boundary is a real one.
    QString start;
    start.reserve(kQuotedUnits + 2);
    for (qsizetype i = 0; i < amount.size() && start.size() < kQuotedUnits + 2; ++i) {
        if (const QChar c = shownAs(amount[i]); !c.isNull()) {
            start.append(c);
        }
    }
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, start);
    qsizetype end = 0;
    for (int count = 0; count < kQuotedGraphemes; ++count) {
        const qsizetype next = graphemes.toNextBoundary();
        if (next < 0 || next > kQuotedUnits) {
            break;
        }
        end = next;
    }
    QString quote = start.left(end);
    if (end < start.size()) {
        quote += QChar(0x2026); // …
    }
    return kFirstStrongIsolate + quote + kPopDirectionalIsolate;
}

} // namespace

QString failureMessage(const korvalin::ConversionError& error) {
    if (error.kind() == korvalin::ConversionError::Kind::overflow) {
        return QStringLiteral("Ce montant est trop grand pour être converti.");
    }
    return QStringLiteral("«\u00A0") + quoted(QString::fromStdString(error.amountText())) +
           QStringLiteral("\u00A0» n'est pas un montant. Tapez des chiffres, avec au plus une "
                          "virgule.");
}
