// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/result_records.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "model/encoding.h"

namespace dorvo {
namespace {

TEST(ResultRecords, FormatsWithDecimalsThree) {
    EXPECT_EQ(firstCircleRecord(1, 2, 3, 4, 5, 6, 7, 1.25, 3),
              "028,    1.00,    2.00,    3.00,       4.00,       5.00,       6.00,       7.00,"
              "    1.250");
    EXPECT_EQ(nextCircleRecord(3, 4, 5, 6, 7, 1.25, 3),
              "038,     ,     ,    3.00,       4.00,       5.00,       6.00,       7.00,    1.250");
    EXPECT_EQ(minimumRecord(1, 2, 3, 1.25, 3),
              "055,FS min.,( Rx:    1.00,Ry:    2.00,R:    3.00 ),=   1.250");
}

TEST(ResultRecords, CircleRecordsAreExactlyTheirCFormatsOnRandomValues) {
    // The C formats the records are defined by, kept here as the oracle.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> value(-250000.0, 250000.0);
    std::uniform_real_distribution<double> small(0.0, 10000.0);
    char expected[256];
    for (int i = 0; i < 20000; ++i) {
        const double rx = value(random) / 100, ry = value(random) / 100, r = small(random) / 10;
        const double md = value(random), mc = value(random), mtMe = value(random);
        const double mr = value(random), fs = small(random);
        const int decimals = 2 + i % 3;
        std::snprintf(expected, sizeof expected,
                      "028,%8.2f,%8.2f,%8.2f,%11.2f,%11.2f,%11.2f,%11.2f, %8.*f", rx, ry, r, md, mc,
                      mtMe, mr, decimals, fs);
        ASSERT_EQ(firstCircleRecord(rx, ry, r, md, mc, mtMe, mr, fs, decimals), expected);
        std::snprintf(expected, sizeof expected,
                      "038,     ,     ,%8.2f,%11.2f,%11.2f,%11.2f,%11.2f, %8.*f", r, md, mc, mtMe,
                      mr, decimals, fs);
        ASSERT_EQ(nextCircleRecord(r, md, mc, mtMe, mr, fs, decimals), expected);
        std::snprintf(expected, sizeof expected, "055,FS min.,( Rx:%8.2f,Ry:%8.2f,R:%8.2f ),=%8.*f",
                      rx, ry, r, decimals, fs);
        ASSERT_EQ(minimumRecord(rx, ry, r, fs, decimals), expected);
        std::snprintf(expected, sizeof expected, "073,%8.2f,%8.2f,    ---", rx, ry);
        ASSERT_EQ(noCircleRecord(rx, ry), expected);
    }
}

TEST(ResultRecords, DecimalsAreClampedToTwoToFour) {
    EXPECT_EQ(clampFsDecimals(1), 2);
    EXPECT_EQ(clampFsDecimals(7), 4);
    EXPECT_TRUE(minimumRecord(0, 0, 0, 1.23456, 2).ends_with("=    1.23"));
    EXPECT_TRUE(minimumRecord(0, 0, 0, 1.23456, 4).ends_with("=  1.2346"));
    EXPECT_TRUE(firstCircleRecord(0, 0, 0, 0, 0, 0, 0, 1.23456, 4).ends_with(",   1.2346"));
}

TEST(ResultRecords, FixedRecords) {
    EXPECT_EQ(noCircleRecord(5, 12), "073,    5.00,   12.00,    ---");
    EXPECT_EQ(separatorRecord(), "801," + std::string(76, '-'));
    EXPECT_EQ(endPointsRecord(1.5, 2, 30.25, 4),
              "$$XY,P1(  1.5000,  2.0000),P2( 30.2500,  4.0000)");
    EXPECT_EQ(toDisplayText(noSolutionRecord()), "901,解はありません。データが不適当。");
    EXPECT_EQ(toDisplayText(missingLayerRecord(7)), "802, ,データが見つかりませんでした 層No.7");
    EXPECT_EQ(circleStatusText(1, 2, 3), "R(    1.00,    2.00)  r=    3.00");
}

TEST(ResultRecords, CentroidRecordIsShiftJis) {
    std::string record = centroidOutsideRecord(162.83, -1.45, 0.59, 17.47, -0.09, 10.88, 10.93);
    EXPECT_EQ(record.substr(0, 10), "error \x8f\x64\x90\x53");
    EXPECT_EQ(toDisplayText(record),
              "error 重心(162.83, -1.45)が円弧の外 XR0=0.59  E1=17.47 XR1=-0.09 Y2=10.88 "
              "Y3=10.93");
}

}  // namespace
}  // namespace dorvo
