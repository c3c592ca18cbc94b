// SPDX-License-Identifier: GPL-3.0-or-later
// The search of the grid by the simplified Bishop method.
#include "calc/bishop_search.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "calc/circle_explanation.h"
#include "model/project_file.h"
#include "support/example_project.h"
#include "support/memory_message_sink.h"

namespace dorvo {
namespace {

// The two methods' minima lie at different centres of the example's grid: the Bishop search
// is not the Bishop value of the ordinary critical circle.
TEST(BishopSearch, OnTheExampleItsCriticalCircleIsItsOwnNotTheOrdinaryMethods) {
    const Project project = test::exampleProject();
    const Section section = prepareSection(project).value();
    const ValidCircleSearch search = *validCircleSearch(project.circleSearch);
    const BishopSearch bishop = runBishopSearch(section, search, 2, {});
    ASSERT_TRUE(bishop.completed);
    ASSERT_TRUE(bishop.critical.has_value());
    const CircleResult& c = *bishop.critical;
    EXPECT_NEAR(c.fs, 1.275, 0.0005);
    EXPECT_DOUBLE_EQ(c.rx, 46.0);
    EXPECT_DOUBLE_EQ(c.ry, 24.0);
    EXPECT_NEAR(c.r, 22.6, 1e-9);
    EXPECT_EQ(bishop.criticalSolution.fs, c.fs);
    // The ordinary critical circle (47, 18) R 16.6 has the Bishop value 1.331.
    const BishopSolution atOrdinary = bishopFactorOfSafety(explainCircle(section, 47, 18, 16.6));
    ASSERT_TRUE(atOrdinary.solved());
    EXPECT_GT(atOrdinary.fs, c.fs + 0.05);
}

// Each centre's minimum is the lowest Bishop Fs of its radii, the first among equals, and the
// same for any number of threads.
TEST(BishopSearch, CentreMinimaAreTheLowestOfTheirRadiiWhateverTheThreads) {
    const Project project = test::exampleProject();
    const Section section = prepareSection(project).value();
    CircleSearch small = project.circleSearch;
    small.line(1) = "44";
    small.line(2) = "16";
    small.line(3) = "48";
    small.line(4) = "20";
    small.line(5) = "2";
    small.line(6) = "2";
    const ValidCircleSearch search = *validCircleSearch(small);
    const BishopSearch one = runBishopSearch(section, search, 1, {});
    const BishopSearch three = runBishopSearch(section, search, 3, {});
    ASSERT_EQ(one.centreMinima.size(), 9u);
    ASSERT_EQ(three.centreMinima.size(), 9u);
    for (std::size_t i = 0; i < one.centreMinima.size(); ++i) {
        const CentreMinimum& m = one.centreMinima[i];
        EXPECT_EQ(m.fs, three.centreMinima[i].fs);
        EXPECT_EQ(m.r, three.centreMinima[i].r);
        double lowest = 1e9;
        double at = 0.0;
        for (double r = m.ry - 9.0; r <= m.ry - 1.4 + 1e-5; r += 0.4) {
            const BishopSolution s = bishopFactorOfSafety(explainCircle(section, m.rx, m.ry, r));
            if (s.solved() && s.fs < lowest) {
                lowest = s.fs;
                at = r;
            }
        }
        EXPECT_EQ(m.fs, lowest) << m.rx << ", " << m.ry;
        EXPECT_NEAR(m.r, at, 1e-9) << m.rx << ", " << m.ry;
    }
    EXPECT_EQ(one.circlesSolved, three.circlesSolved);
    EXPECT_GT(one.circlesSolved, 0);
}

TEST(BishopSearch, AStopRequestLeavesItUncompleted) {
    const Project project = test::exampleProject();
    const Section section = prepareSection(project).value();
    std::stop_source stop;
    stop.request_stop();
    const BishopSearch bishop =
        runBishopSearch(section, *validCircleSearch(project.circleSearch), 2, stop.get_token());
    EXPECT_FALSE(bishop.completed);
    EXPECT_FALSE(bishop.critical.has_value());
}

}  // namespace
}  // namespace dorvo
