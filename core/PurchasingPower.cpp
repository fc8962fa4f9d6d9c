// SPDX-License-Identifier: GPL-3.0-or-later
#include "PurchasingPower.h"

#include "Decimal.h"
#include "PriceIndexTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace korvalin {
namespace {

constexpr int kFirstNouveauFrancYear = 1960;
constexpr int kLastFrancYear = 2001;

constexpr std::string_view kNoBreakSpace = "\u00A0";

using Side = WorthRefusal::Side;
using Reason = WorthRefusal::Reason;

bool isFranc(Money money) {
    return money != Money::euro;
}

// A franc of before 1960 was the ancien franc.
Money asOfYear(Money money, int year) {
    return money == Money::franc && year < kFirstNouveauFrancYear ? Money::ancienFranc : money;
}

// One of the money in the rate's fractions of a franc: 1 euro = 6,55957 francs = 655,957
// anciens francs.
std::uint64_t inRateFractions(Money money) {
    switch (money) {
    case Money::euro:
        return kRateNumerator;
    case Money::franc:
    case Money::nouveauFranc:
        return kRateDenominator;
    case Money::ancienFranc:
        break;
    }
    static_assert(kRateDenominator % 100 == 0);
    return kRateDenominator / 100;
}

bool inIndex(int year) {
    return year >= priceindex::kFirstYear && year <= priceindex::kLastYear;
}

// In ten-thousandths.
std::uint64_t indexOf(int year) {
    return priceindex::kTenThousandths[static_cast<std::size_t>(year - priceindex::kFirstYear)];
}

// Whether the year had the money.
std::optional<WorthRefusal> refusedMoney(Money money, int year, Side side) {
    if (isFranc(money) && year > kLastFrancYear) {
        return WorthRefusal{Reason::francGone, side, year, money};
    }
    if (money == Money::nouveauFranc && year < kFirstNouveauFrancYear) {
        return WorthRefusal{Reason::nouveauFrancNotYet, side, year, money};
    }
    return std::nullopt;
}

// What the reader says of a sum, as this rule takes it: the money written, if any, and
// the sum's exact value.
std::optional<Money> writtenMoney(const ReadResult& amount) {
    if (amount.francWord == FrancWord::ancien) {
        return Money::ancienFranc;
    }
    if (amount.francWord == FrancWord::nouveau) {
        return Money::nouveauFranc;
    }
    if (amount.currency == &kFranc) {
        return Money::franc;
    }
    if (amount.currency == &kEuro) {
        return Money::euro;
    }
    return std::nullopt;
}

// The sum in the money written: the reader counts anciens francs in francs.
double sumValue(const ReadResult& amount) {
    return amount.francWord == FrancWord::ancien ? amount.value * 100 : amount.value;
}

std::optional<Decimal> exactSum(const ReadResult& amount) {
    if (!amount.exact) {
        return std::nullopt;
    }
    Decimal exact = *amount.exact;
    if (amount.francWord == FrancWord::ancien) {
        exact.exponent += 2;
    }
    return exact;
}

// Writes an exact decimal as results are written, or nothing beyond what a count holds.
std::optional<std::string> writeExact(const Decimal& value) {
    const std::optional<Fixed> count = roundedCount(value, {}, std::max(0, -value.exponent));
    return count ? std::optional(writeCount(*count)) : std::nullopt;
}

// A written amount with its digits grouped by threes, as French text writes it:
// "143 368,18"; a number in scientific form stays as it is.
std::string groupedDigits(std::string written) {
    if (written.find('E') != std::string::npos) {
        return written;
    }
    const std::size_t whole = std::min(written.find(','), written.size());
    const std::size_t first = written.starts_with('-') ? 1 : 0;
    for (std::size_t at = whole; at > first + 3; at -= 3) {
        written.insert(at - 3, kNoBreakSpace);
    }
    return written;
}

// "450 000 francs de 1985 ont le même pouvoir d'achat que 143 368,18 euros de 2025."
std::string sentence(const Worth& answer, const ReadResult& amount) {
    // French takes the singular below two: "1,5 euro".
    const auto isOne = [](double value) { return value > -2 && value < 2; };
    const double sum = sumValue(amount);
    const std::optional<Decimal> exact = exactSum(amount);
    const std::optional<std::string> written = exact ? writeExact(*exact) : std::nullopt;
    return groupedDigits(written.value_or(writeAmount(sum))) + ' ' +
           std::string(moneyWord(answer.from.money, !isOne(sum))) + " de " +
           std::to_string(answer.from.year) + (isOne(sum) ? " a" : " ont") +
           " le même pouvoir d'achat que " + groupedDigits(answer.result) + ' ' +
           std::string(moneyWord(answer.to.money, !isOne(readAmount(answer.result).value))) +
           " de " + std::to_string(answer.to.year) + '.';
}

// A year outside the index, or a money forced or wanted in a year that had it not.
std::optional<WorthRefusal> questionRefusal(const WorthQuestion& question) {
    for (const auto& [year, side] :
         {std::pair{question.year, Side::sum}, std::pair{question.inYear, Side::result}}) {
        if (!inIndex(year)) {
            return WorthRefusal{Reason::yearOutsideIndex, side, year};
        }
    }
    if (question.forced) {
        if (auto refusal = refusedMoney(*question.forced, question.year, Side::sum)) {
            return refusal;
        }
    }
    if (question.wanted) {
        return refusedMoney(*question.wanted, question.inYear, Side::result);
    }
    return std::nullopt;
}

// Expresses the sum in the answer's money and year, writing its result; the answer's
// money of the sum becomes the one it is read in. Or says why not.
std::optional<WorthRefusal> express(Worth& answer, const ReadResult& amount,
                                    const WorthQuestion& question) {
    if (auto refusal = questionRefusal(question)) {
        return refusal;
    }
    if (amount.status == ReadStatus::notANumber) {
        return WorthRefusal{Reason::notANumber, Side::sum, question.year, Money::euro, amount.stop};
    }
    const std::optional<Money> written = writtenMoney(amount);
    // A marker written names the money, the more precisely when it names a kind of franc.
    Money money = written.value_or(question.forced.value_or(answer.from.money));
    if (question.forced && written) {
        if (isFranc(*question.forced) != isFranc(*written)) {
            return WorthRefusal{Reason::otherMoney, Side::sum, question.year, *written};
        }
        money = *written == Money::franc ? *question.forced : *written;
    }
    answer.from.money = asOfYear(money, question.year);
    if (auto refusal = refusedMoney(answer.from.money, question.year, Side::sum)) {
        return refusal;
    }
    if (amount.status == ReadStatus::tooLarge) {
        return WorthRefusal{Reason::tooLarge, Side::sum, question.year};
    }

    // sum × (its unit × index of inYear) ÷ (the result's unit × index of year)
    const Ratio ratio{inRateFractions(answer.from.money) * indexOf(question.inYear),
                      inRateFractions(answer.to.money) * indexOf(question.year)};
    const std::optional<Decimal> exact = exactSum(amount);
    if (const std::optional<Fixed> cents = exact ? roundedCount(*exact, ratio, 2) : std::nullopt) {
        answer.result = writeCount(*cents);
        return std::nullopt;
    }
    double value = sumValue(amount) * static_cast<double>(ratio.numerator) /
                   static_cast<double>(ratio.denominator);
    if (!std::isfinite(value)) {
        return WorthRefusal{Reason::tooLarge, Side::result, question.inYear};
    }
    // From 2^46 on, neighbouring doubles lie more than a cent apart.
    constexpr double kNothingToRoundFrom = 70368744177664.0; // 2^46
    if (std::fabs(value) < kNothingToRoundFrom) {
        value = std::nearbyint(value * 100.0) / 100.0;
    }
    answer.result = writeAmount(value);
    return std::nullopt;
}

} // namespace

