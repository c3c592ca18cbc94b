// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/search_insight.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "calc/circle_explanation.h"
#include "model/project_file.h"
#include "support/example_project.h"
#include "support/memory_message_sink.h"

namespace dorvo {
namespace {

CircleResult circleOf(const Project& project, double rx, double ry, double r) {
    return explainCircle(prepareSection(project).value(), rx, ry, r).outcome.result;
}

// Under the ordinary method's driving moment an upward load counts against the driving moment
// only, never against the normal forces: on the slip mass it leans Fs to the unsafe side.
TEST(SearchInsight, AnUpwardLoadOnTheSlipMassIsAWarningOneBeyondItOrDownwardIsNot) {
    Project project = test::exampleProject();
    const std::filesystem::path noRecords = "no-such-records.txt";
    const CircleResult critical = circleOf(project, 47, 18, 16.6);  // P1 x 32.5, P2 x 63.4
    EXPECT_FALSE(searchInsight(project, critical, noRecords).upwardLoadOnSlipMass);
    project.load(1) = {"54", "-30"};
    EXPECT_TRUE(searchInsight(project, critical, noRecords).upwardLoadOnSlipMass);
    project.load(1) = {"70", "-30"};
    EXPECT_FALSE(searchInsight(project, critical, noRecords).upwardLoadOnSlipMass);
    EXPECT_NE(describeUpwardLoad(WarningLanguage::English).find("unsafe side"), std::string::npos);
}

TEST(SearchInsight, ByBishopTheCriticalCircleCarriesBothMethodsValues) {
    const Project project = test::exampleProject();
    const std::optional<BishopSearch> search = searchByBishop(project, 2, {});
    ASSERT_TRUE(search.has_value());
    const SearchInsight insight = bishopSearchInsight(project, *search);
    EXPECT_EQ(insight.method, SearchMethod::Bishop);
    ASSERT_TRUE(insight.critical.has_value());
    EXPECT_EQ(insight.critical->fs, insight.bishop.fs);
    EXPECT_NEAR(insight.ordinaryFs, 1.072, 0.0005);
    EXPECT_NEAR(insight.bishop.minMAlpha, 0.294, 0.0005);
    // The centre (46, 24) is inside the grid; its radius 22.6 is the last the centre tries.
    EXPECT_EQ(insight.warnings, std::vector<SearchEdge>{SearchEdge::LastRadius});
}

}  // namespace
}  // namespace dorvo
