// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "model/number_text.h"
#include "render/fs_bands.h"
#include "render/fs_grid.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

/// A grid of centres 0 to `columns` − 1 across and 0 to `rows` − 1 up, 1 m apart, with Fs
/// from a function of the centre.
FsGrid gridOf(int columns, int rows, const std::function<double(double, double)>& fs) {
    FsGrid grid{0.0, 0.0, 1.0, 1.0, columns, rows, {}};
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) grid.fs.push_back(fs(column, row));
    }
    return grid;
}

/// The signed area of each polygon of a band, counter-clockwise positive.
std::vector<double> polygonAreas(const BandArea& area) {
    std::vector<double> areas;
    std::size_t at = 0;
    for (int count : area.counts) {
        double twice = 0.0;
        for (int i = 0; i < count; ++i) {
            const std::size_t a = at + 2 * std::size_t(i);
            const std::size_t b = at + 2 * std::size_t((i + 1) % count);
            twice += area.xy[a] * area.xy[b + 1] - area.xy[b] * area.xy[a + 1];
        }
        areas.push_back(twice / 2);
        at += 2 * std::size_t(count);
    }
    return areas;
}

double totalArea(const BandArea& area) {
    double total = 0.0;
    for (double a : polygonAreas(area)) total += a;
    return total;
}

TEST(FsBands, APlaneRisingAcrossGivesStraightEvenlySpacedBands) {
    // Fs from 1.0 at X = 0 to 2.0 at X = 10: bands of 0.2 are strips 2 m wide.
    const FsGrid grid = gridOf(11, 6, [](double x, double) { return 1.0 + 0.1 * x; });
    const FsBandLimits bands = fsBandLimits(1.0, 2.0);
    ASSERT_EQ(bands.limits, (std::vector<double>{1.0, 1.2, 1.4, 1.6, 1.8, 2.0}));
    const std::vector<BandArea> areas = fsBandAreas(grid, bands);
    ASSERT_EQ(areas.size(), 6u);
    for (std::size_t band = 0; band < 5; ++band) {
        EXPECT_NEAR(totalArea(areas[band]), 2.0 * 5.0, 1e-9) << "band " << band;
        for (std::size_t i = 0; i < areas[band].xy.size(); i += 2) {
            EXPECT_GE(areas[band].xy[i], 2.0 * double(band) - 1e-9);
            EXPECT_LE(areas[band].xy[i], 2.0 * double(band) + 2.0 + 1e-9);
        }
        for (double a : polygonAreas(areas[band])) EXPECT_GE(a, 0.0) << "counter-clockwise";
    }
    EXPECT_NEAR(totalArea(areas[5]), 0.0, 1e-9);

    // Each limit is one straight line up the grid at its X.
    for (std::size_t k = 1; k < 5; ++k) {
        const std::vector<double> line = fsLevelLine(grid, bands.limits[k]);
        ASSERT_FALSE(line.empty());
        double length = 0.0;
        for (std::size_t i = 0; i < line.size(); i += 4) {
            EXPECT_NEAR(line[i], 2.0 * double(k), 1e-9);
            EXPECT_NEAR(line[i + 2], 2.0 * double(k), 1e-9);
            length += std::fabs(line[i + 3] - line[i + 1]);
        }
        EXPECT_NEAR(length, 5.0, 1e-9);
    }
}

TEST(FsBands, ADiagonalPlaneIsCutExactlyAlongItsLevels) {
    auto plane = [](double x, double y) { return 0.8 + 0.03 * x + 0.05 * y; };
    const FsGrid grid = gridOf(9, 7, plane);
    const FsBandLimits bands = fsBandLimits(0.8, plane(8, 6));
    const std::vector<BandArea> areas = fsBandAreas(grid, bands);
    double covered = 0.0;
    for (std::size_t band = 0; band < areas.size(); ++band) {
        const double low = bands.limits[band];
        const double high = band + 1 < bands.limits.size() ? bands.limits[band + 1]
                                                           : std::numeric_limits<double>::max();
        for (std::size_t i = 0; i < areas[band].xy.size(); i += 2) {
            const double fs = plane(areas[band].xy[i], areas[band].xy[i + 1]);
            EXPECT_GE(fs, low - 1e-9);
            EXPECT_LE(fs, high + 1e-9);
        }
        covered += totalArea(areas[band]);
    }
    EXPECT_NEAR(covered, 8.0 * 6.0, 1e-9);  // every cell, once
    const std::vector<double> unit = fsLevelLine(grid, 1.0);
    ASSERT_FALSE(unit.empty());
    for (std::size_t i = 0; i < unit.size(); i += 2) {
        EXPECT_NEAR(plane(unit[i], unit[i + 1]), 1.0, 1e-9);
    }
}

