// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"
#include "Decimal.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvalin {

// Amount text in the French number format, the comma being the decimal separator,
// read and written the same way whatever the process locale.
//
// Accepted grammar (UTF-8), the words in any letter case but k, K and M:
//   amount   := space* about? (before number | number unit?) qualifiers space*
//   about    := ('≈' | '~' | 'env.') gap | 'environ' spaces
//   number   := sign? mantissa exponent?
//   space    := ' ' | TAB | LF | CR
//   sign     := '+' | '-' | U+2212 minus sign
//   mantissa := whole | whole decimal digit* | decimal digit+
//   whole    := digit+ | digit digit? digit? (spaces digit digit digit)+
//             | digit digit? digit? ('.' digit digit digit)+          (points that group)
//   decimal  := ',' | '.'                                             (a point that does not group)
//   inner-space := ' ' | U+00A0 no-break space | U+202F narrow no-break space
//                | U+2009 thin space | U+2007 figure space
//   spaces   := inner-space+
//   gap      := inner-space*
//   exponent := ('E' | 'e') sign? digit+
//   before   := marker spaces | abbreviation '.' spaces
//             | marker                  (when the number starts with a sign or a digit)
//   unit     := gap written old-centimes?        (old-centimes after whole francs only)
//             | gap centime (spaces of written)?
//             | spaces scale (gap written | spaces of written)?   (no 'of' after 'mille')
//             | gap ('k' | 'K' | 'M') ('F' | '€')
//             | 'e'                     (ending the text: "346,99e")
//   written  := marker | abbreviation '.' | franc-word spaces 'français'
//   marker   := abbreviation | 'FF' | 'FRF' | franc-word                 (francs)
//             | 'AF' | 'ancien' spaces 'franc' | 'anciens' spaces 'francs'
//             | 'NF' | 'nouveau' spaces 'franc' | 'nouveaux' spaces 'francs'
//             | '€' | 'EUR' | 'euro' | 'euros'                          (euros)
//   abbreviation := 'F' | 'Fr' | 'Frs'
//   franc-word := 'franc' | 'francs' | ancien and nouveau francs written out
//   old-centimes := (gap | ',') digit digit (gap centime)?       (after 'F', 'Fr', 'Frs',
//                                                                  'franc' or 'francs')
//   centime  := 'centimes' | 'centime' | 'cents' | 'cent.' | 'c.'
//   of       := 'de' spaces | 'd' apostrophe
//   apostrophe := "'" | U+2019
//   scale    := 'mille' | 'million' | 'millions' | 'milliard' | 'milliards'
//   qualifiers := (tax | per-unit)* gap '*'*     (each kind once; after a currency or
//                                                 centimes only)
//   tax      := spaces tax-word | gap '(' tax-word ')'
//   tax-word := 'HT' | 'H.T.' | 'TTC' | 'T.T.C.' | 'brut' | 'net'
//   per-unit := gap '/' gap measure | spaces ('le' | 'la' | 'par') spaces measure
//             | spaces 'l' apostrophe measure
//   measure  := 'kilo' | 'kg' | 'g' | 'litre' | 'l' | 'tonne' | 't' | 'm²' | 'm2' | 'm'
//             | 'an' | 'mois' | 'jour' | 'semaine' | 'heure' | 'h' | 'pièce' | 'unité'
// A word that ends in a letter is never followed by one: "5 FCFA" has no "F".
// So an amount copied with the spaces, tabs or line breaks around it reads, and so does
// one grouped the French way, "1 234 567,89", or spaced out by justified text, or one
// written with its currency as documents write it: "1 500 F", "100 Frs.", "€15,24",
// "EUR -15,24", "15,24 euros", "≈ 15,24 €", "150 € H.T.", "4 800 euros/m²", "29€ le kg".
// A point is the comma typed on a keyboard's number pad, or the point documents group
// thousands with. With a currency or centimes written, a point followed by exactly
// three digits groups ("1.500 F" is 1 500 francs, "1.500,50 F" 1 500,50) and any other
// point is the decimal separator ("12.50 F"). A bare amount's points group only where
// nothing else makes sense: two or more points grouping threes ("1.234.567"), or points
// grouping threes before a comma ("1.500,00"); one point alone is the comma ("1.500" is
// 1,5). Spaces and points never group the same number. The sign stays with the number:
// a marker before it stands before the sign. Before the number, an abbreviation's point
// is followed by a space. "12 F 50", "1fr 50", "7 fr. 50 c.", "1 franc 05" and "0f,10"
// are the old form of francs and centimes: whole francs, then exactly two digits.
// An 'E' begins an exponent only when digits follow: "1E5" is 100000, "1EUR" one euro,
// "1e" one euro.
//
// The value is in the currency written: centimes are a hundredth of it ("60 centimes
// de franc" is 0,6 franc; "60 centimes", with none written, 0,6 of the currency the
// amount is read in), anciens francs a hundredth of a franc ("10 000 AF" is 100
// francs), and a scale multiplies ("2 M€" is 2 000 000 euros). The qualifiers change
// nothing.
// Anything else does not read: a second decimal separator, a lone comma, any other
// space inside the number (a group of other than three digits, a space in the fraction
// or after the sign), a sign before a marker ("-€5"), a marker alone, two markers,
// ranges ("5 à 6 francs"), comparisons (">"), amounts in words, other currencies
// ("CHF", "FCFA"), "nan", "inf", hexadecimal, non-ASCII digits, an empty text.
//
// An amount beyond the double range is too large; a non-zero amount below the
// smallest double reads as zero.
enum class ReadStatus { ok, notANumber, tooLarge };

// Which franc was written: the ancien franc was a hundredth of the franc of 1960.
enum class FrancWord { none, franc, ancien, nouveau };

struct ReadResult {
    ReadStatus status;
    double value = 0.0;                 // meaningful when status is ok
    const Currency* currency = nullptr; // the currency written with the amount, or nullptr
    // Offsets in the text: the first byte that does not read, when status is notANumber
    // (the text's size when the amount is missing its digits), and the point read as the
    // decimal separator, if one was.
    std::size_t stop = std::string_view::npos;
    std::size_t decimalPoint = std::string_view::npos;
    // The end of the part that does not read, from stop: the word there, or the one
    // character.
    std::size_t stopEnd = std::string_view::npos;
    // The value exactly as written, when a Decimal holds it; in the unit of value.
    std::optional<Decimal> exact = std::nullopt;
    FrancWord francWord = FrancWord::none; // FrancWord::franc for "F", "francs", "KF"…
};

ReadResult readAmount(std::string_view text);

// Writes a finite value with up to 15 significant digits: no grouping, no trailing
// zeros, no comma for a whole number, "0" before the comma below 1, a leading minus
// for negatives, and zero always as "0". From 10^15 on the value is written in
// scientific form with the same digits, as "1,5E+20", which reads back. The few
// doubles above 1,79769313486231E+308 are written as that, since their 15-digit
// rounding would lie beyond the double range.
std::string writeAmount(double value);

// Rounds a value to thousandths and writes it: writeAmount(roundToThousandths(value)),
// faster for the results a conversion gives, which a column of amounts feels.
std::string writeRoundedAmount(double value);

} // namespace korvalin
