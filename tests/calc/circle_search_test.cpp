// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/circle_search.h"

#include <gtest/gtest.h>

#include "support/memory_message_sink.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

CircleSearch searchOf(std::initializer_list<std::string> fields) {
    CircleSearch search;
    int line = 0;
    for (const std::string& field : fields) search.line(++line) = field;
    return search;
}

CircleSearchCheck check(const CircleSearch& search, CircleSearchValues& values,
                        test::MemoryMessageSink& messages) {
    const CircleSearchCheck result = validateCircleSearch(search, values);
    if (result != CircleSearchCheck::Valid) messages.report(circleSearchMessage(result, values));
    return result;
}

TEST(CircleSearchCounts, EpsilonIsAddedBeforeTruncating) {
    auto columnsUpTo = [](std::string endX) {
        return validCircleSearch(searchOf({"0", "0", endX, "0", "2.5", "1", "3", "0", "1"}));
    };
    ASSERT_TRUE(columnsUpTo("10").ok());
    EXPECT_EQ(columnsUpTo("10")->columns(), 5);
    EXPECT_EQ(columnsUpTo("9.99999")->columns(), 5);
    EXPECT_EQ(columnsUpTo("9.9")->columns(), 4);
    EXPECT_EQ(columnsUpTo("10")->rows(), 1);  // start equal to end
    EXPECT_EQ(columnsUpTo("10")->radiiPerCentre(), 4);
}

TEST(CircleSearchCounts, OnlyACheckedSearchHasASize) {
    EXPECT_FALSE(validCircleSearch(searchOf({"0", "0", "10", "1", "0", "1", "5", "1", "1"})).ok());
    EXPECT_FALSE(
        validCircleSearch(searchOf({"0", "0", "10", "1", "1e-300", "1", "5", "1", "1"})).ok());
}

TEST(ValidateCircleSearch, ResultsAndMessagesInOrderOfTheSteps) {
    test::MemoryMessageSink messages;
    CircleSearchValues values;
    EXPECT_EQ(check(searchOf({"0", "", "1", "1", "1", "1"}), values, messages),
              CircleSearchCheck::MissingCentreField);
    EXPECT_EQ(check(searchOf({"0", "0", "10", "1", "0", "1", "5", "1", "1"}), values, messages),
              CircleSearchCheck::CentreGridInconsistent);
    EXPECT_EQ(check(searchOf({"0", "0", "10", "1", "1", "1", "1", "5", "1"}), values, messages),
              CircleSearchCheck::RadiusInconsistent);
    EXPECT_EQ(
        check(searchOf({"0", "0", "1", "1", "1", "1", "5", "1", "1", "-1"}), values, messages),
        CircleSearchCheck::NegativeLimitPoint);
    ASSERT_EQ(messages.messages.size(), 4u);
    EXPECT_EQ(messages.messages[0].text, "データがありません");
    EXPECT_EQ(messages.messages[1].text, "中心点のデータが不適当です");
    EXPECT_EQ(messages.messages[2].text, "半径設定のデータが不適当です");
    EXPECT_EQ(messages.messages[3].text, "半径制限指定点の値を正にして下さい");
}

TEST(ValidateCircleSearch, EdgeValuesThatAreAccepted) {
    test::MemoryMessageSink messages;
    CircleSearchValues values;
    // Empty radius fields read as 0; upper equal to lower gives one radius; a limit point of
    // −0.000001 is within ε.
    EXPECT_EQ(check(searchOf({"0", "0", "0", "0", "1", "1", "", "", "1", "-0.000001", "0"}), values,
                    messages),
              CircleSearchCheck::Valid);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(isActiveLimitPoint(values.min1X(), values.min1Y()));
    EXPECT_TRUE(isActiveLimitPoint(0.0, 3.0));
}

TEST(ValidateCircleSearch, FieldsAreConvertedAsTheWalkGoes) {
    CircleSearchValues values;
    values.fields.fill(42.0);
    EXPECT_EQ(validateCircleSearch(searchOf({"1", "2", "x"}), values),
              CircleSearchCheck::MissingCentreField);
    EXPECT_EQ(values.fields[0], 1.0);
    EXPECT_EQ(values.fields[1], 2.0);
    EXPECT_EQ(values.fields[2], 42.0);  // left from before
}

