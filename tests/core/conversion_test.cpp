// SPDX-License-Identifier: GPL-3.0-or-later
#include "Korvalin.h"
#include "Steps.h"

#include <gtest/gtest.h>
#include <iomanip>
#include <limits>
#include <vector>

namespace korvalin {
namespace {

using test::after;
using test::Step;
using test::Typed;
using enum KeyId;

struct ConversionCase {
    const char* name;
    std::vector<Step> steps;
    std::string ecran;
    std::string monaie;
    std::string ecran2;
    std::string monaie2;
};

const ConversionCase kConversionCases[] = {
    {"hundred_francs", {un, zero, zero, euros}, "15,245", "Euros", "100", "Francs"},
    {"one_euro", {un, francs}, "6,56", "Francs", "1", "Euros"},
    {"back_to_francs", {Typed{"15,245"}, francs}, "100,001", "Francs", "15,245", "Euros"},
    {"whole_result_has_no_comma", {Typed{"152,449"}, francs}, "1000", "Francs", "152,449", "Euros"},
    {"two_and_a_half_euros", {deux, virgule, cinq, francs}, "16,399", "Francs", "2,5", "Euros"},
    {"ten_francs", {un, zero, euros}, "1,524", "Euros", "10", "Francs"},
    {"below_one", {un, euros}, "0,152", "Euros", "1", "Francs"},
    {"million_francs", {Typed{"1000000"}, euros}, "152449,017", "Euros", "1000000", "Francs"},
    {"exactly_one_euro", {Typed{"6,55957"}, euros}, "1", "Euros", "6,55957", "Francs"},
    {"zero", {zero, euros}, "0", "Euros", "0", "Francs"},
    {"leading_comma", {virgule, cinq, euros}, "0,076", "Euros", ",5", "Francs"},
    {"point_typed_from_keyboard", {Typed{"12.5"}, francs}, "81,995", "Francs", "12,5", "Euros"},
    {"round_trip_from_result",
     {un, zero, zero, euros, francs},
     "100,001",
     "Francs",
     "15,245",
     "Euros"},
    {"negative_typed_from_keyboard", {Typed{"-5"}, francs}, "-32,798", "Francs", "-5", "Euros"},
    {"tiny_negative_is_zero", {Typed{"-0,0001"}, euros}, "0", "Euros", "-0,0001", "Francs"},
    {"large_result_in_scientific_form",
     {Typed{"1E+16"}, francs},
     "6,55957E+16",
     "Francs",
     "1E+16",
     "Euros"},
    {"largest_double_to_euros",
     {Typed{"1,7976931348623157E+308"}, euros},
     "2,74056551704199E+307",
     "Euros",
     "1,7976931348623157E+308",
     "Francs"},
    // Results between 2^51 and 2^52 keep all fifteen digits: rounding leaves them alone.
    {"result_near_2_to_51_to_euros",
     {Typed{"1,6769540139105860E+16"}, euros},
     "2,55649991372999E+15",
     "Euros",
     "1,6769540139105860E+16",
     "Francs"},
    {"result_near_2_to_51_to_francs",
     {Typed{"3,9615271013687875E+14"}, francs},
     "2,59859143283257E+15",
     "Francs",
     "3,9615271013687875E+14",
     "Euros"},
    // Amounts with their currency, as documents write them.
    {"grouped_francs", {Typed{"1 500 F"}, euros}, "228,674", "Euros", "1 500 F", "Francs"},
    {"francs_grouped_by_points",
     {Typed{"1.500 F"}, euros},
     "228,674",
     "Euros",
     "1.500 F",
     "Francs"},
    {"francs_with_points_and_comma",
     {Typed{"1.500,50 F"}, euros},
     "228,75",
     "Euros",
     "1.500,50 F",
     "Francs"},
    {"euros_grouped_by_a_point",
     {Typed{"1.500 \u20AC"}, francs},
     "9839,355",
     "Francs",
     "1.500 \u20AC",
     "Euros"},
    {"bare_points_grouping_before_a_comma",
     {Typed{"1.234.567,89"}, euros},
     "188208,662",
     "Euros",
     "1.234.567,89",
     "Francs"},
    {"bare_point_is_the_comma", {Typed{"1.500"}, euros}, "0,229", "Euros", "1,500", "Francs"},
    {"decimal_point_beside_francs",
     {Typed{"12.50 F"}, euros},
     "1,906",
     "Euros",
     "12,50 F",
     "Francs"},
    {"francs_and_centimes", {Typed{"12 F 50"}, euros}, "1,906", "Euros", "12 F 50", "Francs"},
    {"euros_sign", {Typed{"15,24 \u20AC"}, francs}, "99,968", "Francs", "15,24 \u20AC", "Euros"},
    {"frf", {Typed{"100 FRF"}, euros}, "15,245", "Euros", "100 FRF", "Francs"},
    // Exact ties go to the even thousandth, whichever way their doubles fall.
    {"tie_150", {Typed{"150"}, francs}, "983,936", "Francs", "150", "Euros"},
    {"tie_half", {Typed{"0,5"}, francs}, "3,28", "Francs", "0,5", "Euros"},
    {"tie_one_and_a_half", {Typed{"1,5"}, francs}, "9,839", "Francs", "1,5", "Euros"},
    {"tie_350", {Typed{"350"}, francs}, "2295,85", "Francs", "350", "Euros"},
    {"exact_million_and_a_half",
     {Typed{"1 500 000 F"}, euros},
     "228673,526",
     "Euros",
     "1 500 000 F",
     "Francs"},
    // Fifteen digits at most, exact or not: a longer result would not read back.
    {"fifteen_digits",
     {Typed{"1234567890123,45"}, francs},
     "8098234495017,08",
     "Francs",
     "1234567890123,45",
     "Euros"},
    // Rounding by scaling would overflow here, though the product itself is finite.
    {"just_below_overflow",
     {Typed{"2,74E+307"}, francs},
     "1,79732218E+308",
     "Francs",
     "2,74E+307",
     "Euros"},
};

void PrintTo(const ConversionCase& c, std::ostream* out) {
    *out << c.name;
}

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, ShowsResultAndConvertedAmount) {
    const ConversionCase& c = GetParam();
    const auto named = [](const std::string& label) { return label == "Euros" ? &kEuro : &kFranc; };
    EXPECT_EQ(after(c.steps).display(), (Display{.ecran = c.ecran,
                                                 .monaie = named(c.monaie),
                                                 .ecran2 = c.ecran2,
                                                 .monaie2 = named(c.monaie2),
                                                 .secondaryShown = true}));
}

INSTANTIATE_TEST_SUITE_P(Amounts, ConversionTest, ::testing::ValuesIn(kConversionCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ConversionTest, EmptyDisplayChangesNothing) {
    for (KeyId key : {euros, francs}) {
        Korvalin atStart;
        atStart.press(key);
        EXPECT_EQ(atStart.display(), Display{});

        // Keyboard text erased over a result: the labels and the secondary display stay.
        Korvalin overResult = after({un, euros, Typed{""}});
        const Display before = overResult.display();
        overResult.press(key);
        EXPECT_EQ(overResult.display(), before);
    }
}

TEST(RoundingTest, HalvesGoToEven) {
    EXPECT_EQ(roundToThousandths(0.0625), 0.062);
    EXPECT_EQ(roundToThousandths(0.1875), 0.188);
    EXPECT_EQ(roundToThousandths(0.3125), 0.312);
    EXPECT_EQ(roundToThousandths(-0.0625), -0.062);
    EXPECT_EQ(roundToThousandths(0.00025), 0.0);
    EXPECT_EQ(roundToThousandths(15.2449017), 15.245);
}

TEST(RoundingTest, RoundsJustBelowTwoToThe43) {
    // 2^43 - 21 ulps: its fraction ,9794921875 still has digits below a thousandth.
    EXPECT_EQ(roundToThousandths(8796093022207.9794921875), 8796093022207.978515625);
}

TEST(RoundingTest, LeavesValuesWithNothingToRoundAsTheyAre) {
    // From 2^43 on, neighbouring doubles are more than a thousandth apart.
    constexpr double kMax = std::numeric_limits<double>::max();
    for (double value :
         {8796093022208.0, 8796093022208.001953125, 2556499913729994.5, -2598591432832565.5,
          4503599627370495.5, 4503599627370497.0, 1e300, 2e305, kMax, -kMax}) {
        EXPECT_EQ(roundToThousandths(value), value) << std::setprecision(17) << value;
    }
}

struct FailureCase {
    std::vector<Step> steps;
    Refusal::Reason reason;
    KeyId key = euros;
};

using enum Refusal::Reason;

const FailureCase kFailureCases[] = {
    {{Typed{"1,,2"}}, notANumber},
    {{Typed{","}}, notANumber},
    {{Typed{"abc"}}, notANumber},
    {{Typed{"12a"}}, notANumber},
    {{Typed{"1.2.3"}}, notANumber},
    {{Typed{"nan"}}, notANumber},
    {{Typed{"inf"}}, notANumber},
    {{Typed{"0x10"}}, notANumber},
    {{Typed{"1 00"}}, notANumber},
    {{Typed{"1 500 F TVA"}}, notANumber},
    {{Typed{"\u0661\u0662"}}, notANumber}, // Arabic-Indic digits
    {{Typed{"\uFF11"}}, notANumber},       // fullwidth one
    {{Typed{"1E+400"}}, overflow},
    {{Typed{"1,8E+308"}}, overflow, francs},
    {{Typed{"2,741E+307"}}, overflow, francs},
    {{Typed{"-2,741E+307"}}, overflow, francs},
    // Written in the currency the key converts to: the other key converts it.
    {{Typed{"15,24 \u20AC"}}, otherCurrency},
    {{Typed{"EUR 1E+400"}}, otherCurrency}, // refused before it overflows
    {{Typed{"100 F"}}, otherCurrency, francs},
    // A result is in the currency of the key that produced it.
    {{un, zero, zero, euros}, otherCurrency},
    {{un, francs}, otherCurrency, francs},
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(after(c.steps).display());
}

class FailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, ChangesNothing) {
    const FailureCase& c = GetParam();
    Korvalin korvalin = after(c.steps);
    const Display before = korvalin.display();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const KeyResult result = korvalin.press(c.key);
        ASSERT_EQ(result.effect, KeyResult::Effect::refused) << "converted " << before.ecran;
        EXPECT_EQ(result.refusal->reason, c.reason);
        if (c.reason == otherCurrency) { // the other key converts it
            EXPECT_EQ(result.refusal->converting,
                      otherDirection(c.key == euros ? ConversionDirection::toEuros
                                                    : ConversionDirection::toFrancs));
        }
        EXPECT_EQ(korvalin.display(), before) << "attempt " << attempt;
    }

    // A refused amount is still there to correct; a refused result starts afresh.
    korvalin.press(cinq);
    Display corrected = before;
    corrected.ecran += '5';
    if (before.monaie != nullptr) {
        corrected = {.ecran = "5", .ecran2 = before.ecran2, .monaie2 = before.monaie2};
    }
    EXPECT_EQ(korvalin.display(), corrected);
}

INSTANTIATE_TEST_SUITE_P(Texts, FailureTest, ::testing::ValuesIn(kFailureCases));

} // namespace
} // namespace korvalin