int firstIndexYear() {
    return priceindex::kFirstYear;
}

int lastIndexYear() {
    return priceindex::kLastYear;
}

Money moneyOfYear(int year) {
    if (year < kFirstNouveauFrancYear) {
        return Money::ancienFranc;
    }
    return year <= kLastFrancYear ? Money::franc : Money::euro;
}

std::string_view moneyWord(Money money, bool plural) {
    switch (money) {
    case Money::euro:
        return plural ? kEuro.plural : kEuro.singular;
    case Money::franc:
        return plural ? kFranc.plural : kFranc.singular;
    case Money::ancienFranc:
        return plural ? "anciens francs" : "ancien franc";
    case Money::nouveauFranc:
        break;
    }
    return plural ? "nouveaux francs" : "nouveau franc";
}

std::optional<int> readYear(std::string_view text) {
    constexpr std::string_view kSpace = " \t";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(kSpace) - first + 1);
    int year = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), year);
    if (error != std::errc{} || end != text.data() + text.size() || text.front() == '-') {
        return std::nullopt;
    }
    return year;
}

std::optional<WorthRefusal> refusedQuestion(const WorthQuestion& question) {
    return questionRefusal(question);
}

Worth worth(std::string_view text, const WorthQuestion& question, Quote quote) {
    return worth(text, readAmount(text), question, quote);
}

Worth worth(std::string_view text, const ReadResult& amount, const WorthQuestion& question,
            Quote quote) {
    Worth answer = worthResult(text, amount, question, quote);
    if (!answer.refusal) {
        answer.sentence = sentence(answer, amount);
    }
    return answer;
}

Worth worthResult(std::string_view text, const ReadResult& amount, const WorthQuestion& question,
                  Quote quote) {
    Worth answer;
    answer.to = {asOfYear(question.wanted.value_or(moneyOfYear(question.inYear)), question.inYear),
                 question.inYear};
    answer.from = {moneyOfYear(question.year), question.year};
    answer.refusal = express(answer, amount, question);
    if (answer.refusal) {
        answer.sentence = refusalText(*answer.refusal, text, quote);
    }
    return answer;
}

std::string refusalText(const WorthRefusal& refusal, std::string_view text, Quote quote) {
    const std::string year = std::to_string(refusal.year);
    const bool ofSum = refusal.side == Side::sum;
    switch (refusal.reason) {
    case Reason::notANumber:
        // Told alike to either front end: only a key or an option would differ.
        return failureText({Refusal::Reason::notANumber, refusal.stop}, text, quote,
                           Audience::window);
    case Reason::tooLarge:
        return failureText({Refusal::Reason::overflow}, text, quote, Audience::window);
    case Reason::otherMoney:
        return quoted(text, quote) + " est un montant en " + std::string(moneyWord(refusal.money)) +
               ", non en " + (isFranc(refusal.money) ? "euros." : "francs.");
    case Reason::yearOutsideIndex:
        return "L'indice des prix va de " + std::to_string(firstIndexYear()) + " à " +
               std::to_string(lastIndexYear()) + "\u00A0: " + year + " n'y est pas.";
    case Reason::francGone:
        return "Le franc n'avait plus cours en " + year +
               "\u00A0: " + (ofSum ? "la somme est en euros." : "exprimez la somme en euros.");
    case Reason::nouveauFrancNotYet:
        break;
    }
    return "Le nouveau franc date de 1960\u00A0: en " + year + ", " +
           (ofSum ? "la somme est en anciens francs." : "exprimez la somme en anciens francs.");
}

} // namespace korvalin
