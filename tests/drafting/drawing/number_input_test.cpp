#include "drawing/number_input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace linework {
namespace {

struct Case {
    const char* text;
    int32_t angleMode;
    std::optional<double> expected;
};

class NumberGrammarTest : public ::testing::TestWithParam<Case> {};

TEST_P(NumberGrammarTest, EvaluatesAsTheGrammarSays) {
    const Case& c = GetParam();
    NumberGrammar grammar{c.angleMode, 0};
    auto value = EvaluateNumberInput(c.text, grammar);
    ASSERT_EQ(value.has_value(), c.expected.has_value()) << c.text;
    if (value) {
        EXPECT_NEAR(*value, *c.expected, 1e-12) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, NumberGrammarTest,
    ::testing::Values(
        Case{"12", 0, 12}, Case{"-0.5", 0, -0.5}, Case{"1e3", 0, 1000}, Case{" 2e-5 ", 0, 2e-5},
        Case{"1AH", 0, 26}, Case{"1ah", 0, 26}, Case{"H", 0, std::nullopt},
        Case{"FFFFFFFFFFFFFFFFH", 0, 18446744073709551615.0}, Case{"10000000000000000H", 0, std::nullopt},
        Case{"1g", 0, std::nullopt}, Case{"-1AH", 0, std::nullopt},
        // The degree form applies in degree mode only; a plain real is the same in every mode.
        Case{"12.30.15", 0, 12 + 30 / 60.0 + 15 / 3600.0}, Case{"12.30.15", 1, std::nullopt},
        Case{"-12.30.", 0, -12.5}, Case{"12.5", 1, 12.5}, Case{"12.30", 0, 12.3}, Case{"12.x.5", 0, std::nullopt},
        Case{"4/0", 0, std::nullopt}, Case{"-4/2", 0, -2}, Case{"3 - -1", 0, 4}, Case{"12 -3", 0, 9},
        Case{"1.5*2", 0, 3}, Case{"1AH+1", 0, 27}, Case{"2-", 0, std::nullopt},
        // Only what the grammar holds: none of what strtod adds, no locale comma.
        Case{"inf", 0, std::nullopt}, Case{"nan", 0, std::nullopt}, Case{"0x1p3", 0, std::nullopt},
        Case{"1,5", 0, std::nullopt}, Case{"", 0, std::nullopt}, Case{"1e", 0, std::nullopt},
        Case{".", 0, std::nullopt}, Case{"+.5", 0, 0.5},
        // The magnitude limit is 1e38 inclusive.
        Case{"1e38", 0, 1e38}, Case{"1.0000001e38", 0, std::nullopt}, Case{"-1e38", 0, -1e38},
        Case{"1e20*1e20", 0, std::nullopt}, Case{"1e400", 0, std::nullopt}));

TEST(NumberGrammar, UnitAndSubUnitFormNeedsSubUnits) {
    NumberGrammar grammar{kAngleDegrees, 12};
    EXPECT_DOUBLE_EQ(*EvaluateNumberInput("3:6", grammar), 3.5);
    EXPECT_DOUBLE_EQ(*EvaluateNumberInput("-3:6", grammar), -3.5);
    EXPECT_DOUBLE_EQ(*EvaluateNumberInput("3:", grammar), 3);
    EXPECT_FALSE(EvaluateNumberInput("3:x", grammar));
    grammar.subUnits = 0;
    EXPECT_FALSE(EvaluateNumberInput("3:6", grammar));
}

TEST(NumberGrammar, AFailedInputLeavesTheLastValues) {
    NumberInput input;
    ASSERT_TRUE(input.Evaluate("3000000000"));
    EXPECT_EQ(input.integer, static_cast<int32_t>(3000000000u - 4294967296u));
    EXPECT_FALSE(input.Evaluate("4/0"));
    EXPECT_EQ(input.real, 3000000000.0);
}

TEST(NumberGrammar, APlainRealBeyondADoubleOverflows) {
    struct Overflow {
        std::string text;
        bool overflows;
    };
    const Overflow cases[] = {
        {"1e400", true},        {"-1E400", true},       {"+1e+400", true},     {"1.8e308", true},
        {"0.0018e311", true},   {"1.7e308", false},     {"1e308", false},      {"1e-400", false},
        {"0.001e-400", false},  {"0e99999", false},     {"000.000e400", false}, {"1e400x", false},
        {"x1e400", false},      {"1e", false},          {"inf", false},        {"12", false},
        {"1e99999999999999999999", true},               {"1" + std::string(400, '0'), true},
        {"0." + std::string(400, '0') + "1", false},
    };
    for (const Overflow& c : cases) EXPECT_EQ(PlainRealOverflows(c.text), c.overflows) << c.text;
}

// One sign at most, then digits alone; the range is the 32-bit one, both ends included.
TEST(PlainInteger, TakesOneOptionalSignAndDigits) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"5", 5},        {"+5", 5},         {"-5", -5},       {"+-5", std::nullopt}, {"-+5", std::nullopt},
        {"++5", std::nullopt}, {"--5", std::nullopt}, {"+", std::nullopt}, {"", std::nullopt}, {"5 ", std::nullopt},
        {"2147483647", INT32_MAX}, {"2147483648", std::nullopt}, {"-2147483648", INT32_MIN},
        {"-2147483649", std::nullopt}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(ParsePlainInteger(text), expected) << text;
    // The minutes of an operand in the degree form are such an integer.
    EXPECT_FALSE(ParseNumber("12.+-30.", NumberGrammar{}));
    EXPECT_DOUBLE_EQ(*ParseNumber("12.+30.", NumberGrammar{}), 12.5);
}

TEST(SafeTrunc, WrapsTheUnsignedRangeAndGivesZeroOutside) {
    EXPECT_EQ(SafeTrunc(-2.9), -2);
    EXPECT_EQ(SafeTrunc(2147483647.0), 2147483647);
    EXPECT_EQ(SafeTrunc(2147483647.5), INT32_MIN);  // above 2^31-1 the wrapped value is truncated
    EXPECT_EQ(SafeTrunc(2147483648.0), INT32_MIN);
    EXPECT_EQ(SafeTrunc(4294967295.0), -1);
    EXPECT_EQ(SafeTrunc(4294967296.0), 0);
    EXPECT_EQ(SafeTrunc(-2147483648.0), INT32_MIN);
    EXPECT_EQ(SafeTrunc(-2147483649.0), 0);
    EXPECT_EQ(SafeTrunc(std::nan("")), 0);
    EXPECT_EQ(SafeTrunc(INFINITY), 0);
}

}  // namespace
}  // namespace linework
