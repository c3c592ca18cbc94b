// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/results_format.h"

#include <gtest/gtest.h>

namespace dorvo {
namespace {

TEST(ResultsFormat, AMarkerCountsAnywhereInItsLineAndTheEndWinsOverTheOthers) {
    EXPECT_EQ(classifyResultsLine("$$CSV"), ResultsLine::Start);
    EXPECT_EQ(classifyResultsLine("  $$RSLT older"), ResultsLine::OlderStart);
    EXPECT_EQ(classifyResultsLine("$$ANS"), ResultsLine::Answer);
    EXPECT_EQ(classifyResultsLine("$$XY,P1(  1.0000,  2.0000),P2(  3.0000,  4.0000)"),
              ResultsLine::SlipEnds);
    EXPECT_EQ(classifyResultsLine("x $$END"), ResultsLine::End);
    EXPECT_EQ(classifyResultsLine("$$ANS $$END"), ResultsLine::End);
    EXPECT_EQ(classifyResultsLine("055,Rx:  46.00 Ry:  24.00 R:  16.60  FS min = 1.013"),
              ResultsLine::Record);
    EXPECT_EQ(classifyResultsLine("$$Z"), ResultsLine::Record);
    EXPECT_TRUE(startsResults("$$RSLT"));
    EXPECT_FALSE(startsResults("$$ANS"));
}

}  // namespace
}  // namespace dorvo
