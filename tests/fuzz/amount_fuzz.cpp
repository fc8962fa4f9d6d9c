// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes what the user types or pastes, through two entries:
// - the amount reader through both conversion keys: whatever the text, a conversion
//   either writes a result that reads back to itself or fails the way the grammar says
//   it must, and an amount written in the key's own currency never converts;
// - the failure message that quotes the text: it quotes it literally, bounded, cut only
//   between graphemes, isolated by exactly one pair of isolates, and hiding nothing:
//   every control or invisible character is shown by a stand-in.
#include "Amount.h"
#include "FailureMessage.h"
#include "Korvalin.h"
#include "Quote.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

namespace {

using namespace korvalin;

// What a text is by the grammar documented in Amount.h, written independently of the
// reader: no amount, or an amount with no currency written, in francs or in euros.
enum class Written { noAmount, bare, francs, euros };

Written written(const std::string& text) {
    static const std::string space = "[ \t\n\r]*",
                             inner = "( |\xC2\xA0|\xE2\x80\xAF|\xE2\x80\x89|\xE2\x80\x87)",
                             sign = "([+-]|\xE2\x88\x92)?", exponent = "([eE][+-]?[0-9]+)?";
    // Beside a currency, a point followed by exactly three digits groups, any other is
    // the comma; spaces and points never group the same number.
    static const std::string three = "[0-9]{3}(?![0-9])";
    static const std::string whole =
        "([0-9]+|[0-9]{1,3}(" + inner + "[0-9]{3})+|[0-9]{1,3}(\\." + three + ")+)";
    static const std::string decimal = "(,|\\.(?!" + three + "))";
    static const std::string number =
        sign + "(" + whole + "(" + decimal + "[0-9]*)?|" + decimal + "[0-9]+)" + exponent;
    // A marker after the number, or before it with a space or the number's sign or digit next.
    const auto with = [](const std::string& marker) {
        return number + inner + "?(" + marker + ")|(" + marker + ")(" + inner +
               "|(?=[-+0-9]|\xE2\x88\x92))" + number;
    };
    // An abbreviation's point, and the old form.
    static const std::regex francs(space + "(" + with("f|fr|frs|ff|francs?|frf") + "|" + number +
                                       inner + "?(f|fr|frs)\\.|(f|fr|frs)\\." + inner + number +
                                       "|" + sign + whole + inner + "?f" + inner + "?[0-9]{2})" +
                                       space,
                                   std::regex::icase);
    static const std::regex euros(space + "(" + with("\xE2\x82\xAC|eur|euros?") + ")" + space,
                                  std::regex::icase);
    // A bare amount: its points group when two or more group threes, or before a comma;
    // otherwise a point is the comma.
    static const std::regex bare(space + sign + "(([0-9]+|[0-9]{1,3}(" + inner +
                                 "[0-9]{3})+)(,[0-9]*)?|,[0-9]+)" + exponent + space);
    static const std::regex grouped(space + sign + "[0-9]{1,3}(\\.[0-9]{3}){2,}(,[0-9]*)?" +
                                    exponent + space + "|" + space + sign +
                                    "[0-9]{1,3}(\\.[0-9]{3})+,[0-9]*" + exponent + space);
    std::string pointAsComma = text;
    std::replace(pointAsComma.begin(), pointAsComma.end(), '.', ',');
    if (std::regex_match(text, grouped) || std::regex_match(pointAsComma, bare)) {
        return Written::bare;
    }
    if (std::regex_match(text, francs)) {
        return Written::francs;
    }
    return std::regex_match(text, euros) ? Written::euros : Written::noAmount;
}

[[noreturn]] void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s: \"%s\"\n", what, text.c_str());
    std::abort();
}

