// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"

#include <string>
#include <string_view>

namespace korvalin {

// Amount text in the French number format, the comma being the decimal separator,
// read and written the same way whatever the process locale.
//
// Accepted grammar (UTF-8), the marker words in any letter case:
//   amount   := space* (number | before number | number gap after | old-francs) space*
//   number   := sign? mantissa exponent?
//   space    := ' ' | TAB | LF | CR
//   sign     := '+' | '-' | U+2212 minus sign
//   mantissa := whole | whole decimal digit* | decimal digit+
//   whole    := digit+ | digit digit? digit? (inner-space digit digit digit)+
//             | digit digit? digit? ('.' digit digit digit)+          (points that group)
//   decimal  := ',' | '.'                                             (a point that does not group)
//   inner-space := ' ' | U+00A0 no-break space | U+202F narrow no-break space
//                | U+2009 thin space | U+2007 figure space
//   gap      := inner-space?
//   exponent := ('E' | 'e') sign? digit+
//   after    := marker | abbreviation '.'
//   before   := marker inner-space | abbreviation '.' inner-space
//             | marker                  (when the number starts with a sign or a digit)
//   marker   := abbreviation | 'FF' | 'franc' | 'francs' | 'FRF'   (francs)
//             | '€' | 'EUR' | 'euro' | 'euros'                   (euros)
//   abbreviation := 'F' | 'Fr' | 'Frs'
//   old-francs := sign? whole gap 'F' gap digit digit           (francs, then centimes)
// So an amount copied with the spaces, tabs or line breaks around it reads, and so does
// one grouped the French way, "1 234 567,89", or one written with its currency as
// documents write it: "1 500 F", "100 Frs.", "€15,24", "EUR -15,24", "15,24 euros".
// A point is the comma typed on a keyboard's number pad, or the point documents group
// thousands with. With a currency written, a point followed by exactly three digits
// groups ("1.500 F" is 1 500 francs, "1.500,50 F" 1 500,50) and any other point is the
// decimal separator ("12.50 F"). A bare amount's points group only where nothing else
// makes sense: two or more points grouping threes ("1.234.567"), or points grouping
// threes before a comma ("1.500,00"); one point alone is the comma ("1.500" is 1,5).
// Spaces and points never group the same number. The sign stays with the number: a
// marker before it stands before the sign. Before the number, an abbreviation's point
// is followed by a space. "12 F 50" and "12F50" are the old form of 12,50 francs:
// whole francs, then exactly two digits. An 'E' begins an exponent only when digits
// follow: "1E5" is 100000, "1EUR" one euro.
// Anything else does not read: a second decimal separator, a lone comma, any other
// space inside the number (a group of other than three digits, two separators in a row,
// a space in the fraction or after the sign), a sign before a marker ("-€5"), a marker
// alone, two markers, "nan", "inf", hexadecimal, non-ASCII digits, an empty text.
//
// An amount beyond the double range is too large; a non-zero amount below the
// smallest double reads as zero.
enum class ReadStatus { ok, notANumber, tooLarge };

struct ReadResult {
    ReadStatus status;
    double value = 0.0;                 // meaningful when status is ok
    const Currency* currency = nullptr; // the currency written with the amount, or nullptr
    // Offsets in the text: the first byte that does not read, when status is notANumber
    // (the text's size when the amount is missing its digits), and the point read as the
    // decimal separator, if one was.
    std::size_t stop = std::string_view::npos;
    std::size_t decimalPoint = std::string_view::npos;
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