TEST(FsBands, CellsAroundACentreWithoutAResultStayOpen) {
    FsGrid grid = gridOf(5, 5, [](double x, double y) { return 1.0 + 0.1 * x + 0.02 * y; });
    grid.fs[2 * 5 + 2] = std::numeric_limits<double>::quiet_NaN();
    const FsBandLimits bands = fsBandLimits(1.0, 1.48);
    double covered = 0.0;
    for (const BandArea& area : fsBandAreas(grid, bands)) covered += totalArea(area);
    EXPECT_NEAR(covered, 16.0 - 4.0, 1e-9);
}

TEST(FsBands, LimitsAreRoundAtMostTenBandsAndAlwaysMeetOne) {
    struct Case {
        double lowest;
        double highest;
        double step;
    };
    for (const Case& c : {Case{1.013, 1.463, 0.05}, Case{0.827, 1.074, 0.025},
                          Case{1.2, 1.2, 0.001}, Case{0.31, 0.97, 0.1}, Case{2.5, 9.0, 0.5}}) {
        const FsBandLimits bands = fsBandLimits(c.lowest, c.highest);
        EXPECT_DOUBLE_EQ(bands.step, c.step) << c.lowest << " to " << c.highest;
        EXPECT_LE(bands.limits.size(), std::size_t(kMostFsBands));
        EXPECT_LE(bands.limits.front(), c.lowest);
        EXPECT_EQ(bands.bandOf(c.lowest), 0);
        if (c.lowest < 1.0 && c.highest >= 1.0) {
            EXPECT_NE(std::find(bands.limits.begin(), bands.limits.end(), 1.0), bands.limits.end());
        }
    }
    // A few high centres share the top band instead of stretching the steps.
    const FsBandLimits spread = fsBandLimits(0.9, 40.0);
    EXPECT_DOUBLE_EQ(spread.step, 0.1);
    EXPECT_EQ(spread.bandOf(40.0), int(spread.limits.size()) - 1);
    EXPECT_NEAR(spread.limits.back(), 1.8, 1e-9);

    // Values far beyond any slope still end in one to ten bands.
    for (auto [lowest, highest] : {std::pair{1e300, 1.7e308}, std::pair{-1.7e308, 1.7e308},
                                   std::pair{-1e-300, 0.0}, std::pair{4e15, 4e15 + 1}}) {
        const FsBandLimits bands = fsBandLimits(lowest, highest);
        EXPECT_GE(bands.limits.size(), 1u) << lowest;
        EXPECT_LE(bands.limits.size(), std::size_t(kMostFsBands)) << lowest;
    }
}

TEST(FsGrid, CentresWithoutAFactorOfSafetyStayOpenLikeCentresWithoutAResult) {
    test::ProjectBuilder builder;
    builder.search(10, 20, 14, 24, 2, 2, 15, 10, 1);
    const auto search = validCircleSearch(builder.project().circleSearch);
    ASSERT_TRUE(search);
    const auto grid = fsGridOf(
        *search, {{10.0, 20.0, "9999.99"}, {12.0, 20.0, "9999.0"}, {14.0, 20.0, "9998.5"}});
    ASSERT_TRUE(grid);
    EXPECT_TRUE(std::isnan(grid->at(0, 0)));
    EXPECT_TRUE(std::isnan(grid->at(1, 0)));
    EXPECT_EQ(grid->at(2, 0), 9998.5);
}

TEST(FsGrid, LabelsFallOnTheirCentresAndTheRestStayOpen) {
    test::ProjectBuilder builder;
    builder.search(10, 20, 14, 24, 2, 2, 15, 10, 1);  // 3 × 3 centres
    const auto search = validCircleSearch(builder.project().circleSearch);
    ASSERT_TRUE(search);
    const std::vector<CentreLabel> labels = {{10.0, 20.0, "1.250"},     {14.0, 24.0, "0.980"},
                                             {12.004, 21.996, "1.100"}, {12.0, 22.0, "1.300"},
                                             {16.0, 20.0, "0.500"},     {10.0, 22.0, "---"},
                                             {9.0, 20.0, "0.100"},      {12.0, 20.0, "1.4e999"}};
    const auto grid = fsGridOf(*search, labels);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->columns, 3);
    EXPECT_EQ(grid->rows, 3);
    EXPECT_EQ(grid->at(0, 0), 1.25);
    EXPECT_EQ(grid->at(2, 2), 0.98);
    EXPECT_EQ(grid->at(1, 1), 1.1);  // the lower of two at one centre
    EXPECT_TRUE(std::isnan(grid->at(0, 1)));
    EXPECT_TRUE(std::isnan(grid->at(1, 0)));
    EXPECT_EQ(
        std::count_if(grid->fs.begin(), grid->fs.end(), [](double v) { return !std::isnan(v); }),
        3);

    test::ProjectBuilder row;
    row.search(10, 20, 14, 20, 2, 1, 15, 10, 1);  // one row: no cells
    EXPECT_FALSE(fsGridOf(*validCircleSearch(row.project().circleSearch), labels));
}

}  // namespace
}  // namespace dorvo
