// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailureText.h"
#include "Quote.h"

#include <gtest/gtest.h>

namespace korvalin {
namespace {

struct QuoteCase {
    const char* text;
    const char* quote;
};

// What untrusted text looks like inside a sentence, in either front end.
const QuoteCase kQuoteCases[] = {
    {"15,24 €", "15,24 €"},
    {"1\x1B[2J\t\n\r\x7F", "1␛[2J␉␊␍␡"},                          // controls by their pictures
    {"1\u00852\u20283\u2029", "1␤2␤3␤"},                          // next line and the separators
    {"\u009B31m\u0080", "\uFFFD31m\uFFFD"},                       // the other C1 controls
    {"12\u3164\u115F\u1160\uFFA0", "12\uFFFD\uFFFD\uFFFD\uFFFD"}, // the Hangul fillers
    {"\u200E1\u200B\u00AD\uFEFF\u061C",
     "\uFFFD1\uFFFD\uFFFD\uFFFD\uFFFD"},                    // zero-width, soft hyphen, BOM, marks
    {"a\uFE0F\U000E0041\U000E0100", "a\uFFFD\uFFFD\uFFFD"}, // variation selectors, tags
    {"\xFF\xC3(\xE2\x82", "\uFFFD\uFFFD(\uFFFD\uFFFD"},     // not UTF-8
    {"\xED\xA0\x80\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"0123456789012345678901234567890123456789", "0123456789012345678901234567890123456789"},
    {"0123456789012345678901234567890123456789€", "0123456789012345678901234567890123456789…"},
};

TEST(QuoteTest, ShowsEveryCharacterAndHidesNothing) {
    for (const QuoteCase& c : kQuoteCases) {
        EXPECT_EQ(quoteText(c.text), c.quote) << c.text;
    }
}

struct SentenceCase {
    Refusal refusal;
    const char* amount;
    Audience audience;
    const char* sentence;
};

using enum Refusal::Reason;
using enum Audience;

const SentenceCase kSentenceCases[] = {
    {{notANumber, 2},
     "1,,2",
     window,
     "«\u00A01,,2\u00A0» n'est pas un montant. Tapez des chiffres, avec au plus une virgule."},
    {{notANumber, 8},
     "1 500 F TTC",
     terminal,
     "«\u00A01 500 F TTC\u00A0» n'est pas un montant\u00A0: «\u00A0TTC\u00A0» n'est pas compris."},
    {{notANumber, 2},
     "12\u3164",
     terminal,
     "«\u00A012\uFFFD\u00A0» n'est pas un montant\u00A0: «\u00A0\uFFFD\u00A0» n'est pas compris."},
    {{notANumber, 1},
     "1\n2\n",
     window,
     "«\u00A01␊2␊\u00A0» tient sur plusieurs lignes\u00A0: collez un seul montant à la fois."},
    {{notANumber, 1},
     "F",
     window,
     "«\u00A0F\u00A0» n'est pas un montant\u00A0: il n'y a aucun chiffre."},
    {{overflow}, "1E+400", terminal, "Ce montant est trop grand pour être converti."},
    {{otherCurrency, {}, ConversionDirection::toFrancs},
     "15,24 €",
     window,
     "«\u00A015,24 €\u00A0» est un montant en euros\u00A0: appuyez sur Francs pour le convertir en "
     "francs."},
    {{otherCurrency, {}, ConversionDirection::toFrancs},
     "15,24 €",
     terminal,
     "«\u00A015,24 €\u00A0» est un montant en euros\u00A0: utilisez -f (--francs) pour le "
     "convertir en "
     "francs."},
    {{otherCurrency, {}, ConversionDirection::toEuros},
     "100 F",
     terminal,
     "«\u00A0100 F\u00A0» est un montant en francs\u00A0: utilisez -e (--euros) pour le convertir "
     "en euros."},
};

TEST(FailureTextTest, SaysWhatWentWrongInTheReadersWords) {
    for (const SentenceCase& c : kSentenceCases) {
        EXPECT_EQ(failureText(c.refusal, c.amount, quoteText, c.audience), c.sentence) << c.amount;
    }
}

} // namespace
} // namespace korvalin