void check(const std::string& typed, KeyId key) {
    const std::string& amount = typed;
    const Written is = written(amount);
    // What the key converts to: an amount written in it never converts.
    const Written contradicting = key == KeyId::euros ? Written::euros : Written::francs;

    Korvalin korvalin;
    korvalin.editEcran(typed);
    if (const std::optional<Refusal> refusal = korvalin.press(key).refusal) {
        using Reason = Refusal::Reason;
        if (refusal->reason == Reason::notANumber && is != Written::noAmount) {
            fail("an amount did not read", amount);
        }
        if (refusal->reason == Reason::otherCurrency && is != contradicting) {
            fail("an amount was refused for a currency it does not have", amount);
        }
        if (refusal->reason == Reason::overflow &&
            (is == Written::noAmount || is == contradicting)) {
            fail("a text that is no amount for this key overflowed", amount);
        }
        return;
    }
    if (typed.empty()) {
        if (!(korvalin.display() == Display{})) {
            fail("an empty display converted", typed);
        }
        return;
    }
    if (is == Written::noAmount) {
        fail("a text that is no amount converted", amount);
    }
    if (is == contradicting) {
        fail("an amount in the key's own currency converted", amount);
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

// What the message must not let through: controls, line and paragraph separators,
// and format characters, which draw nothing or turn the text around.
bool isHidden(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

bool isStandIn(char32_t c) {
    return (c >= 0x2400 && c <= 0x2424) || c == QChar::ReplacementCharacter;
}

// Whether the quote is the start of the typed text, character for character: each
// hidden character by a stand-in, anything else by itself or by U+FFFD.
bool isStartOf(const std::u32string& quote, const std::u32string& typed) {
    if (quote.size() > typed.size()) {
        return false;
    }
    for (std::size_t i = 0; i < quote.size(); ++i) {
        const bool shownAsItself = quote[i] == typed[i] && !isHidden(typed[i]);
        const bool standsIn =
            isStandIn(quote[i]) && (isHidden(typed[i]) || quote[i] == QChar::ReplacementCharacter);
        if (!shownAsItself && !standsIn) {
            return false;
        }
    }
    return true;
}

void checkMessage(const std::string& bytes) {
    // The window's text is always well-formed: it comes from Qt's strings.
    const std::string typed = QString::fromStdString(bytes).toStdString();
    // The part that did not read is quoted the same way, and bounded the same way.
    const QString named =
        failureMessage(Refusal{Refusal::Reason::notANumber, readAmount(typed).stop}, typed);
    if (named.size() > 2 * kQuotedUnits + 200) {
        fail("the message is too long", typed);
    }
    const QString message = failureMessage(Refusal{Refusal::Reason::notANumber}, typed);
    const QString before = QStringLiteral("«\u00A0\u2068");
    const QString after = QStringLiteral("\u2069\u00A0» ");
    const qsizetype end = message.indexOf(after);
    if (!message.startsWith(before) || end < 0) {
        fail("the message does not frame its quote", typed);
    }
    QString quote = message.mid(before.size(), end - before.size());
    if (quote.size() > kQuotedUnits + 1) {
        fail("the quote is too long", typed);
    }
    const std::u32string shown = message.toStdU32String();
    if (std::count_if(shown.begin(), shown.end(), isHidden) != 2 ||
        message.count(QChar(0x2068)) != 1 || message.count(QChar(0x2069)) != 1) {
        fail("the message hides a character, or its quote is not isolated by one pair", typed);
    }

    // The quote is the whole text, or its beginning followed by an ellipsis.
    const QString text = QString::fromStdString(typed);
    const std::u32string characters = text.toStdU32String();
    std::u32string quoted = quote.toStdU32String();
    if (quoted.size() != characters.size() || !isStartOf(quoted, characters)) {
        if (!quote.endsWith(QChar(0x2026))) {
            fail("a text was cut without an ellipsis", typed);
        }
        quote.chop(1);
        quoted.pop_back();
        if (!isStartOf(quoted, characters)) {
            fail("the quote is not the text as typed", typed);
        }
    }
    // The quote is cut between two characters as they are shown.
    const QString shownText = QString::fromStdString(shownInQuote(typed, typed.size()));
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, shownText);
    graphemes.setPosition(quote.size());
    if (quote.size() > 0 && quote.size() < shownText.size() && !graphemes.isAtBoundary()) {
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
