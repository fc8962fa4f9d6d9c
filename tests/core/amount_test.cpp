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
    {"1e", notANumber},
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
    {"12  345", notANumber},
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
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadAmountTest, ::testing::ValuesIn(kReadCases));

TEST(ReadAmountTest, StopsAtWhatDoesNotRead) {
    const std::pair<const char*, std::size_t> cases[] = {
        {"1 500 F TTC", 8},
        {"Total : 1 500 F", 0},
        {"(15,24 \u20AC)", 0},
        {"1,,2", 2},
        {"  12a", 4},
        {"F", 0},
        {"1.2.3", 3},
        {"1\n2", 1},
        {" ", 1},
    };
    for (const auto& [text, stop] : cases) {
        EXPECT_EQ(readAmount(text).stop, stop) << text;
    }
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
