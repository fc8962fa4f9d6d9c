// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Amount.h"
#include "FailureText.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvalin {

// What a sum of one year was worth in another, by Insee's annual consumer price index:
// the sum × the index of the later year ÷ the index of its own, the units changed on
// the way at the legal rates (1 euro = 6,55957 francs = 655,957 anciens francs), the
// result rounded half to even to the cent. The index measures the prices of consumer
// goods and services, not wages or houses.

// The moneys French sums were counted in.
enum class Money {
    euro,         // in any year: before 2002, through the legal rate
    franc,        // the franc of its year, up to 2001; up to 1959, the ancien franc
    ancienFranc,  // up to 2001: people counted in them long after 1960
    nouveauFranc, // from 1960 to 2001: a hundred anciens francs, the franc itself
};

// The first and last year of the index.
int firstIndexYear();
int lastIndexYear();

// The money of a sum of that year written without one: anciens francs up to 1959,
// francs up to 2001, euros after.
Money moneyOfYear(int year);

// The money as a sentence names an amount of it: "anciens francs", "ancien franc".
std::string_view moneyWord(Money money, bool plural = true);

// A year as typed: digits alone, with the spaces around them; nothing otherwise.
std::optional<int> readYear(std::string_view text);

// What is asked of a sum.
struct WorthQuestion {
    int year = 0;   // the year the sum is of
    int inYear = 0; // the year to express it in
    // The money to express it in; without it, that of inYear (moneyOfYear).
    std::optional<Money> wanted = std::nullopt;
    // The money the sum is read in (korvalin -e: francs, -f: euros), a marker of another
    // money being refused; without it, the marker written tells, or else the year.
    std::optional<Money> forced = std::nullopt;
};

// A money in a year. A franc of before 1960 is told as what it was, the ancien franc.
struct MoneyOfYear {
    Money money = Money::euro;
    int year = 0;

    bool operator==(const MoneyOfYear&) const = default;
};

// Why a sum was not expressed in another year.
struct WorthRefusal {
    enum class Reason {
        notANumber,         // the text does not read as an amount
        tooLarge,           // the sum, or what it is worth, is beyond the double range
        otherMoney,         // its marker names another money than the one it is read in
        yearOutsideIndex,   // `year` is before the index's first year or after its last
        francGone,          // francs of any kind in `year`, after 2001
        nouveauFrancNotYet, // nouveaux francs in `year`, before 1960
    };
    // Which side of the question is refused: the sum's, or the one it is expressed in.
    enum class Side { sum, result };

    Reason reason = Reason::notANumber;
    Side side = Side::sum;
    int year = 0;              // for the refusals of a year
    Money money = Money::euro; // otherMoney: the money written; else the one refused
    std::size_t stop = std::string_view::npos; // notANumber: the first byte that does not read

    bool operator==(const WorthRefusal&) const = default;
};

// The answer: what the sum is worth, or why it is refused.
struct Worth {
    MoneyOfYear from; // the sum, as read
    MoneyOfYear to;   // what it is worth
    // Written as results are, to the cent: French comma, no grouping, no trailing
    // zeros ("143368,18"). Empty when refused.
    std::string result;
    // One French sentence in UTF-8, plain text, its digits grouped by no-break spaces:
    // "450 000 francs de 1985 ont le même pouvoir d'achat que 143 368,18 euros de 2025.";
    // when refused, the reason, saying what to change.
    std::string sentence;
    std::optional<WorthRefusal> refusal;
};

// The refusal of a question whatever its sum: a year outside the index, or a money
// forced or wanted in a year that did not have it.
std::optional<WorthRefusal> refusedQuestion(const WorthQuestion& question);

// What a sum written as `text` (any form readAmount takes) was worth. `quote` shows the
// text inside a sentence, as for failureText.
Worth worth(std::string_view text, const WorthQuestion& question, Quote quote);
// The same for an amount already read from `text`.
Worth worth(std::string_view text, const ReadResult& amount, const WorthQuestion& question,
            Quote quote);

// The same without the sentence of a sum expressed (a refusal keeps its own), for a
// column of amounts.
Worth worthResult(std::string_view text, const ReadResult& amount, const WorthQuestion& question,
                  Quote quote);

// The sentence of a refusal of the sum written as `text`.
std::string refusalText(const WorthRefusal& refusal, std::string_view text, Quote quote);

} // namespace korvalin