TEST(ValidateCircleSearch, InfiniteAndAbsurdValuesAreRefused) {
    CircleSearchValues values;
    EXPECT_EQ(
        validateCircleSearch(searchOf({"0", "0", "1e999", "1", "1", "1", "5", "1", "1"}), values),
        CircleSearchCheck::CentreGridInconsistent);
    EXPECT_EQ(validateCircleSearch(searchOf({"0", "0", "1e300", "1", "1e-3", "1", "5", "1", "1"}),
                                   values),
              CircleSearchCheck::CentreGridInconsistent);
    EXPECT_EQ(
        validateCircleSearch(searchOf({"0", "0", "1", "1", "1", "1", "1e999", "1", "1"}), values),
        CircleSearchCheck::RadiusInconsistent);
    EXPECT_EQ(
        validateCircleSearch(searchOf({"0", "0", "1", "1", "1", "1", "1e12", "1", "1e-3"}), values),
        CircleSearchCheck::RadiusInconsistent);
    EXPECT_EQ(validateCircleSearch(
                  searchOf({"0", "0", "1", "1", "1", "1", "5", "1", "1", "0", "0", "1e999", "1"}),
                  values),
              CircleSearchCheck::RadiusInconsistent);
}

TEST(ValidateCircleSearch, ValuesThatWouldOverflowTheArithmeticAreRefusedLikeInfinity) {
    CircleSearchValues values;
    EXPECT_EQ(validateCircleSearch(searchOf({"1e308", "0", "1e308", "1", "1", "1", "5", "1", "1"}),
                                   values),
              CircleSearchCheck::CentreGridInconsistent);
    EXPECT_EQ(
        validateCircleSearch(searchOf({"0", "-2e7", "1", "1", "1", "1", "5", "1", "1"}), values),
        CircleSearchCheck::CentreGridInconsistent);
    EXPECT_EQ(
        validateCircleSearch(searchOf({"0", "0", "1", "1", "1", "1", "5", "-1e308", "1"}), values),
        CircleSearchCheck::RadiusInconsistent);
    EXPECT_EQ(
        validateCircleSearch(
            searchOf({"0", "0", "1", "1", "1", "1", "5", "1", "1", "1e8", "1", "0", "0"}), values),
        CircleSearchCheck::RadiusInconsistent);
    EXPECT_EQ(validateCircleSearch(searchOf({"-1e7", "0", "1e7", "1", "1e7", "1", "5", "1", "1"}),
                                   values),
              CircleSearchCheck::Valid);
}

TEST(ValidateCircleSearch, SearchOfMoreCirclesThanCouldEverFinishIsRefusedNamingTheCount) {
    test::MemoryMessageSink messages;
    CircleSearchValues values;
    // 10^6 × 10^6 centres of 19 radii: each count alone is acceptable.
    EXPECT_EQ(
        check(searchOf({"0", "0", "999999", "999999", "1", "1", "19", "1", "1"}), values, messages),
        CircleSearchCheck::TooManyCircles);
    ASSERT_EQ(messages.messages.size(), 1u);
    const std::string& text = messages.messages[0].text;
    EXPECT_NE(text.find("1000000 × 1000000"), std::string::npos) << text;
    EXPECT_NE(text.find("19000000000000 個"), std::string::npos) << text;
    EXPECT_NE(text.find("2000000000 個まで"), std::string::npos) << text;

    auto large = validCircleSearch(
        searchOf({"0", "0", "999", "999", "1", "1", "1000", "1", "1"}));  // 10^9 circles
    ASSERT_TRUE(large.ok());
    EXPECT_EQ(large->columns() * large->rows() * large->radiiPerCentre(), 1'000'000'000);
}

TEST(LayerCheck, ReportsTheFirstMissingLayerOnce) {
    test::ProjectBuilder builder;
    builder.block(10, {{5, 5, 1}, {8, 8, 7}}).block(20, {{5, 5, 9}}).layer(1, 18, 30, 5);
    EXPECT_EQ(firstMissingLayer(builder.project()), 7);
    EXPECT_EQ(missingLayerMessage(7).text, "層No 7 のデータがありません　");
    builder.layer(7, 18, 30, 5).layer(9, 18, 30, 5);
    EXPECT_EQ(firstMissingLayer(builder.project()), std::nullopt);
}

}  // namespace
}  // namespace dorvo
