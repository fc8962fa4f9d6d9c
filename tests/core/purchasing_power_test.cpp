// SPDX-License-Identifier: GPL-3.0-or-later
#include "PurchasingPower.h"

#include <gtest/gtest.h>
#include <string>

namespace korvalin {
namespace {

std::string asWritten(std::string_view text) {
    return std::string(text);
}

using enum Money;
using Reason = WorthRefusal::Reason;
using Side = WorthRefusal::Side;

struct WorthCase {
    const char* text;
    WorthQuestion question;
    const char* result; // or, when refused, the sentence
    std::optional<Reason> refused = std::nullopt;
};

const WorthCase kWorthCases[] = {
    // Checked against Insee's own converter, which the index's figures reproduce.
    {"1 000 F", {1999, 2009}, "180,94"},
    {"1 000 F", {2001, 2011}, "181,57"},
    {"1 000", {1951, 2001}, "127,81"}, // anciens francs of 1951 into francs of 2001
    {"100 F", {1998, 2013}, "19,39"},
    {"450 000 F", {1985, 2025}, "143368,18"},
    // Each index as its data file writes it, zeros inside it too (0,0606 in 1916).
    {"85175,34", {1916, 2025}, "259162,26"},
    // Francs through the legal rate, anciens francs a hundredth of them.
    {"6,55957", {2001, 2001, euro}, "1"},
    {"100", {1975, 1975, ancienFranc}, "10000"},
    {"10 000", {1975, 1975, franc, ancienFranc}, "100"},
    {"10 000 AF", {1975, 1975, franc}, "100"},
    {"1", {2002, 1990, franc}, "5,34"},
    {"-100 €", {2002, 2025}, "-146,07"},
    {"0", {1901, 2025}, "0"},
    // Half to even to the cent, from the exact value, which no double holds.
    {"0,165", {2001, 2001}, "0,16"},
    {"0,175", {2001, 2001}, "0,18"},
    // A written marker gives the money, or the forced one agrees with it.
    {"15,24 €", {1990, 1990, franc}, "99,97"},
    {"100 F", {1950, 1950, franc, franc}, "100"},
    {"100 F",
     {1990, 1990, euro, euro},
     "« 100 F » est un montant en francs, non en euros.",
     Reason::otherMoney},
    {"15 €",
     {1990, 1990, euro, franc},
     "« 15 € » est un montant en euros, non en francs.",
     Reason::otherMoney},
    // Refusals, each saying what to change.
    {"100",
     {1900, 2025},
     "L'indice des prix va de 1901 à 2025 : 1900 n'y est pas.",
     Reason::yearOutsideIndex},
    {"100",
     {1985, 2026},
     "L'indice des prix va de 1901 à 2025 : 2026 n'y est pas.",
     Reason::yearOutsideIndex},
    {"100 F",
     {2010, 2025},
     "Le franc n'avait plus cours en 2010 : la somme est en euros.",
     Reason::francGone},
    {"100",
     {2010, 2025, std::nullopt, franc},
     "Le franc n'avait plus cours en 2010 : la somme est en euros.",
     Reason::francGone},
    {"100",
     {1985, 2010, franc},
     "Le franc n'avait plus cours en 2010 : exprimez la somme en euros.",
     Reason::francGone},
    {"100",
     {1955, 1990, std::nullopt, nouveauFranc},
     "Le nouveau franc date de 1960 : en 1955, la somme est en anciens francs.",
     Reason::nouveauFrancNotYet},
    {"100",
     {1985, 1955, nouveauFranc},
     "Le nouveau franc date de 1960 : en 1955, exprimez la somme en anciens francs.",
     Reason::nouveauFrancNotYet},
    {"12 TTC",
     {1985, 2025},
     "« 12 TTC » n'est pas un montant : « TTC » n'est pas compris.",
     Reason::notANumber},
    {"1E+400", {1985, 2025}, "Ce montant est trop grand pour être converti.", Reason::tooLarge},
    {"1E+307",
     {1901, 2001, franc},
     "Ce montant est trop grand pour être converti.",
     Reason::tooLarge},
};

// The sentences group and part with no-break spaces; the table writes plain ones.
std::string withPlainSpaces(std::string text) {
    for (std::size_t at = text.find("\u00A0"); at != std::string::npos;
         at = text.find("\u00A0", at)) {
        text.replace(at, 2, " ");
    }
    return text;
}

TEST(PurchasingPower, ExpressesASumOfOneYearInAnother) {
    for (const WorthCase& row : kWorthCases) {
        const Worth answer = worth(row.text, row.question, asWritten);
        SCOPED_TRACE(std::string(row.text) + " of " + std::to_string(row.question.year) + " in " +
                     std::to_string(row.question.inYear));
        EXPECT_EQ(answer.refusal ? std::optional(answer.refusal->reason) : std::nullopt,
                  row.refused);
        EXPECT_EQ(row.refused ? withPlainSpaces(answer.sentence) : answer.result, row.result);
        EXPECT_EQ(answer.result.empty(), row.refused.has_value());
    }
}

TEST(PurchasingPower, SaysItInOneSentence) {
    const struct {
        const char* text;
        WorthQuestion question;
        const char* sentence;
    } rows[] = {
        {"450 000 F",
         {1985, 2025},
         "450 000 francs de 1985 ont le même pouvoir d'achat que 143 368,18 euros de 2025."},
        {"1 000",
         {1951, 2001},
         "1 000 anciens francs de 1951 ont le même pouvoir d'achat que 127,81 francs de 2001."},
        {"1,5 €", {2002, 2002}, "1,5 euro de 2002 a le même pouvoir d'achat que 1,5 euro de 2002."},
        {"12000,125",
         {1960, 1960, nouveauFranc},
         "12 000,125 francs de 1960 ont le même pouvoir d'achat que 12 000,12 nouveaux francs "
         "de 1960."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(withPlainSpaces(worth(row.text, row.question, asWritten).sentence), row.sentence);
    }
}

TEST(PurchasingPower, KnowsTheMoneyOfEachYear) {
    EXPECT_EQ(firstIndexYear(), 1901);
    EXPECT_EQ(lastIndexYear(), 2025);
    EXPECT_EQ(moneyOfYear(1959), ancienFranc);
    EXPECT_EQ(moneyOfYear(1960), franc);
    EXPECT_EQ(moneyOfYear(2001), franc);
    EXPECT_EQ(moneyOfYear(2002), euro);
    EXPECT_EQ(readYear(" 1985 "), 1985);
    for (const char* notAYear : {"", "19 85", "-1985", "1985a", "+1985"}) {
        EXPECT_EQ(readYear(notAYear), std::nullopt) << notAYear;
    }
}

} // namespace
} // namespace korvalin
