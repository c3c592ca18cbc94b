// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/search_edges.h"

#include <gtest/gtest.h>

#include <sstream>

namespace dorvo {
namespace {

/// Centres 0 … 40 by 10 in X and 0 … 20 by 10 in Y; slip surfaces from Y = −5 down to −15
/// by 1, so a centre at Ry tries the radii Ry + 5 … Ry + 15.
ValidCircleSearch grid() {
    CircleSearch search;
    const std::string texts[] = {"0", "0", "40", "20", "10", "10", "-5", "-15", "1"};
    for (int line = 1; line <= 9; ++line) search.line(line) = texts[line - 1];
    return *validCircleSearch(search);
}

Section section() {
    Section s;
    SectionBlock block;
    block.xl = -100.0;
    block.xr = 100.0;
    s.blocks.push_back(block);
    return s;
}

CircleResult criticalAt(double rx, double ry, double r) {
    CircleResult c;
    c.rx = rx;
    c.ry = ry;
    c.r = r;
    c.fs = 1.2;
    c.p1x = -20.0;
    c.p2x = 20.0;
    return c;
}

std::vector<SearchEdge> warningsFor(const CircleResult& critical,
                                    const std::vector<CentreMinimum>& minima = {}) {
    bool nearby = false;
    for (const CentreMinimum& minimum : minima) {
        nearby = nearby || edgeCentreNearby(grid(), critical, minimum);
    }
    return searchEdgeWarnings(grid(), section(), critical, nearby);
}

TEST(SearchEdges, MinimumInsideTheGridAndRadiusRangeGivesNoWarning) {
    EXPECT_TRUE(warningsFor(criticalAt(20, 10, 20)).empty());
}

TEST(SearchEdges, CornerAndEdgeCentresNameTheirEdges) {
    EXPECT_EQ(warningsFor(criticalAt(0, 0, 10)),
              (std::vector<SearchEdge>{SearchEdge::GridLeft, SearchEdge::GridBottom}));
    EXPECT_EQ(warningsFor(criticalAt(40, 20, 30)),
              (std::vector<SearchEdge>{SearchEdge::GridRight, SearchEdge::GridTop}));
    EXPECT_EQ(warningsFor(criticalAt(20, 20, 30)), (std::vector<SearchEdge>{SearchEdge::GridTop}));
}

TEST(SearchEdges, FirstAndLastRadiusOfTheCriticalCentre) {
    // At Ry = 10 the radii run from 15 (10 − (−5)) to 25 (10 − (−15)).
    EXPECT_EQ(warningsFor(criticalAt(20, 10, 15)),
              (std::vector<SearchEdge>{SearchEdge::FirstRadius}));
    EXPECT_EQ(warningsFor(criticalAt(20, 10, 25)),
              (std::vector<SearchEdge>{SearchEdge::LastRadius}));
}

TEST(SearchEdges, EdgeCentreWithinHalfAPercentAndTheSectionsEnds) {
    const std::vector<CentreMinimum> close = {{40, 10, 20, 1.205}, {20, 10, 20, 1.2}};
    EXPECT_EQ(warningsFor(criticalAt(20, 10, 20), close),
              (std::vector<SearchEdge>{SearchEdge::EdgeCentreNearby}));
    const std::vector<CentreMinimum> far = {{40, 10, 20, 1.21}};
    EXPECT_TRUE(warningsFor(criticalAt(20, 10, 20), far).empty());
    CircleResult cut = criticalAt(20, 10, 20);
    cut.p1x = -100.0;
    EXPECT_EQ(warningsFor(cut), (std::vector<SearchEdge>{SearchEdge::SectionLeftEnd}));
}

TEST(SearchEdges, CentreMinimaAreTheMinimumRecordsBeforeTheAnswerReadOneAtATime) {
    std::istringstream records(
        "$$CSV\r\n028,   20.00,   10.00,   20.00,     1.00,     1.00,     1.00,     1.00,    "
        "1.200\r\n055,FS min.,( Rx:   20.00,Ry:   10.00,R:   20.00 ),=   1.200\r\n"
        "073,   30.00,   10.00,    ---\r\n801,---\r\n$$ANS\r\n"
        "055,FS min.,( Rx:   20.00,Ry:   10.00,R:   20.00 ),=   1.200\r\n$$END\r\n");
    CentreMinimumReader reader(records);
    CentreMinimum minimum;
    ASSERT_TRUE(reader.next(minimum));
    EXPECT_DOUBLE_EQ(minimum.rx, 20.0);
    EXPECT_DOUBLE_EQ(minimum.r, 20.0);
    EXPECT_DOUBLE_EQ(minimum.fs, 1.2);
    EXPECT_FALSE(reader.next(minimum));
    EXPECT_FALSE(reader.next(minimum));  // the answer's 055 is not a centre's
}

TEST(SearchEdges, CentreMinimaReadInBlocksWholeAcrossABlocksEndAndWithoutALastLineEnd) {
    const std::string minimum = "055,FS min.,( Rx:   20.00,Ry:   10.00,R:   20.00 ),=   1.200";
    std::string text = "$$CSV\r\n";
    while (text.size() < (1u << 20) - 30) text += "038,     ,     ,   20.00,       1.00\r\n";
    text += minimum + "\r\n" + minimum.substr(0, minimum.size() - 5) + "1.300";
    std::istringstream records(text);
    CentreMinimumReader reader(records);
    CentreMinimum read;
    ASSERT_TRUE(reader.next(read));
    EXPECT_DOUBLE_EQ(read.fs, 1.2);
    ASSERT_TRUE(reader.next(read));
    EXPECT_DOUBLE_EQ(read.fs, 1.3);
    EXPECT_FALSE(reader.next(read));
}

}  // namespace
}  // namespace dorvo
