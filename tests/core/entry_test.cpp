// SPDX-License-Identifier: GPL-3.0-or-later
#include "Korvalin.h"
#include "Steps.h"

#include <gtest/gtest.h>
#include <vector>

namespace korvalin {
namespace {

using test::after;
using test::Asked;
using test::Step;
using test::Typed;
using enum KeyId;

struct EntryCase {
    const char* name;
    std::vector<Step> steps;
    Display expected;
};

// A conversion of 100 francs, so that a result is on show.
const std::vector<Step> kShownResult{un, zero, zero, euros};

std::vector<Step> then(std::vector<Step> steps, std::initializer_list<Step> more) {
    steps.insert(steps.end(), more);
    return steps;
}

const Display kHiddenConversion{.ecran2 = "100", .monaie2 = &kFranc};
const Display kShownDisplay{"15,245", &kEuro, "100", &kFranc, true};

const EntryCase kEntryCases[] = {
    {"nothing", {}, Display{}},
    {"digits_append", {un, zero, zero}, {.ecran = "100"}},
    {"leading_zero_stays", {zero, cinq}, {.ecran = "05"}},
    {"leading_comma", {virgule, cinq}, {.ecran = ",5"}},
    {"second_comma_is_not_refused", {un, virgule, virgule, deux}, {.ecran = "1,,2"}},
    {"every_digit",
     {un, deux, trois, quatre, cinq, six, sept, huit, neuf, zero},
     {.ecran = "1234567890"}},
    {"key_after_keyboard_text", {Typed{"12"}, trois}, {.ecran = "123"}},
    {"key_after_result_starts_afresh",
     then(kShownResult, {sept}),
     {.ecran = "7", .ecran2 = "100", .monaie2 = &kFranc}},
    {"comma_after_result",
     then(kShownResult, {virgule}),
     {.ecran = ",", .ecran2 = "100", .monaie2 = &kFranc}},
    {"keyboard_text_over_result_is_discarded",
     then(kShownResult, {Typed{"999"}, cinq}),
     {.ecran = "5", .ecran2 = "100", .monaie2 = &kFranc}},
    {"delete_while_typing", {un, deux, delete_}, Display{}},
    {"delete_twice", {un, deux, delete_, delete_}, Display{}},
    {"delete_after_result_keeps_hidden_secondary", then(kShownResult, {delete_}),
     kHiddenConversion},
    {"key_after_delete_after_result",
     then(kShownResult, {delete_, cinq}),
     {.ecran = "5", .ecran2 = "100", .monaie2 = &kFranc}},
    {"delete_clears_keyboard_text", {Typed{"abc"}, delete_}, Display{}},
    {"annuler_brings_back_a_result_a_key_ended", then(kShownResult, {sept, Asked::annuler}),
     kShownDisplay},
    {"retablir_goes_forward_again",
     then(kShownResult, {sept, huit, Asked::annuler, Asked::retablir}),
     {.ecran = "78", .ecran2 = "100", .monaie2 = &kFranc}},
    {"annuler_brings_back_what_delete_cleared",
     {un, deux, delete_, Asked::annuler},
     {.ecran = "12"}},
    {"an_edit_forgets_retablir",
     {un, delete_, Asked::annuler, Typed{"12"}, Asked::retablir},
     {.ecran = "12"}},
    {"a_conversion_forgets_annuler",
     then(kShownResult, {sept, euros, Asked::annuler}),
     {"1,067", &kEuro, "7", &kFranc, true}},
    {"a_conversion_of_nothing_forgets_nothing",
     then(kShownResult, {delete_, euros, Asked::annuler}), kShownDisplay},
};

void PrintTo(const EntryCase& c, std::ostream* out) {
    *out << c.name;
}

class EntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryTest, LeavesTheDisplayAsExpected) {
    EXPECT_EQ(after(GetParam().steps).display(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(KeySequences, EntryTest, ::testing::ValuesIn(kEntryCases),
                         [](const auto& param) { return std::string(param.param.name); });

// An edit of the main display is about to apply: a shown result goes first.
TEST(BeginEditTest, KeepsAnAmountBeingTyped) {
    Korvalin korvalin = after({un, deux});
    EXPECT_FALSE(korvalin.beginEdit());
    EXPECT_EQ(korvalin.display(), Display{.ecran = "12"});
}

TEST(BeginEditTest, EndsAShownResult) {
    Korvalin korvalin = after(kShownResult);
    EXPECT_TRUE(korvalin.beginEdit());
    EXPECT_EQ(korvalin.display(), kHiddenConversion);
}

struct KeyResultCase {
    const char* name;
    std::vector<Step> before;
    KeyId key;
    KeyResult expected;
};

using Effect = KeyResult::Effect;

const KeyResultCase kKeyResultCases[] = {
    {"digit", {un}, deux, {Effect::typed}},
    {"digit_after_result", kShownResult, deux, {Effect::typed, true}},
    {"comma_after_failure", {Typed{"1,,2"}, euros}, virgule, {Effect::typed}}, // nothing converted
    {"delete", kShownResult, delete_, {Effect::cleared}},
    {"euros", {un}, euros, {Effect::converted, false, ConversionDirection::toEuros}},
    {"francs_on_result",
     kShownResult,
     francs,
     {Effect::converted, false, ConversionDirection::toFrancs}},
    {"conversion_of_nothing", {}, francs, {Effect::nothing}},
    {"off", kShownResult, off, {Effect::close}},
};

void PrintTo(const KeyResultCase& c, std::ostream* out) {
    *out << c.name;
}

class KeyResultTest : public ::testing::TestWithParam<KeyResultCase> {};

// What a key reports is what it did: the window draws and announces from it alone.
TEST_P(KeyResultTest, TellsWhatTheKeyDid) {
    Korvalin korvalin = after(GetParam().before);
    const Display before = korvalin.display();
    EXPECT_EQ(korvalin.press(GetParam().key), GetParam().expected);
    if (GetParam().key == off) {
        EXPECT_EQ(korvalin.display(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyResultTest, ::testing::ValuesIn(kKeyResultCases),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace korvalin
