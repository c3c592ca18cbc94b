// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/project.h"

#include <gtest/gtest.h>

namespace dorvo {
namespace {

TEST(Project, ClearAndDefaultsLeaveOnlySettingsLine18) {
    Project project;
    project.settings.line(5) = "12";
    project.block(1).x = "3";
    project.layer(1).gamma1 = "18";
    project.load(5).force = "10";
    project.circleSearch.line(15) = "2";
    project.critical.radius = 4.0;
    clearProject(project);
    ensureDefaults(project);
    for (int line = 1; line <= kSettingsLines; ++line) {
        EXPECT_EQ(project.settings.line(line), line == 18 ? "1" : "") << line;
    }
    EXPECT_EQ(project.block(1).x, "");
    EXPECT_EQ(project.layer(1).gamma1, "");
    EXPECT_EQ(project.load(5).force, "");
    EXPECT_EQ(project.circleSearch.line(15), "");
    EXPECT_EQ(project.critical.radius, 0.0);
    EXPECT_EQ(readFigureWindow(project.settings).scaleX, 0);
}

TEST(Project, EnsureDefaultsKeepsANumberLikeLine18) {
    Project project;
    project.settings.line(18) = "0";
    ensureDefaults(project);
    EXPECT_EQ(project.settings.line(18), "0");
    project.settings.line(18) = "yes";
    ensureDefaults(project);
    EXPECT_EQ(project.settings.line(18), "1");
}

TEST(Project, BlockCountStopsAtTheFirstAbsentRow) {
    Project project;
    project.block(1).x = "5";
    project.block(2).x = "10";
    project.block(4).x = "20";
    EXPECT_EQ(blockCount(project), 2);
}

TEST(Project, LayerLookupScansWhileNumbersArePresent) {
    Project project;
    project.layer(1).layerNo = "2";
    project.layer(1).gamma1 = "abc";
    project.layer(2).layerNo = "5";
    project.layer(4).layerNo = "7";
    EXPECT_EQ(findLayerRow(project, 5), 2);
    EXPECT_EQ(findLayerRow(project, 7), std::nullopt);
    EXPECT_EQ(findLayerRow(project, 2), 1);
}

TEST(SplitBlockLines, EndsAtTheFirstIncompleteTripleByTheReadersRule) {
    const std::string lines = "0,0,1,5,,2,8,8,3";
    EXPECT_EQ(splitBlockLines(lines, BlockLineEnd::LeftAbsent).size(), 3u);
    EXPECT_EQ(splitBlockLines(lines, BlockLineEnd::EitherAbsent).size(), 1u);
    auto first = splitBlockLines(lines, BlockLineEnd::LeftAbsent).front();
    EXPECT_EQ(first.yLeft, "0");
    EXPECT_EQ(first.layerNo, "1");
}

TEST(SplitBlockLines, KeepsAtMostTwentyLines) {
    std::string lines;
    for (int i = 0; i < 25; ++i) lines += "1,1,1,";
    EXPECT_EQ(splitBlockLines(lines, BlockLineEnd::LeftAbsent).size(), 20u);
}

}  // namespace
}  // namespace dorvo
