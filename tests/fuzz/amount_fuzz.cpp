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
#include <string_view>

namespace {

using namespace korvalin;

// What a text is by the grammar documented in Amount.h, written independently of the
// reader: no amount, or an amount with no currency written, in francs or in euros.
enum class Written { noAmount, bare, francs, euros };

const std::string kInner = "( |\xC2\xA0|\xE2\x80\xAF|\xE2\x80\x89|\xE2\x80\x87)";
const std::string kSpaces = kInner + "+";
const std::string kGap = kInner + "*";

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A word as the grammar writes it: its ASCII letters in either case, a space for a run
// of spaces, and no letter after a final letter.
std::string word(std::string_view text) {
    std::string pattern;
    for (const char c : text) {
        if (c == ' ') {
            pattern += kSpaces;
        } else if (isLetter(c)) {
            pattern += {'[', c, static_cast<char>(c - 'a' + 'A'), ']'};
        } else if (c == '.') {
            pattern += "\\.";
        } else {
            pattern += c;
        }
    }
    if (isLetter(text.back())) {
        pattern += "(?![A-Za-z\xC3])";
    }
    return pattern;
}

std::string anyOf(std::initializer_list<std::string_view> words) {
    std::string pattern = "(";
    for (const std::string_view w : words) {
        pattern += (pattern.size() > 1 ? "|" : "") + word(w);
    }
    return pattern + ")";
}

Written written(const std::string& text) {
    static const std::string space = "[ \t\n\r]*", sign = "([+-]|\xE2\x88\x92)?",
                             exponent = "([eE][+-]?[0-9]+)?";
    static const std::string about =
        "((\xE2\x89\x88|~|" + word("env.") + ")" + kGap + "|" + word("environ") + kSpaces + ")?";
    // Beside a currency or centimes, a point followed by exactly three digits groups,
    // any other is the comma; spaces and points never group the same number.
    static const std::string three = "[0-9]{3}(?![0-9])";
    static const std::string whole =
        "([0-9]+|[0-9]{1,3}(" + kSpaces + three + ")+|[0-9]{1,3}(\\." + three + ")+)";
    static const std::string decimal = "(,|\\.(?!" + three + "))";
    static const std::string number =
        sign + "(" + whole + "(" + decimal + "[0-9]*)?|" + decimal + "[0-9]+)" + exponent;

    static const std::string abbreviation = anyOf({"frs", "fr", "f"});
    static const std::string francWord = anyOf({"francs", "franc"});
    static const std::string oldNewWord =
        anyOf({"anciens francs", "ancien franc", "nouveaux francs", "nouveau franc"});
    static const std::string otherFranc = anyOf({"ff", "frf", "af", "nf"});
    static const std::string francMarker =
        "(" + abbreviation + "|" + francWord + "|" + oldNewWord + "|" + otherFranc + ")";
    static const std::string euroMarker = "(\xE2\x82\xAC|" + anyOf({"euros", "euro", "eur"}) + ")";
    // A marker after the number: an abbreviation's point, "français" after francs.
    static const std::string francs = "(" + abbreviation + "\\.?|(" + francWord + "|" + oldNewWord +
                                      ")(" + kSpaces + word("fran\u00E7ais") + ")?|" + otherFranc +
                                      ")";
    static const std::string& euros = euroMarker;
    // Before the number, with a space or the number's sign or digit next.
    const auto before = [](const std::string& marker, const std::string& pointed) {
        return "(" + marker + "(" + kSpaces + "|(?=[-+0-9]|\xE2\x88\x92))|" + pointed + "\\." +
               kSpaces + ")";
    };
    static const std::string centime = anyOf({"centimes", "centime", "cents", "cent.", "c."});
    static const std::string of = "(" + word("de ") + "|d('|\xE2\x80\x99))";
    static const std::string millions = anyOf({"milliards", "milliard", "millions", "million"});
    static const std::string mille = word("mille");
    // What the number is counted in after it.
    const auto unit = [](const std::string& written, const std::string& fused) {
        return "(" + kGap + written + "|" + kGap + centime + kSpaces + of + written + "|" +
               kSpaces + "(" + millions + "(" + kGap + written + "|" + kSpaces + of + written +
               ")|" + mille + kGap + written + ")|" + kGap + "[kKM]" + fused + ")";
    };
    // Whole francs, then exactly two digits of centimes that end there.
    static const std::string oldForm = sign + whole + kGap + "(" + abbreviation + "\\.?|" +
                                       francWord + "(" + kSpaces + word("fran\u00E7ais") +
                                       ")?)(,|" + kGap + ")[0-9]{2}(" + kGap + centime +
                                       "|(?![0-9A-Za-z\xC3])(?!" + kSpaces + "[0-9]))";
    // What qualifies an amount and its currency: a tax or pay word, a price per unit,
    // each once in either order, then a footnote's stars.
    static const std::string taxWord = anyOf({"ht", "h.t.", "ttc", "t.t.c.", "brut", "net"});
    static const std::string tax = "(" + kSpaces + taxWord + "|" + kGap + "\\(" + taxWord + "\\))";
    static const std::string measure =
        anyOf({"kilo", "kg", "g", "litre", "l", "tonne", "t", "m\xC2\xB2", "m2", "m", "an", "mois",
               "jour", "semaine", "heure", "h", "pi\u00E8ce", "unit\xC3\xA9"});
    static const std::string perUnit = "(" + kGap + "/" + kGap + measure + "|" + kSpaces + "(" +
                                       anyOf({"le ", "la ", "par ", "l'", "l\xE2\x80\x99"}) + ")" +
                                       measure + ")";
    static const std::string qualifiers =
        "((" + tax + perUnit + "?|" + perUnit + tax + "?)?(" + kGap + "\\*+)?)";

    static const std::regex inFrancs(space + about + "(" + before(francMarker, abbreviation) +
                                     number + "|" + number + unit(francs, "[fF](?![A-Za-z\xC3])") +
                                     "|" + oldForm + ")" + qualifiers + space);
    static const std::regex inEuros(space + about + "(" + before(euroMarker, "(?!)") + number +
                                    "|" + number + unit(euros, "\xE2\x82\xAC") + "|" + number +
                                    "e(?=" + space + "$))" + qualifiers + space);
    // A bare amount: its points group when two or more group threes, or before a comma;
    // otherwise a point is the comma. Centimes alone are read as beside a currency.
    static const std::string pointAsComma =
        sign + "(([0-9]+|[0-9]{1,3}(" + kSpaces + three + ")+)([,.][0-9]*)?|[,.][0-9]+)" + exponent;
    static const std::string grouped = "(" + sign + "[0-9]{1,3}(\\.[0-9]{3}){2,}(,[0-9]*)?" +
                                       exponent + "|" + sign + "[0-9]{1,3}(\\.[0-9]{3})+,[0-9]*" +
                                       exponent + ")";
    static const std::regex bare(space + about + "((" + pointAsComma + "|" + grouped + ")(" +
                                 kSpaces + "(" + millions + "|" + mille + "))?|" + number + kGap +
                                 centime + qualifiers + ")" + space);
    if (std::regex_match(text, bare)) {
        return Written::bare;
    }
    if (std::regex_match(text, inFrancs)) {
        return Written::francs;
    }
    return std::regex_match(text, inEuros) ? Written::euros : Written::noAmount;
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
