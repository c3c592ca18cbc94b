// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>

#include "support/comma_decimal_locale.h"

namespace dorvo {
namespace {

TEST(ReadInteger, LongestDecimalPrefixWithBlanksAndSign) {
    EXPECT_EQ(readInteger("  42abc"), 42);
    EXPECT_EQ(readInteger("-7"), -7);
    EXPECT_EQ(readInteger("+3.9"), 3);
    EXPECT_EQ(readInteger("abc"), 0);
    EXPECT_EQ(readInteger(""), 0);
    EXPECT_EQ(readInteger("0x10"), 0);
}

TEST(ReadInteger, ClampsValuesBeyondTheIntRange) {
    EXPECT_EQ(readInteger("99999999999999999999"), INT_MAX);
    EXPECT_EQ(readInteger("-99999999999999999999"), INT_MIN);
}

TEST(ReadReal, LongestDecimalRealPrefix) {
    EXPECT_DOUBLE_EQ(readReal(" 12.5m"), 12.5);
    EXPECT_DOUBLE_EQ(readReal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(readReal("5."), 5.0);
    EXPECT_DOUBLE_EQ(readReal("-1.5e2x"), -150.0);
    EXPECT_DOUBLE_EQ(readReal("2e"), 2.0);
    EXPECT_DOUBLE_EQ(readReal("2e+"), 2.0);
    EXPECT_DOUBLE_EQ(readReal("+"), 0.0);
    EXPECT_DOUBLE_EQ(readReal("."), 0.0);
    EXPECT_DOUBLE_EQ(readReal("abc"), 0.0);
}

TEST(ReadReal, InfinityAndNanWordsAreNotNumbers) {
    EXPECT_DOUBLE_EQ(readReal("inf"), 0.0);
    EXPECT_DOUBLE_EQ(readReal("-nan"), 0.0);
    EXPECT_DOUBLE_EQ(readReal("+infinity"), 0.0);
}

TEST(ReadReal, OverflowIsInfiniteAndUnderflowIsZero) {
    EXPECT_TRUE(std::isinf(readReal("1e999")));
    EXPECT_LT(readReal("-1e999"), 0.0);
    EXPECT_DOUBLE_EQ(readReal("1e-999"), 0.0);
}

TEST(ReadColour, AutomaticBase) {
    EXPECT_EQ(readColour("255"), 0xffu);
    EXPECT_EQ(readColour("0xff"), 0xffu);
    EXPECT_EQ(readColour("32768"), readColour("0x008000"));
    EXPECT_EQ(readColour("010"), 8u);
    EXPECT_EQ(readColour("red"), 0u);
    EXPECT_EQ(formatColour(0x8000), "0x008000");
}

TEST(FormatC, LongOutputIsNotCut) {
    std::string text = formatC("%300d", 5);
    EXPECT_EQ(text.size(), 300u);
    EXPECT_EQ(text.back(), '5');
    EXPECT_EQ(formatC("%8.3f", 1.25), "   1.250");
}

TEST(FormatC, DecimalPointWhateverTheProcessLocale) {
    CommaDecimalLocale locale;
    ASSERT_TRUE(locale.active());
    char direct[32];
    std::snprintf(direct, sizeof direct, "%.2f", 25.0);
    ASSERT_STREQ(direct, "25,00") << "the locale should write a decimal comma";
    EXPECT_EQ(formatC("%8.2f,%8.2f", 25.0, -1.5), "   25.00,   -1.50");
    EXPECT_DOUBLE_EQ(readReal("10.5"), 10.5);
}

}  // namespace
}  // namespace dorvo
