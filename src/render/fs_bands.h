// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "render/fs_grid.h"

namespace dorvo {

/// Bands of Fs at a round step: band i holds the values from limits[i] up to limits[i + 1],
/// the last one every value from the last limit up.
struct FsBandLimits {
    std::vector<double> limits;
    double step = 0.0;

    int bandOf(double fs) const;
};

inline constexpr int kMostFsBands = 10;

/// Limits at the smallest round step (1, 2, 2.5 or 5 × 10ⁿ) that covers the values with at
/// most kMostFsBands bands. Values beyond the lowest plus the larger of the lowest and 1 share
/// the top band, so that a few high centres do not squeeze the bands where the slope is
/// weakest; so values that reach across 1.0 span less than 1, and every step that small
/// divides 1: 1.0 is always a limit.
FsBandLimits fsBandLimits(double lowest, double highest);

/// The lowest and highest Fs of the grid, when any centre has one.
struct FsRange {
    double lowest = 0.0;
    double highest = 0.0;
};
std::optional<FsRange> fsRangeOf(const FsGrid& grid);

/// Polygons of one band as x, y pairs in model metres, with the point count of each.
struct BandArea {
    std::vector<double> xy;
    std::vector<int> counts;
};

/// The area of each band over the cells whose four centres all have a result; cells with a
/// centre without one stay open. Neighbouring cells inside one band along a row make one
/// quadrilateral; a cell that bands cross is split at its middle, where Fs is the mean of its
/// corners, into four triangles over which Fs is linear, which also settles the saddle cells
/// of marching squares.
std::vector<BandArea> fsBandAreas(const FsGrid& grid, const FsBandLimits& bands);

/// The line where Fs equals `level`, over the same triangles: segments as x1, y1, x2, y2.
std::vector<double> fsLevelLine(const FsGrid& grid, double level);

}  // namespace dorvo
