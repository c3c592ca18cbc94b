// SPDX-License-Identifier: GPL-3.0-or-later
// The page of a probabilistic analysis: its histogram bars, cumulative curve and marks.
#include <gtest/gtest.h>

#include <algorithm>

#include "render/probability_page.h"
#include "support/recording_canvas.h"

namespace dorvo {
namespace {

ProbabilityPageData pageOf(std::vector<double> fsValues) {
    std::vector<RealisationFs> realisations;
    for (std::size_t i = 0; i < fsValues.size(); ++i) {
        realisations.push_back({std::int64_t(i), fsValues[i], std::nullopt});
    }
    return {"slope.slw", summariseRealisations(realisations), 1.1};
}

constexpr DeviceRect kPage{0, 0, 7000, 4900};

TEST(ProbabilityPage, DrawsABarForEveryFilledBinAndACurveRisingToOne) {
    std::vector<double> values;
    for (int i = 0; i < 200; ++i) values.push_back(0.8 + 0.002 * i);  // 0.8 … 1.198
    const ProbabilityPageData data = pageOf(values);
    test::RecordingCanvas canvas(600);
    drawProbabilityPage(canvas, data, kPage);

    std::size_t filledBins = 0;
    for (std::int64_t count : data.summary.histogram.counts) filledBins += count > 0 ? 1 : 0;
    const auto polygon = std::find_if(canvas.drawn.begin(), canvas.drawn.end(),
                                      [](auto& d) { return d.kind == test::Drawn::Kind::Polygon; });
    ASSERT_NE(polygon, canvas.drawn.end());
    EXPECT_EQ(polygon->points.size(), 4 * filledBins);

    // The cumulative curve: one point per bin edge, never falling, ending at the top.
    const auto curve = std::find_if(canvas.drawn.begin(), canvas.drawn.end(), [](auto& d) {
        return d.kind == test::Drawn::Kind::Polyline && d.points.size() > 5;
    });
    ASSERT_NE(curve, canvas.drawn.end());
    EXPECT_EQ(curve->points.size(), data.summary.histogram.counts.size() + 1);
    for (std::size_t k = 1; k < curve->points.size(); ++k) {
        EXPECT_LE(curve->points[k].y, curve->points[k - 1].y);  // Y grows downward
        EXPECT_GT(curve->points[k].x, curve->points[k - 1].x);
    }
}

TEST(ProbabilityPage, MarksFsOfOneInRedOnBothChartsAtTheSamePlace) {
    test::RecordingCanvas canvas(600);
    drawProbabilityPage(canvas, pageOf({1.2, 1.3, 1.4, 1.5, 1.6}), kPage);
    std::vector<int> redX;
    for (const test::Drawn& d : canvas.drawn) {
        if (d.kind == test::Drawn::Kind::Line && d.colour == 0x0000d0)
            redX.push_back(d.points[0].x);
    }
    ASSERT_EQ(redX.size(), 2u);  // Fs = 1 lies below every value: the axis reaches down to it
    EXPECT_EQ(redX[0], redX[1]);
}

TEST(ProbabilityPage, WithoutAnyFsDrawsTheTitleAndNoChart) {
    std::vector<RealisationFs> none{{0, std::nullopt, std::nullopt}};
    test::RecordingCanvas canvas(600);
    drawProbabilityPage(canvas, {"slope.slw", summariseRealisations(none), 1.0}, kPage);
    for (const test::Drawn& d : canvas.drawn) {
        EXPECT_TRUE(d.kind == test::Drawn::Kind::Text || d.kind == test::Drawn::Kind::TextBox);
    }
}

}  // namespace
}  // namespace dorvo
