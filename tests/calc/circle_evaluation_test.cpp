// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/circle_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/encoding.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

class RecordLines : public RecordWriter {
  public:
    void writeRecord(std::string_view record) override { lines.emplace_back(record); }
    std::vector<std::string> lines;
};

struct Evaluated {
    CircleOutcome outcome;
    std::vector<ArcPoint> points;
    std::vector<std::string> records;
};

Evaluated evaluate(const Project& project, double rx, double ry, double r) {
    Result<Section> prepared = prepareSection(project);
    EXPECT_TRUE(prepared.ok()) << prepared.error().text;
    RecordLines records;
    EvaluationScratch scratch;
    CircleOutcome outcome = evaluateCircle(*prepared, rx, ry, r, records, scratch);
    return {outcome, scratch.points, records.lines};
}

// Two horizontal layers: ground at 10, a boundary at 6, in blocks 0–10, 10–20, 20–40.
test::ProjectBuilder flatTwoLayers() {
    test::ProjectBuilder builder;
    builder.block(10, {{6, 6, 2}, {10, 10, 1}})
        .block(20, {{6, 6, 2}, {10, 10, 1}})
        .block(40, {{6, 6, 2}, {10, 10, 1}})
        .layer(1, 18, 30, 5)
        .layer(2, 19, 20, 10);
    return builder;
}

TEST(EvaluateCircle, ArcPointsOfACircleWhoseLowestPointIsInBlockTwo) {
    Evaluated e = evaluate(flatTwoLayers().project(), 15, 14, 10);  // lowest point (15, 4)
    ASSERT_EQ(e.outcome.kind, OutcomeKind::Result);
    const double half = std::sqrt(100.0 - 16.0);  // ground crossings at Y = 10
    const double deep = std::sqrt(100.0 - 64.0);  // boundary crossings at Y = 6
    ASSERT_EQ(e.points.size(), 7u);
    EXPECT_DOUBLE_EQ(e.points[0].x, 15 - half);
    EXPECT_NEAR(e.points[1].x, 15 - deep, 1e-12);
    EXPECT_NEAR(e.points[2].x, 10.0, 1e-12);  // the side of block 1
    EXPECT_NEAR(e.points[3].x, 15.0, 1e-12);  // the lowest point
    EXPECT_NEAR(e.points[3].y, 4.0, 1e-12);
    EXPECT_NEAR(e.points[4].x, 20.0, 1e-12);  // the side of block 2
    EXPECT_NEAR(e.points[5].x, 15 + deep, 1e-12);
    EXPECT_DOUBLE_EQ(e.points[6].x, 15 + half);
    EXPECT_EQ(e.points[1].block, 0);
    EXPECT_EQ(e.points[3].block, 1);
    EXPECT_EQ(e.points[5].block, 2);
    for (std::size_t i = 2; i < e.points.size(); ++i) EXPECT_LE(e.points[i - 1].x, e.points[i].x);
    EXPECT_NEAR(e.outcome.result.p1y, 10.0, 1e-12);
    EXPECT_NEAR(e.outcome.result.p2y, 10.0, 1e-12);
    EXPECT_TRUE(e.records.empty());
}

TEST(EvaluateCircle, ExitAboveTheCentreIsCutAtTheCentresHeight) {
    // A slope rising from 10 to 30 over block 1; the circle leaves it above its centre.
    test::ProjectBuilder builder;
    builder.block(20, {{10, 30, 1}}).block(40, {{30, 30, 1}}).layer(1, 18, 30, 5);
    Evaluated e = evaluate(builder.project(), 12, 15, 10);
    ASSERT_EQ(e.outcome.kind, OutcomeKind::Result);
    EXPECT_DOUBLE_EQ(e.outcome.result.p2x, 22.0);
    EXPECT_DOUBLE_EQ(e.outcome.result.p2y, 15.0);
    EXPECT_DOUBLE_EQ(e.points.back().x, 22.0);
    EXPECT_GT(e.outcome.result.fs, 0.0);
    EXPECT_LT(e.outcome.result.fs, 9999.0);
}

TEST(EvaluateCircle, ExitCutInABlockWithoutLinesWritesROverPerElement) {
    test::ProjectBuilder builder;
    builder.block(20, {{10, 30, 1}}).layer(1, 18, 30, 5);
    builder.project().block(2).x = "40";  // a block without lines
    Evaluated e = evaluate(builder.project(), 12, 15, 10);
    ASSERT_FALSE(e.records.empty());
    for (const std::string& record : e.records) EXPECT_EQ(record, "error  R-Over (next Ic)");
    EXPECT_EQ(e.outcome.kind, OutcomeKind::Result);
}

