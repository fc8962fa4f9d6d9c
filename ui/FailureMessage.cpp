// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailureMessage.h"

#include "Graphemes.h"
#include "Quote.h"

#include <QLocale>
#include <algorithm>

namespace {

constexpr QChar kFirstStrongIsolate(0x2068);
constexpr QChar kPopDirectionalIsolate(0x2069);

} // namespace

std::string windowQuote(std::string_view amount) {
    // The beginning of the amount as it is shown, two characters longer than the quote
    // may be, so that the character after its last boundary is there whole and that
    // boundary is a real one.
    const QString start =
        QString::fromStdString(korvalin::shownInQuote(amount, std::size_t{kQuotedUnits} + 2));
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, start);
    qsizetype end = 0;
    for (std::size_t count = 0; count < korvalin::kQuotedCharacters; ++count) {
        const qsizetype next = nextBoundary(graphemes);
        if (next < 0 || next > kQuotedUnits) {
            break;
        }
        end = next;
    }
    QString quote = start.left(end);
    if (end < start.size()) {
        quote += QChar(0x2026); // …
    }
    return (kFirstStrongIsolate + quote + kPopDirectionalIsolate).toStdString();
}

QString failureMessage(const korvalin::Refusal& refusal, const std::string& amount) {
    return QString::fromStdString(
        korvalin::failureText(refusal, amount, windowQuote, korvalin::Audience::window));
}

QString tooLongMessage(int limit, Insertion way) {
    const char* const notDone[] = {"collé", "déposé", "saisi"}; // in the order of Insertion
    return QStringLiteral("Ce texte est trop long pour l'affichage, qui contient au plus ") +
           QLocale(QLocale::French).toString(limit) + QStringLiteral(" caractères. Rien n'a été ") +
           QString::fromUtf8(notDone[static_cast<int>(way)]) + u'.';
}
