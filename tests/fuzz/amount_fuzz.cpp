// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes what the user types or pastes, through two entries:
// - the amount reader through both conversion keys: whatever the text, a conversion
//   either writes a result that reads back to itself or fails the way the grammar says
//   it must;
// - the failure message that quotes the text: it quotes it literally, bounded, cut only
//   between graphemes, isolated by exactly one pair of isolates, and without a control
//   character.
#include "Amount.h"
#include "FailureMessage.h"
#include "Korvalin.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

namespace {

using namespace korvalin;

// The grammar documented in Amount.h, written independently of the reader.
bool isAmount(const std::string& text) {
    static const std::regex grammar("[ \t\n\r]*[+-]?"
                                    "(([0-9]+|[0-9]{1,3}(( |\xC2\xA0|\xE2\x80\xAF)[0-9]{3})+)"
                                    "(,[0-9]*)?|,[0-9]+)"
                                    "([eE][+-]?[0-9]+)?[ \t\n\r]*");
    return std::regex_match(text, grammar);
}

[[noreturn]] void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s: \"%s\"\n", what, text.c_str());
    std::abort();
}

void check(const std::string& typed, KeyId key) {
    std::string amount = typed;
    std::replace(amount.begin(), amount.end(), '.', ',');

    Korvalin korvalin;
    korvalin.editEcran(typed);
    try {
        korvalin.press(key);
    } catch (const ConversionError& error) {
        if (error.kind() == ConversionError::Kind::notANumber && isAmount(amount)) {
            fail("an amount did not read", amount);
        }
        if (error.kind() == ConversionError::Kind::overflow && !isAmount(amount)) {
            fail("a text that is no amount overflowed", amount);
        }
        return;
    }
    if (typed.empty()) {
        if (!(korvalin.display() == Display{})) {
            fail("an empty display converted", typed);
        }
        return;
    }
    if (!isAmount(amount)) {
        fail("a text that is no amount converted", amount);
    }
    const std::string& result = korvalin.display().ecran;
    if (result.find_first_of(".naif") != std::string::npos) {
        fail("a result is not in the French form", result);
    }
    const ReadResult back = readAmount(result);
    if (back.status != ReadStatus::ok || writeAmount(back.value) != result) {
        fail("a result does not read back to itself", result);
    }
}

// The text as the message may show it: control characters by a symbol, bidirectional
// controls left out.
QString harmless(const QString& text) {
    QString shown;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
            (u >= 0x2066 && u <= 0x2069)) {
            continue;
        }
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph) {
            shown.append(QChar(u'\u2400')); // a stand-in: only the place matters here
        } else {
            shown.append(c);
        }
    }
    return shown;
}

bool isStandIn(QChar c) {
    return (c >= QChar(0x2400) && c <= QChar(0x2424)) || c == QChar::ReplacementCharacter;
}

void checkMessage(const std::string& typed) {
    const QString message =
        failureMessage(ConversionError(ConversionError::Kind::notANumber, typed));
    const QString before = QStringLiteral("«\u00A0\u2068");
    const QString after = QStringLiteral("\u2069\u00A0» n'est pas un montant.");
    const qsizetype end = message.indexOf(after);
    if (!message.startsWith(before) || end < 0) {
        fail("the message does not frame its quote", typed);
    }
    QString quote = message.mid(before.size(), end - before.size());
    if (quote.size() > kQuotedUnits + 1) {
        fail("the quote is too long", typed);
    }
    for (const QChar c : message) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph) {
            fail("the message holds a control character", typed);
        }
    }
    if (message.count(QChar(0x2068)) != 1 || message.count(QChar(0x2069)) != 1) {
        fail("the quote is not isolated by exactly one pair", typed);
    }

    // The quote is the whole text, or its beginning followed by an ellipsis.
    const QString shown = harmless(QString::fromStdString(typed));
    const auto isStartOfShown = [&shown](const QString& part) {
        if (part.size() > shown.size()) {
            return false;
        }
        for (qsizetype i = 0; i < part.size(); ++i) {
            if (part[i] != shown[i] && !(isStandIn(part[i]) && isStandIn(shown[i]))) {
                return false;
            }
        }
        return true;
    };
    if (quote.size() != shown.size() || !isStartOfShown(quote)) {
        if (!quote.endsWith(QChar(0x2026))) {
            fail("a text was cut without an ellipsis", typed);
        }
        quote.chop(1);
        if (!isStartOfShown(quote)) {
            fail("the quote is not the text as typed", typed);
        }
    }
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, shown);
    graphemes.setPosition(quote.size());
    if (quote.size() > 0 && quote.size() < shown.size() && !graphemes.isAtBoundary()) {
        fail("the quote cuts a grapheme", typed);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    check(text, KeyId::euros);
    check(text, KeyId::francs);
    checkMessage(text);
    return 0;
}