TEST(EvaluateCircle, DistributedLoadLayerEndsTheSlipSurfaceAtItsBottom) {
    test::ProjectBuilder builder = flatTwoLayers();
    builder.kh(0.2);  // flat ground drives nothing without shaking
    Evaluated plain = evaluate(builder.project(), 15, 14, 10);
    builder.loadLayer(1);
    Evaluated e = evaluate(builder.project(), 15, 14, 10);
    ASSERT_EQ(e.outcome.kind, OutcomeKind::Result);
    EXPECT_NEAR(e.outcome.result.p2x, 15 + std::sqrt(100.0 - 64.0), 1e-12);
    EXPECT_NEAR(e.outcome.result.p2y, 6.0, 1e-12);
    EXPECT_NE(e.outcome.result.fs, plain.outcome.result.fs);

    builder.loadLayer(5);  // used by no line: nothing changes
    Evaluated unused = evaluate(builder.project(), 15, 14, 10);
    EXPECT_EQ(unused.outcome.result.fs, plain.outcome.result.fs);
    EXPECT_EQ(unused.outcome.result.p2x, plain.outcome.result.p2x);

    builder.loadLayer(2);  // the first line's layer: its bottom is the base, never reached
    Evaluated base = evaluate(builder.project(), 15, 14, 10);
    EXPECT_EQ(base.outcome.result.p2x, plain.outcome.result.p2x);
}

TEST(EvaluateCircle, MissingLayerAbandonsTheCircleWithItsNumber) {
    test::ProjectBuilder builder;
    builder.block(40, {{6, 6, 2}, {10, 10, 7}}).layer(2, 18, 30, 5);
    Evaluated e = evaluate(builder.project(), 15, 14, 10);
    EXPECT_EQ(e.outcome.kind, OutcomeKind::MissingLayer);
    EXPECT_EQ(e.outcome.missingLayerNo, 7);
}

TEST(EvaluateCircle, NoDrivingWeightGivesNoSolution) {
    test::ProjectBuilder builder;
    builder.block(40, {{10, 10, 1}}).layer2(1, 0, 18, 30, 5, 0);
    Evaluated e = evaluate(builder.project(), 15, 14, 10);
    ASSERT_EQ(e.outcome.kind, OutcomeKind::Result);
    EXPECT_EQ(e.outcome.result.fs, kNoSolutionFs);
}

TEST(EvaluateCircle, LoadsCountOnlyOnTheSlidingMass) {
    const double exitX = 15 + std::sqrt(100.0 - 16.0);
    auto mdWithLoad = [&](double x) {
        test::ProjectBuilder builder = flatTwoLayers();
        builder.load(x, 100);
        return evaluate(builder.project(), 15, 14, 10).outcome.result.md;
    };
    const double base = evaluate(flatTwoLayers().project(), 15, 14, 10).outcome.result.md;
    EXPECT_DOUBLE_EQ(mdWithLoad(exitX + 0.01), base);
    EXPECT_NEAR(mdWithLoad(exitX), base + 100 * (exitX - 15), 1e-9);
    EXPECT_NEAR(mdWithLoad(18), base + 300, 1e-9);
    // A load in front of the toe, left of the entry point, does not rest on the sliding mass.
    EXPECT_DOUBLE_EQ(mdWithLoad(2), base);
}

TEST(EvaluateCircle, EntryAboveTheCentreIsSkipped) {
    // A steep face: the circle meets the ground first above its centre.
    test::ProjectBuilder builder;
    builder.block(10, {{30, 30, 1}}).block(30, {{30, 2, 1}}).block(50, {{2, 2, 1}});
    builder.layer(1, 18, 30, 5);
    Evaluated e = evaluate(builder.project(), 25, 20, 12);
    EXPECT_EQ(e.outcome.kind, OutcomeKind::Skipped);
}

TEST(EvaluateCircle, CircleBelowTheBaseIsSkipped) {
    Evaluated e = evaluate(flatTwoLayers().project(), 15, 8, 10);
    EXPECT_EQ(e.outcome.kind, OutcomeKind::Skipped);
}

TEST(EvaluateCircle, CentroidOutsideTheArcWritesItsRecordAndAbandons) {
    // A section with a step down between blocks 2 and 3.
    test::ProjectBuilder builder;
    builder.block(14.379239128607292, {{19.250798416671532, 17.898189783865355, 1}})
        .block(29.120108230387437, {{9.2834586707231299, 17.143374842099682, 1}})
        .block(52.155588420784369, {{10.888478077271483, 6.1893323967355007, 1}})
        .layer(1, 18, 16.69924423399362, 10);
    Evaluated e =
        evaluate(builder.project(), 26.934364123859154, 24.069468809575085, 15.89194290554078);
    EXPECT_EQ(e.outcome.kind, OutcomeKind::Abandoned);
    ASSERT_EQ(e.records.size(), 1u);
    EXPECT_TRUE(toDisplayText(e.records[0]).starts_with("error 重心(")) << e.records[0];
    EXPECT_NE(toDisplayText(e.records[0]).find(")が円弧の外 XR0="), std::string::npos);
}

}  // namespace
}  // namespace dorvo
