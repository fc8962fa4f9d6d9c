// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailureMessage.h"

#include "Graphemes.h"

#include <QLocale>
#include <algorithm>

namespace {

constexpr QChar kFirstStrongIsolate(0x2068);
constexpr QChar kPopDirectionalIsolate(0x2069);

// Characters that draw nothing, or nothing that tells them apart: C1 controls, format
// characters (direction marks and controls, zero-width spaces and joiners, the soft
// hyphen, tags…), the Hangul fillers, the grapheme joiner and the variation selectors.
bool drawsNothing(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || QChar::category(c) == QChar::Other_Format || c == 0x034F ||
           c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0 ||
           (c >= 0x180B && c <= 0x180F) || (c >= 0xFE00 && c <= 0xFE0F) ||
           (c >= 0xE0100 && c <= 0xE01EF);
}

// How a character is shown inside the quote: a control by its Control Picture, and a
// character that draws nothing by U+FFFD, so that a refused amount hides nothing and
// its direction controls cannot turn the sentence around.
char32_t shownAs(char32_t c) {
    if (c < 0x20) {
        return 0x2400 + c; // the Control Pictures: ␀ ␉ ␊ …
    }
    if (c == 0x7F) {
        return 0x2421; // ␡
    }
    if (c == 0x2028 || c == 0x2029) {
        return 0x2424; // ␤, for the line and paragraph separators
    }
    return drawsNothing(c) ? char32_t(QChar::ReplacementCharacter) : c;
}

QString quoted(const QString& amount) {
    // The beginning of the amount as it is shown, two units longer than the quote may
    // be, so that the character after its last boundary is there whole and that
    // boundary is a real one.
    const QString start = shownInQuote(amount, kQuotedUnits + 2);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, start);
    qsizetype end = 0;
    for (int count = 0; count < korvalin::kQuotedCharacters; ++count) {
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
    return kFirstStrongIsolate + quote + kPopDirectionalIsolate;
}

} // namespace

QString shownInQuote(const QString& text, qsizetype units) {
    QString shown;
    shown.reserve(std::min(text.size(), units) + 1);
    for (qsizetype i = 0; i < text.size() && shown.size() < units; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        shown += QChar::fromUcs4(shownAs(c));
    }
    return shown;
}

QString failureMessage(const korvalin::ConversionError& error, const std::string& amount) {
    return QString::fromStdString(korvalin::failureText(error, amount, [](std::string_view text) {
        return quoted(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())))
            .toStdString();
    }));
}

QString tooLongMessage(int limit, Insertion way) {
    const char* const notDone[] = {"collé", "déposé", "saisi"}; // in the order of Insertion
    return QStringLiteral("Ce texte est trop long pour l'affichage, qui contient au plus ") +
           QLocale(QLocale::French).toString(limit) + QStringLiteral(" caractères. Rien n'a été ") +
           QString::fromUtf8(notDone[static_cast<int>(way)]) + u'.';
}
