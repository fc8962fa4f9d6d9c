// SPDX-License-Identifier: GPL-3.0-or-later
#include "Amount.h"
#include "Korvalin.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <tuple>

namespace korvalin {
namespace {

struct ReadCase {
    const char* text;
    ReadStatus status;
    double value = 0.0;
    const Currency* currency = nullptr; // written with the amount
};

using enum ReadStatus;

const ReadCase kReadCases[] = {
    {"100", ok, 100.0},
    {"0", ok, 0.0},
    {"05", ok, 5.0},
    {",5", ok, 0.5},
    {"5,", ok, 5.0},
    {"12,25", ok, 12.25},
    {"-5", ok, -5.0},
    {"+5", ok, 5.0},
    {"  12,5 ", ok, 12.5},
    {"1,5E+3", ok, 1500.0},
    {"1e2", ok, 100.0},
    {"25E-1", ok, 2.5},
    {"0,000000000000000000000000000001E+31", ok, 10.0},
    {"1E-400", ok, 0.0},
    {"1E+400", tooLarge},
    {"-1E+400", tooLarge},
    {"0,0001E+313", tooLarge},
    {"1E+99999999999999999999999", tooLarge},
    {"1E-99999999999999999999999", ok, 0.0},
    // As pasted from a spreadsheet or a terminal, and grouped the French way.
    {"\t5", ok, 5.0},
    {"  250,5\r\n", ok, 250.5},
    {"1 000", ok, 1000.0},
    {"1 234 567,89", ok, 1234567.89},
    {"-12\u00A0345", ok, -12345.0},
    {"1\u202F234\u00A0567,5", ok, 1234567.5},
    {"1 234E+3", ok, 1234000.0},
    {"1\u2009234\u2007567,5", ok, 1234567.5}, // thin and figure spaces
    {"\u22125", ok, -5.0},                    // the minus sign
    // With its currency, as documents write it.
    {"1 500 F", ok, 1500.0, &kFranc},
    {"1 500,50 F", ok, 1500.5, &kFranc},
    {"100 FF", ok, 100.0, &kFranc},
    {"100F", ok, 100.0, &kFranc},
    {"100 F.", ok, 100.0, &kFranc},
    {"1\u2009500,00\u2009F", ok, 1500.0, &kFranc},
    {"\u221215,24\u00A0\u20AC", ok, -15.24, &kEuro},
    // A point beside a currency groups thousands when three digits follow it.
    {"1.500 F", ok, 1500.0, &kFranc},
    {"F 1.500", ok, 1500.0, &kFranc},
    {"1.500 F.", ok, 1500.0, &kFranc},
    {"1.500 \u20AC", ok, 1500.0, &kEuro},
    {"1.500,50 F", ok, 1500.5, &kFranc},
    {"12.500 F", ok, 12500.0, &kFranc},
    {"1.234.567 F", ok, 1234567.0, &kFranc},
    {"12.50 F", ok, 12.5, &kFranc},
    {"1.5000 F", ok, 1.5, &kFranc},
    // A bare amount's points group only where a point cannot be the comma.
    {"1.500", ok, 1.5},
    {"12.5", ok, 12.5},
    {"1.5E+3", ok, 1500.0},
    {"1.500,00", ok, 1500.0},
    {"1.234.567,89", ok, 1234567.89},
    {"1.234.567", ok, 1234567.0},
    {"250 Frs", ok, 250.0, &kFranc},
    {"100 FRANCS", ok, 100.0, &kFranc},
    {"100 FRF", ok, 100.0, &kFranc},
    {"12 F 50", ok, 12.5, &kFranc},
    {"12F50", ok, 12.5, &kFranc},
    {"15,24\u00A0\u20AC", ok, 15.24, &kEuro},
    {"\u20AC15,24", ok, 15.24, &kEuro},
    {"EUR -15,24", ok, -15.24, &kEuro},
    {"15,24 euros", ok, 15.24, &kEuro},
    {"1EUR", ok, 1.0, &kEuro}, // not an exponent
    {"1e", ok, 1.0, &kEuro},   // an e for the euro sign
    {"346,99e", ok, 346.99, &kEuro},
    // Centimes, of the currency written or else of the one the amount is read in.
    {"60 centimes", ok, 0.6},
    {"60 c.", ok, 0.6},
    {"15 cent.", ok, 0.15},
    {"1 centime", ok, 0.01},
    {"2,5 centimes", ok, 0.025},
    {"0,95 centimes", ok, 0.0095},
    {"60 centimes de franc", ok, 0.6, &kFranc},
    {"66 centimes d'euros", ok, 0.66, &kEuro},
    {"19 cents d'Euro", ok, 0.19, &kEuro},
    {"5 centimes d\u2019\u20AC", ok, 0.05, &kEuro},
    {"1.500 centimes", ok, 15.0},
    // Francs and centimes the old way.
    {"1fr 50", ok, 1.5, &kFranc},
    {"2fr75", ok, 2.75, &kFranc},
    {"2 fr 50", ok, 2.5, &kFranc},
    {"7 fr. 50", ok, 7.5, &kFranc},
    {"7 fr. 50 c.", ok, 7.5, &kFranc},
    {"0 fr. 30 c.", ok, 0.3, &kFranc},
    {"0 fr. 05 c.", ok, 0.05, &kFranc},
    {"1 franc 05", ok, 1.05, &kFranc},
    {"3 francs 50 centimes", ok, 3.5, &kFranc},
    {"0f,10", ok, 0.1, &kFranc},
    {"1 500 F 50", ok, 1500.5, &kFranc},
    // Words that qualify the amount without changing it.
    {"1 500 F TTC", ok, 1500.0, &kFranc},
    {"150 \u20AC H.T.", ok, 150.0, &kEuro},
    {"5 382 000 \u20AC HT", ok, 5382000.0, &kEuro},
    {"24 390 euros (TTC)", ok, 24390.0, &kEuro},
    {"99 \u20AC (T.T.C.)", ok, 99.0, &kEuro},
    {"12,02 euros brut", ok, 12.02, &kEuro},
    {"2 800 F net par mois", ok, 2800.0, &kFranc},
    {"3,75 francs le kilo", ok, 3.75, &kFranc},
    {"29\u20AC le kg", ok, 29.0, &kEuro},
    {"0,10 F/l", ok, 0.1, &kFranc},
    {"0,8 F/m\u00B2", ok, 0.8, &kFranc},
    {"4 800 euros/m\u00B2", ok, 4800.0, &kEuro},
    {"250 \u20AC / jour", ok, 250.0, &kEuro},
    {"15 \u20AC l'heure", ok, 15.0, &kEuro},
    {"1 200 \u20AC par an HT", ok, 1200.0, &kEuro},
    {"0 fr. 30 le kilo", ok, 0.3, &kFranc},
    {"6,55957 francs fran\u00E7ais", ok, 6.55957, &kFranc},
    {"1350 francs*", ok, 1350.0, &kFranc},
    {"\u20AC 150 HT", ok, 150.0, &kEuro},
    // Scale words.
    {"600 millions d'euros", ok, 600e6, &kEuro},
    {"346,5 millions de francs", ok, 346.5e6, &kFranc},
    {"3,211 milliards de francs", ok, 3.211e9, &kFranc},
    {"1,5 million d\u2019euros", ok, 1.5e6, &kEuro},
    {"5 mille francs", ok, 5000.0, &kFranc},
    {"600 millions \u20AC", ok, 600e6, &kEuro},
    {"2 millions", ok, 2e6},
    {"5 MF", ok, 5e6, &kFranc},
    {"180 KF", ok, 180e3, &kFranc},
    {"37 k\u20AC", ok, 37e3, &kEuro},
    {"27,44 K\u20AC", ok, 27440.0, &kEuro},
    {"2 M\u20AC HT", ok, 2e6, &kEuro},
    {"1E+300 milliards", tooLarge},
    // Approximate, and spaced out by justified text.
    {"\u2248 15,24 \u20AC", ok, 15.24, &kEuro},
    {"~15 \u20AC", ok, 15.0, &kEuro},
    {"env. 15 \u20AC", ok, 15.0, &kEuro},
    {"environ 15 \u20AC", ok, 15.0, &kEuro},
    {"env. 1.234.567", ok, 1234567.0},
    {"env. 1.5", ok, 1.5},
    {"215   000   \u20AC   HT", ok, 215000.0, &kEuro},
    {"12  345", ok, 12345.0},
    // The franc before 1960 and the one after it.
    {"10 000 AF", ok, 100.0, &kFranc},
    {"AF 10 000", ok, 100.0, &kFranc},
    {"12 000 anciens francs", ok, 120.0, &kFranc},
    {"1 ancien franc", ok, 0.01, &kFranc},
    {"10 millions d'anciens francs", ok, 1e5, &kFranc},
    {"100 NF", ok, 100.0, &kFranc},
    {"5 nouveaux francs", ok, 5.0, &kFranc},
    {"1 nouveau franc", ok, 1.0, &kFranc},
    {"", notANumber},
    {"   ", notANumber},
    {",", notANumber},
    {"-", notANumber},
    {"-,", notANumber},
    {"1,,2", notANumber},
    {"1,2,3", notANumber},
    {"1.2.3", notANumber},
    {"1.500.5", notANumber},
    {"1.234 567", notANumber}, // spaces and points never group the same number
    {"1234.567 F", notANumber},
    {"1,500.00", notANumber},
    {"100 F,", notANumber},
    {"--5", notANumber},
    {"+-5", notANumber},
    {"5-", notANumber},
    {"1E", notANumber},
    {"1e+", notANumber},
    {"e5", notANumber},
    {",e5", notANumber},
    {"1E5,2", notANumber},
    {"nan", notANumber},
    {"inf", notANumber},
    {"infinity", notANumber},
    {"0x1p3", notANumber},
    {"\u0665", notANumber},
    {"5\u00A0", notANumber},
    {"1 23", notANumber},
    {"1234 567", notANumber},
    {"1 2345", notANumber},
    {"1 234 5", notANumber},
    {"- 123", notANumber},
    {"1,234 567", notANumber},
    {"1\u200A234", notANumber}, // a hair space does not group
    {"1 \t234", notANumber},
    {"F", notANumber},
    {"100 F F", notANumber},
    {"12 F 5", notANumber},
    {"12,5 F 50", notANumber}, // centimes follow whole francs only
    {"100 $", notANumber},
    {"F100F", notANumber},
    {"F,5", notANumber},      // "F." then 5, or "F" then ,5
    {"-\u20AC5", notANumber}, // the sign stays with the number
    {"2 fr 5", notANumber},   // centimes the old way have two digits
    {"2 fr 505", notANumber},
    {"1 \u20AC 50", notANumber},
    {"1 FF 50", notANumber},
    {"12 F 50c", notANumber},
    {"150 HT", notANumber}, // qualifiers follow a currency
    {"150 \u20AC HT TTC", notANumber},
    {"150 \u20AC HTT", notANumber},
    {"5 mille de francs", notANumber},
    {"5 mF", notANumber},
    {"346,99 e", notANumber},
    {"> 5 \u20AC", notANumber},
    {"5 \u00E0 6 francs", notANumber},
    {"0,80-0,90 \u20AC", notANumber},
    {"six francs", notANumber},
    {"5 sous", notANumber},
    {"12 CHF", notANumber},
    {"5 FCFA", notANumber},
    {"10 \u00E9cus", notANumber},
    {"2 fr. 90 suisses", notANumber},
    {"5 Fr\u00E9", notANumber},
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ReadAmountTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadAmountTest, FollowsTheGrammar) {
    const ReadResult result = readAmount(GetParam().text);
    EXPECT_EQ(result.status, GetParam().status);
    if (GetParam().status == ok) {
        EXPECT_EQ(result.value, GetParam().value);
        EXPECT_EQ(result.currency, GetParam().currency);
        EXPECT_EQ(result.francWord == FrancWord::none, GetParam().currency != &kFranc);
        // The exact value, when there is one, is the value read.
        if (result.exact) {
            const std::string written = std::to_string(result.exact->significand) + 'e' +
                                        std::to_string(result.exact->exponent);
            double exact = 0.0;
            std::from_chars(written.data(), written.data() + written.size(), exact);
            EXPECT_EQ(result.exact->negative ? -exact : exact, GetParam().value);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadAmountTest, ::testing::ValuesIn(kReadCases));

// The stop, and the part there that the user would name.
TEST(ReadAmountTest, StopsAtWhatDoesNotRead) {
    const std::tuple<const char*, std::size_t, std::string_view> cases[] = {
        {"1 500 F TVA", 8, "TVA"},
        {"Total : 1 500 F", 0, "Total"},
        {"(15,24 \u20AC)", 0, "("},
        {"1,,2", 2, ","},
        {"  12a", 4, "a"},
        {"F", 0, "F"},
        {"1.2.3", 3, "."},
        {"1\n2", 1, "\n"},
        {" ", 1, ""},
        {"-", 1, ""},
        {"2 fr 5", 5, "5"},
        {"2 fr 505", 5, "505"},
        {"12 F 50x", 5, "50x"},
        {"1 500 F 50 000", 8, "50"},
        {"5 \u00E0 6 francs", 2, "\u00E0"},
        {"12 CHF", 3, "CHF"},
        {"5 FCFA", 2, "FCFA"},
        {"100 Francsx", 4, "Francsx"},
        {"0,80-0,90 \u20AC", 4, "-"},
        {"2 fr. 90 suisses", 9, "suisses"},
        {"\u2248\u2248 5", 3, "\u2248"},
        {"5 \u20AC \U0001F600", 6, "\U0001F600"},
    };
    for (const auto& [text, stop, part] : cases) {
        const ReadResult result = readAmount(text);
        EXPECT_EQ(result.stop, stop) << text;
        EXPECT_EQ(std::string_view(text).substr(stop, result.stopEnd - stop), part) << text;
    }
}

TEST(ReadAmountTest, TellsWhichFranc) {
    using enum FrancWord;
    const std::pair<const char*, FrancWord> cases[] = {
        {"100 F", franc},
        {"5 MF", franc},
        {"60 centimes de franc", franc},
        {"10 000 AF", ancien},
        {"AF 10 000", ancien},
        {"1 ancien franc", ancien},
        {"12 000 anciens  francs", ancien},
        {"10 millions d'anciens francs", ancien},
        {"100 NF", nouveau},
        {"5 nouveaux francs", nouveau},
        {"1 nouveau franc", nouveau},
        {"60 centimes", none},
    };
    for (const auto& [text, franc] : cases) {
        EXPECT_EQ(readAmount(text).francWord, franc) << text;
    }
}

// The exact value follows the centimes, the anciens francs and the scale words.
TEST(ReadAmountTest, KeepsTheExactValue) {
    const std::pair<const char*, Decimal> cases[] = {
        {"150", {15, 1}},
        {"-12,50", {125, -1, true}},
        {"60 centimes", {6, -1}},
        {"10 000 AF", {1, 2}},
        {"2,5 M\u20AC", {25, 5}},
        {"1,5E+3 milliards", {15, 11}},
        {"12345678901234567,89", {1234567890123456789, -2}},
    };
    for (const auto& [text, exact] : cases) {
        EXPECT_EQ(readAmount(text).exact, exact) << text;
    }
    EXPECT_EQ(readAmount("12345678901234567891").exact, std::nullopt);
}

TEST(WriteAmountTest, WritesTheFrenchGeneralForm) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1000.0, "1000"},
        {6.56, "6,56"},
        {0.152, "0,152"},
        {-32.798, "-32,798"},
        {152449.017, "152449,017"},
        {123456789012.345, "123456789012,345"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E+15"},
        {1.5e20, "1,5E+20"},
        {-2.5e300, "-2,5E+300"},
        {std::numeric_limits<double>::max(), "1,79769313486231E+308"},
        {-std::numeric_limits<double>::max(), "-1,79769313486231E+308"},
        {0.001, "0,001"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(writeAmount(value), text) << value;
    }
}

// A result is written from its count of thousandths as from its rounded value.
TEST(WriteAmountTest, RoundedAmountsAreWrittenAlike) {
    // Mantissas spread by a Weyl sequence, the same on every run.
    std::uint64_t bits = 0;
    for (int i = 0; i < 200000; ++i) {
        bits += 0x9E3779B97F4A7C15;
        const double value = std::ldexp(static_cast<double>(bits >> 11), i % 120 - 70);
        for (const double signed_ : {value, -value}) {
            ASSERT_EQ(writeRoundedAmount(signed_), writeAmount(roundToThousandths(signed_)))
                << std::hexfloat << signed_;
        }
    }
    for (const double value : {0.0, -0.0, 0.0005, 0.0015, -0.0004, 999999999999.9995, 1e12}) {
        EXPECT_EQ(writeRoundedAmount(value), writeAmount(roundToThousandths(value))) << value;
    }
}

TEST(WriteAmountTest, WrittenTextsReadBackToThemselves) {
    for (double value : {0.001, 15.245, 152449.017, 123456789012.345, 1e15, 6.55957e16,
                         1.79732218e308, std::numeric_limits<double>::max(), -1e-5}) {
        const std::string text = writeAmount(value);
        const ReadResult back = readAmount(text);
        ASSERT_EQ(back.status, ok) << text;
        EXPECT_EQ(writeAmount(back.value), text);
    }
}

// The window toolkit sets the process locale from the environment; amounts must not
// follow it.
class LocaleTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr)
            << GetParam() << " is missing: LOCPATH must point at the test locales";
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_P(LocaleTest, AmountsKeepTheFrenchForm) {
    EXPECT_EQ(readAmount("12,5").value, 12.5);
    EXPECT_EQ(readAmount("12.5").value, 12.5);
    EXPECT_EQ(readAmount("1,5E+3").value, 1500.0);
    EXPECT_EQ(writeAmount(1234.5), "1234,5");
    EXPECT_EQ(writeAmount(1.5e20), "1,5E+20");

    Korvalin korvalin;
    korvalin.editEcran("12.5");
    korvalin.press(KeyId::francs);
    EXPECT_EQ(korvalin.display().ecran, "81,995");
}

#ifdef _WIN32
// Windows names its locales; the French one, with its comma, is there too.
const auto kLocales = ::testing::Values("C", "French_France.1252", "English_United States.1252",
                                        "German_Germany.1252");
#else
const auto kLocales = ::testing::Values("C.UTF-8", "en_US.UTF-8", "de_DE.UTF-8");
#endif

INSTANTIATE_TEST_SUITE_P(Locales, LocaleTest, kLocales, [](const auto& param) {
    std::string name = param.param;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
});

} // namespace
} // namespace korvalin
