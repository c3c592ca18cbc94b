// SPDX-License-Identifier: GPL-3.0-or-later
// The factor of safety of single circles against an independent computation by the ordinary
// method of slices, with fine vertical slices instead of the engine's angular elements.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "calc/circle_evaluation.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

struct Soil {
    double gamma;
    double phiDegrees;
    double co;
};

/// A section of horizontal soil boundaries under a ground surface y = ground(x).
struct Slope {
    std::function<double(double)> ground;
    std::vector<double> boundaries;  // Y of the boundaries between soils, bottom up
    std::vector<Soil> soils;         // from the bottom; one more than boundaries
    double kh = 0.0;
    double loadX = 0.0;
    double loadF = 0.0;

    const Soil& soilAt(double y) const {
        std::size_t i = 0;
        while (i < boundaries.size() && y > boundaries[i]) ++i;
        return soils[i];
    }
};

/// Fs = MR / MD by vertical slices of width 0.5 mm, weights from the soil columns above the arc.
double ordinaryMethodOfSlices(const Slope& slope, double rx, double ry, double r) {
    const double pi = std::acos(-1.0);
    const double width = 0.0005;
    double md = 0.0;
    double mr = 0.0;
    double entry = 1e9;
    double exit = -1e9;
    for (double x = rx - r + width / 2; x < rx + r; x += width) {
        const double arc = ry - std::sqrt(r * r - (x - rx) * (x - rx));
        const double top = std::min(slope.ground(x), ry);
        if (top <= arc) continue;
        entry = std::min(entry, x);
        exit = std::max(exit, x);
        double weight = 0.0;
        double bottom = arc;
        for (std::size_t i = 0; i <= slope.boundaries.size(); ++i) {
            const double upper = i < slope.boundaries.size() ? slope.boundaries[i] : 1e9;
            const double lower = i == 0 ? -1e9 : slope.boundaries[i - 1];
            const double from = std::max(bottom, lower);
            const double to = std::min(top, upper);
            if (to > from) weight += slope.soils[i].gamma * (to - from) * width;
        }
        const double sinA = (x - rx) / r;
        const double cosA = (ry - arc) / r;
        const Soil& base = slope.soilAt(arc);
        const double tanPhi = std::tan(base.phiDegrees * pi / 180.0);
        md += r * weight * (sinA + cosA * slope.kh);
        mr += r * (weight * tanPhi * (cosA - sinA * slope.kh) + base.co * width / cosA);
    }
    if (entry <= slope.loadX && slope.loadX <= exit) md += slope.loadF * (slope.loadX - rx);
    return mr / md;
}

double engineFs(const Project& project, double rx, double ry, double r) {
    Result<Section> prepared = prepareSection(project);
    struct : RecordWriter {
        void writeRecord(std::string_view) override {}
    } records;
    EvaluationScratch scratch;
    CircleOutcome outcome = evaluateCircle(*prepared, rx, ry, r, records, scratch);
    EXPECT_EQ(outcome.kind, OutcomeKind::Result);
    return outcome.result.fs;
}

// Toe at x = 20 (ground 10), crest at x = 40 (ground 20): a 1:2 slope.
double slopeGround(double x) {
    return x < 20 ? 10 : x < 40 ? 10 + (x - 20) / 2 : 20;
}

test::ProjectBuilder homogeneousSlope() {
    test::ProjectBuilder builder;
    builder.block(20, {{10, 10, 1}}).block(40, {{10, 20, 1}}).block(80, {{20, 20, 1}});
    builder.layer(1, 18, 20, 10);
    return builder;
}

test::ProjectBuilder twoLayerSlope() {
    test::ProjectBuilder builder;
    builder.block(20, {{6, 6, 2}, {10, 10, 1}})
        .block(40, {{6, 6, 2}, {10, 20, 1}})
        .block(80, {{6, 6, 2}, {20, 20, 1}});
    builder.layer(1, 18, 20, 10).layer(2, 19, 0, 30);
    return builder;
}

Slope homogeneous() {
    return {slopeGround, {}, {{18, 20, 10}}};
}
Slope twoLayers() {
    return {slopeGround, {6}, {{19, 0, 30}, {18, 20, 10}}};
}

TEST(SlopePhysics, HomogeneousDrySlopeAgreesWithSlices) {
    for (double r : {24.0, 27.0, 30.0}) {
        const double expected = ordinaryMethodOfSlices(homogeneous(), 25, 35, r);
        EXPECT_NEAR(engineFs(homogeneousSlope().project(), 25, 35, r), expected, expected * 0.01)
            << "R = " << r;
    }
}

TEST(SlopePhysics, TwoLayerSlopeAgreesWithSlices) {
    for (double r : {30.0, 32.0}) {
        const double expected = ordinaryMethodOfSlices(twoLayers(), 25, 35, r);
        EXPECT_NEAR(engineFs(twoLayerSlope().project(), 25, 35, r), expected, expected * 0.01)
            << "R = " << r;
    }
}

TEST(SlopePhysics, SeismicCoefficientLowersFsByTheRightAmount) {
    Slope slope = homogeneous();
    slope.kh = 0.15;
    test::ProjectBuilder builder = homogeneousSlope();
    builder.kh(0.15);
    const double calm = engineFs(homogeneousSlope().project(), 25, 35, 27);
    const double shaken = engineFs(builder.project(), 25, 35, 27);
    const double expected = ordinaryMethodOfSlices(slope, 25, 35, 27);
    EXPECT_LT(shaken, calm * 0.85);
    EXPECT_NEAR(shaken, expected, expected * 0.01);
}

TEST(SlopePhysics, CrestLoadLowersFsByTheRightAmount) {
    Slope slope = homogeneous();
    slope.loadX = 44;
    slope.loadF = 50;
    test::ProjectBuilder builder = homogeneousSlope();
    builder.load(44, 50);
    const double unloaded = engineFs(homogeneousSlope().project(), 25, 35, 27);
    const double loaded = engineFs(builder.project(), 25, 35, 27);
    const double expected = ordinaryMethodOfSlices(slope, 25, 35, 27);
    EXPECT_LT(loaded, unloaded);
    EXPECT_NEAR(loaded, expected, expected * 0.01);
}

TEST(SlopePhysics, CohesionGrowsWithDepthBelowTheReferencePlane) {
    test::ProjectBuilder plain = homogeneousSlope();
    test::ProjectBuilder growing;
    growing.block(20, {{10, 10, 1}}).block(40, {{10, 20, 1}}).block(80, {{20, 20, 1}});
    growing.layer(1, 18, 20, 10, 2.0).yc(10);
    const double base = engineFs(plain.project(), 25, 35, 27);
    EXPECT_GT(engineFs(growing.project(), 25, 35, 27), base);
    growing.yc(-5);  // the whole arc lies above the plane: Z = 0
    EXPECT_DOUBLE_EQ(engineFs(growing.project(), 25, 35, 27), base);
}

}  // namespace
}  // namespace dorvo
