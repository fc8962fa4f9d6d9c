// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvalin {

// Amount text in the French number format, the comma being the decimal separator,
// read and written the same way whatever the process locale.
//
// Accepted grammar (UTF-8):
//   amount   := space* sign? mantissa exponent? space*
//   space    := ' ' | TAB | LF | CR
//   sign     := '+' | '-'
//   mantissa := whole | whole ',' digit* | ',' digit+
//   whole    := digit+ | digit digit? digit? (group-separator digit digit digit)+
//   group-separator := ' ' | U+00A0 no-break space | U+202F narrow no-break space
//   exponent := ('E' | 'e') sign? digit+
// So an amount copied with the spaces, tabs or line breaks around it reads, and so does
// one grouped the French way, "1 234 567,89". Anything else does not read: a point, a
// second comma, a lone comma, any other space inside the number (a group of other than
// three digits, two separators in a row, a space in the fraction or after the sign),
// "nan", "inf", hexadecimal, non-ASCII digits, an empty text.
//
// An amount beyond the double range is too large; a non-zero amount below the
// smallest double reads as zero.
enum class ReadStatus { ok, notANumber, tooLarge };

struct ReadResult {
    ReadStatus status;
    double value; // meaningful when status is ok
};

ReadResult readAmount(std::string_view text);

// Writes a finite value with up to 15 significant digits: no grouping, no trailing
// zeros, no comma for a whole number, "0" before the comma below 1, a leading minus
// for negatives, and zero always as "0". From 10^15 on the value is written in
// scientific form with the same digits, as "1,5E+20", which reads back. The few
// doubles above 1,79769313486231E+308 are written as that, since their 15-digit
// rounding would lie beyond the double range.
std::string writeAmount(double value);

} // namespace korvalin
