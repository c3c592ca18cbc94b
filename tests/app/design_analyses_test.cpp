// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_analyses.h"

#include <gtest/gtest.h>

#include "app/design_tables.h"
#include "model/number_text.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

TEST(DesignAnalysisInput, EmptyFieldsTakeTheUsualFactorsAndNonNumbersNameTheirField) {
    EXPECT_EQ(typedPlannedFs("").value(), 1.20);
    EXPECT_EQ(typedPlannedFs("  ").value(), 1.20);
    EXPECT_EQ(typedPlannedFs("1.3").value(), 1.3);
    EXPECT_EQ(typedTargetFs("").value(), 1.00);
    const Result<double> text = typedPlannedFs("1,2");
    ASSERT_FALSE(text.ok());
    EXPECT_NE(text.error().text.find("計画安全率 Fsp"), std::string::npos);
    EXPECT_FALSE(typedTargetFs("-1").ok());
    EXPECT_FALSE(typedVariationPercent("-100", "下限").ok());
}

TEST(ApplyLayerStrength, WritesTheShortestTextThatReadsBackAsThePair) {
    test::ProjectBuilder builder;
    builder.layer(1, 18, 20, 10).layer(4, 19, 30, 5);
    Project& project = builder.project();
    const StrengthPair pair{27.123456789012345, 3.1 / 7.0};
    ASSERT_TRUE(applyLayerStrength(project, 4, pair).ok());
    EXPECT_EQ(readReal(project.layer(2).phi), pair.phiDegrees);
    EXPECT_EQ(readReal(project.layer(2).co), pair.co);
    EXPECT_EQ(project.layer(1).phi, test::cell(20));  // other layers stay

    const Project before = project;
    const Status missing = applyLayerStrength(project, 3, pair);
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().text.find("層No.3"), std::string::npos);
    EXPECT_EQ(project.layers, before.layers);
    EXPECT_FALSE(applyLayerStrength(project, 4, {1e300, 1.0}).ok());
}

TEST(RestraintMark, NeedsAGoverningCircleWithItsEnds) {
    RestraintForce force;
    EXPECT_FALSE(restraintMarkOf(force).has_value());
    force.governing = RestraintCircle{10, 20, 15, 100, 110, 1.1, 2.5};
    EXPECT_FALSE(restraintMarkOf(force).has_value());
    CircleResult ends;
    ends.p1x = 1;
    ends.p2x = 19;
    force.governingEnds = ends;
    const auto mark = restraintMarkOf(force);
    ASSERT_TRUE(mark.has_value());
    EXPECT_EQ(mark->force, 2.5);
    EXPECT_EQ(mark->p2x, 19);
}

TEST(AnalysisTables, CsvQuotesCellsWithCommasAndTabsKeepThemAsTheyAre) {
    const AnalysisTable table = {{"a", "b,c"}, {"say \"x\"", "1.00"}};
    EXPECT_EQ(tableAsCsv(table), "a,\"b,c\"\r\n\"say \"\"x\"\"\",1.00\r\n");
    EXPECT_EQ(tableAsTabs(table), "a\tb,c\r\nsay \"x\"\t1.00\r\n");
}

TEST(AnalysisTables, SensitivityRowsNameTheCircleOnlyWhereItMoved) {
    test::ProjectBuilder builder;
    builder.layer(1, 18, 20, 10);
    Sensitivity sensitivity;
    CircleResult plain;
    plain.rx = 10;
    plain.ry = 20;
    plain.r = 15;
    plain.fs = 1.2;
    sensitivity.plain = plain;
    SensitivityRow row;
    row.parameter = {ParameterKind::Phi, 1};
    row.base = 20;
    row.lower = {18, false, plain};
    CircleResult moved = plain;
    moved.r = 16;
    moved.fs = 1.3;
    row.upper = {22, false, moved};
    sensitivity.rows = {row};
    const AnalysisTable table = sensitivityTable(sensitivity, builder.project());
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1][0], "層1 φ");
    EXPECT_EQ(table[1][3], "1.200");
    EXPECT_EQ(table[1][4], "");
    EXPECT_EQ(table[1][7], "(10.00, 20.00) R 16.00");
    EXPECT_EQ(table[1][8], "0.100");
}

}  // namespace
}  // namespace dorvo
