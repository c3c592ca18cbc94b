// SPDX-License-Identifier: GPL-3.0-or-later
// Published slope problems rebuilt as projects, compared with their published factors of
// safety under stated tolerances. docs/verification.md describes each one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "calc/circle_explanation.h"
#include "calc/restraint_force.h"
#include "calc/section.h"
#include "model/project_file.h"
#include "support/memory_message_sink.h"

namespace dorvo {
namespace {

Section sectionOf(const char* file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream results;
    test::MemoryMessageSink messages;
    Project project;
    EXPECT_TRUE(readProjectLines(project, in, results, file, messages));
    Result<Section> prepared = prepareSection(project);
    EXPECT_TRUE(prepared.ok());
    return *prepared;
}

// Fredlund and Krahn (1977), case 1: a 2:1 slope 40 ft high (toe at x = 100 ft, y = 20 ft;
// crest at x = 180 ft, y = 60 ft; base at y = 0), c' = 600 psf, φ' = 20°, γ = 120 pcf, no
// pore pressure, circle centre (120, 90) ft and radius 80 ft. Published: ordinary 1.928,
// simplified Bishop 2.080.
TEST(Verification, FredlundKrahnCase1OrdinaryAndBishopWithinHalfAPercent) {
    const Section section = sectionOf(DORVO_TEST_DATA_DIR "/verification/fredlund-krahn-case1.slw");
    const CircleExplanation circle = explainCircle(section, 120.0, 90.0, 80.0);
    ASSERT_EQ(circle.outcome.kind, OutcomeKind::Result);
    EXPECT_NEAR(circle.outcome.result.fs, 1.928, 1.928 * 0.005);
    const BishopSolution bishop = bishopFactorOfSafety(circle);
    ASSERT_TRUE(bishop.solved());
    EXPECT_NEAR(bishop.fs, 2.080, 2.080 * 0.005);
    std::printf("Fredlund & Krahn case 1: ordinary %.4f (published 1.928), Bishop %.4f (2.080)\n",
                circle.outcome.result.fs, bishop.fs);
}

// A failed slope of soft clay on a known circle: driving moment 2800 kN·m, resisting moment
// 2450 kN·m, to be rebuilt with geogrid layers of 20 kN/m whose centroid lies 8 m from the
// centre, for Fs = 1.5 (ques10.com, question 39479). The reinforcement must supply
// (1.5 × 2800 − 2450) / 8 = 218.75 kN/m: 11 layers.
TEST(Verification, RestraintForceOfAPublishedGeogridRepairIsItsMomentShortfallOverTheArm) {
    const double force = requiredRestraintForce(1.5, 2800.0, 2450.0, 8.0);
    EXPECT_NEAR(force, 218.75, 1e-9);
    EXPECT_EQ(std::ceil(force / 20.0), 11.0);
    // The failed slope itself (Fs 0.875) needs the force; at Fs = 0.875 it needs none.
    EXPECT_EQ(requiredRestraintForce(2450.0 / 2800.0, 2800.0, 2450.0, 8.0), 0.0);
}

TEST(CircleExplanation, ElementSharesAddUpToTheRecordOfTheCircle) {
    const Section section = sectionOf(DORVO_EXAMPLES_DIR "/embankment.slw");
    // The example's critical circle: the centre cut and the seismic coefficient at work.
    const CircleExplanation circle = explainCircle(section, 47.0, 18.0, 16.6);
    ASSERT_EQ(circle.outcome.kind, OutcomeKind::Result);
    double md = 0.0, mc = 0.0, mtMe = 0.0;
    for (const ElementContribution& e : circle.elements) {
        md += e.md + e.me;
        mc += e.mc;
        mtMe += e.mt - e.mE;
    }
    const CircleResult& record = circle.outcome.result;
    EXPECT_NEAR(md + circle.mf, record.md, 0.005);
    EXPECT_NEAR(mc, record.mc, 0.005);
    EXPECT_NEAR(mtMe, record.mtMe, 0.005);
    EXPECT_NEAR(mtMe + mc, record.mr, 0.005);
    EXPECT_GT(circle.elements.size(), 20u);
}

TEST(CircleExplanation, BishopOfAFrictionlessSoilEqualsTheOrdinaryMethod) {
    // With φ = 0 the normal force plays no part: both methods give c·L·R / MD.
    test::MemoryMessageSink messages;
    Project project;
    project.block(1).x = "0";
    project.block(1).lines = "0,0,1,10,10,1";
    project.block(2).x = "20";
    project.block(2).lines = "0,0,1,10,10,1";
    project.block(3).x = "40";
    project.block(3).lines = "0,0,1,10,20,1";
    project.block(4).x = "80";
    project.block(4).lines = "0,0,1,20,20,1";
    project.layer(1) = {"1", "18", "18", "0", "30", "0", "0", ""};
    Result<Section> prepared = prepareSection(project);
    ASSERT_TRUE(prepared.ok());
    const CircleExplanation circle = explainCircle(*prepared, 25.0, 35.0, 27.0);
    ASSERT_EQ(circle.outcome.kind, OutcomeKind::Result);
    ASSERT_TRUE(bishopFactorOfSafety(circle).solved());
    EXPECT_NEAR(bishopFactorOfSafety(circle).fs, circle.outcome.result.fs, 1e-9);
}

}  // namespace
}  // namespace dorvo
