// SPDX-License-Identifier: GPL-3.0-or-later
#include "PurchasingPower.h"

#include "ConversionError.h"
#include "Decimal.h"
#include "PriceIndex.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numeric>

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

// Thousandths of an ancien franc in one of the money: 1 euro = 655,957 anciens francs.
std::uint64_t milliAnciensFrancs(Money money) {
    switch (money) {
    case Money::euro:
        return 655'957;
    case Money::franc:
    case Money::nouveauFranc:
        return 100'000;
    case Money::ancienFranc:
        break;
    }
    return 1'000;
}

bool inIndex(int year) {
    return year >= firstIndexYear() && year <= lastIndexYear();
}

// In ten-thousandths.
std::uint64_t indexOf(int year) {
    return priceIndex()[static_cast<std::size_t>(year - firstIndexYear())];
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

// A sum as this rule takes it from the reader: the money written, if any, its exact
// value when it has one, and its double.
struct Sum {
    std::optional<Money> written;
    std::optional<Decimal> exact;
    double value = 0.0;
};

Sum sumOf(const ReadResult& amount) {
    Sum sum;
    if (amount.currency == &kFranc) {
        sum.written = Money::franc;
    } else if (amount.currency == &kEuro) {
        sum.written = Money::euro;
    }
    sum.value = amount.value;
    // The shortest text that reads back as the double is the amount as written, for
    // every amount of up to 15 significant digits.
    std::array<char, 32> buffer{};
    const char* const end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), amount.value).ptr;
    sum.exact = exactDecimal(std::string_view(buffer.data(), end));
    return sum;
}

// Writes an exact decimal as results are written, or nothing beyond what a count holds.
std::optional<std::string> writeExact(const Decimal& value) {
    constexpr int kMostPlaces = 18;
    constexpr std::uint64_t kLargestCount = 999'999'999'999'999'999; // below 2^63
    if (value.significand > kLargestCount || value.exponent < -kMostPlaces) {
        return std::nullopt;
    }
    auto count = static_cast<std::int64_t>(value.significand);
    for (int power = value.exponent; power > 0; --power) {
        if (count > static_cast<std::int64_t>(kLargestCount / 10)) {
            return std::nullopt;
        }
        count *= 10;
    }
    const int places = value.exponent < 0 ? -value.exponent : 0;
    return writeCount(value.negative ? -count : count, places);
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

std::string quoted(std::string_view text, Quote quote) {
    return "«\u00A0" + quote(text) + "\u00A0»";
}

Worth refused(Worth answer, const WorthRefusal& refusal, std::string_view text, Quote quote) {
    answer.sentence = refusalText(refusal, text, quote);
    answer.refusal = refusal;
    return answer;
}

} // namespace

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

Worth worth(std::string_view text, const WorthQuestion& question, Quote quote) {
    return worth(text, readAmount(text), question, quote);
}

Worth worth(std::string_view text, const ReadResult& amount, const WorthQuestion& question,
            Quote quote) {
    Worth answer;
    answer.to = {asOfYear(question.wanted.value_or(moneyOfYear(question.inYear)), question.inYear),
                 question.inYear};
    answer.from = {moneyOfYear(question.year), question.year};
    if (const auto refusal = refusedQuestion(question)) {
        return refused(std::move(answer), *refusal, text, quote);
    }
    if (amount.status == ReadStatus::notANumber) {
        return refused(std::move(answer),
                       {Reason::notANumber, Side::sum, question.year, Money::euro, amount.stop},
                       text, quote);
    }
    const Sum sum = sumOf(amount);
    // A marker written names the money, the more precisely when it names a kind of franc.
    Money money = sum.written.value_or(question.forced.value_or(answer.from.money));
    if (question.forced && sum.written) {
        if (isFranc(*question.forced) != isFranc(*sum.written)) {
            return refused(std::move(answer),
                           {Reason::otherMoney, Side::sum, question.year, *sum.written}, text,
                           quote);
        }
        money = *sum.written == Money::franc ? *question.forced : *sum.written;
    }
    answer.from.money = asOfYear(money, question.year);
    if (const auto refusal = refusedMoney(answer.from.money, question.year, Side::sum)) {
        return refused(std::move(answer), *refusal, text, quote);
    }
    if (amount.status == ReadStatus::tooLarge) {
        return refused(std::move(answer), {Reason::tooLarge, Side::sum, question.year}, text,
                       quote);
    }

    // sum × (its unit in anciens francs × index of inYear) ÷ (result's unit × index of year)
    std::uint64_t numerator = milliAnciensFrancs(answer.from.money) * indexOf(question.inYear);
    std::uint64_t denominator = milliAnciensFrancs(answer.to.money) * indexOf(question.year);
    const std::uint64_t common = std::gcd(numerator, denominator);
    numerator /= common;
    denominator /= common;
    const std::optional<std::int64_t> cents =
        sum.exact ? roundedCount(*sum.exact, numerator, denominator, 2) : std::nullopt;
    double value = 0.0;
    if (cents) {
        answer.result = writeCount(*cents, 2);
        value = static_cast<double>(*cents) / 100.0;
    } else {
        value = sum.value * static_cast<double>(numerator) / static_cast<double>(denominator);
        if (!std::isfinite(value)) {
            return refused(std::move(answer), {Reason::tooLarge, Side::result, question.inYear},
                           text, quote);
        }
        // From 2^46 on, neighbouring doubles lie more than a cent apart.
        constexpr double kNothingToRoundFrom = 70368744177664.0; // 2^46
        if (std::fabs(value) < kNothingToRoundFrom) {
            value = std::nearbyint(value * 100.0) / 100.0;
        }
        answer.result = writeAmount(value);
    }

    const std::optional<std::string> exactSum = sum.exact ? writeExact(*sum.exact) : std::nullopt;
    const bool oneSum = sum.value > -2 && sum.value < 2;
    answer.sentence = groupedDigits(exactSum.value_or(writeAmount(sum.value)));
    answer.sentence.append(" ")
        .append(moneyWord(answer.from.money, !oneSum))
        .append(" de ")
        .append(std::to_string(question.year))
        .append(oneSum ? " a" : " ont")
        .append(" le même pouvoir d'achat que ")
        .append(groupedDigits(answer.result))
        .append(" ")
        .append(moneyWord(answer.to.money, !(value > -2 && value < 2)))
        .append(" de ")
        .append(std::to_string(question.inYear))
        .append(".");
    return answer;
}

std::string refusalText(const WorthRefusal& refusal, std::string_view text, Quote quote) {
    const std::string year = std::to_string(refusal.year);
    const bool ofSum = refusal.side == Side::sum;
    switch (refusal.reason) {
    case Reason::notANumber:
        return failureText(ConversionError(ConversionError::Kind::notANumber, refusal.stop), text,
                           quote);
    case Reason::tooLarge:
        return failureText(ConversionError(ConversionError::Kind::overflow), text, quote);
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
