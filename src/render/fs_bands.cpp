// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/fs_bands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace dorvo {

namespace {

struct FsPoint {
    double x = 0.0;
    double y = 0.0;
    double fs = 0.0;
};

using Polygon = std::vector<FsPoint>;

FsPoint between(const FsPoint& a, const FsPoint& b, double level) {
    const double t = (level - a.fs) / (b.fs - a.fs);
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), level};
}

/// The part of a convex polygon where Fs is at least the level (or below it).
Polygon clipAt(const Polygon& polygon, double level, bool keepAbove) {
    Polygon kept;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const FsPoint& a = polygon[i];
        const FsPoint& b = polygon[(i + 1) % polygon.size()];
        const bool aIn = (a.fs >= level) == keepAbove;
        const bool bIn = (b.fs >= level) == keepAbove;
        if (aIn) kept.push_back(a);
        if (aIn != bIn) kept.push_back(between(a, b, level));
    }
    return kept;
}

void append(BandArea& area, const Polygon& polygon) {
    if (polygon.size() < 3) return;
    for (const FsPoint& p : polygon) {
        area.xy.push_back(p.x);
        area.xy.push_back(p.y);
    }
    area.counts.push_back(static_cast<int>(polygon.size()));
}

/// The four corners of a cell counter-clockwise from its bottom left, when all have an Fs.
std::optional<std::array<FsPoint, 4>> cellCorners(const FsGrid& grid, int column, int row) {
    std::array<FsPoint, 4> corners = {
        FsPoint{grid.x(column), grid.y(row), grid.at(column, row)},
        FsPoint{grid.x(column + 1), grid.y(row), grid.at(column + 1, row)},
        FsPoint{grid.x(column + 1), grid.y(row + 1), grid.at(column + 1, row + 1)},
        FsPoint{grid.x(column), grid.y(row + 1), grid.at(column, row + 1)}};
    for (const FsPoint& corner : corners) {
        if (std::isnan(corner.fs)) return std::nullopt;
    }
    return corners;
}

/// The cell's four triangles from each side to its middle, counter-clockwise like the cell.
std::array<Polygon, 4> cellTriangles(const std::array<FsPoint, 4>& c) {
    const FsPoint middle{(c[0].x + c[2].x) / 2, (c[0].y + c[2].y) / 2,
                         (c[0].fs + c[1].fs + c[2].fs + c[3].fs) / 4};
    return {Polygon{c[0], c[1], middle}, Polygon{c[1], c[2], middle}, Polygon{c[2], c[3], middle},
            Polygon{c[3], c[0], middle}};
}

/// Calls `visit` with the corners of every cell whose centres all have an Fs.
template <typename Visit>
void forEachCell(const FsGrid& grid, Visit visit) {
    for (int row = 0; row + 1 < grid.rows; ++row) {
        for (int column = 0; column + 1 < grid.columns; ++column) {
            if (auto corners = cellCorners(grid, column, row)) visit(*corners);
        }
    }
}

double roundStepAtLeast(double wanted) {
    const double decade = std::pow(10.0, std::floor(std::log10(wanted)));
    for (double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (factor * decade >= wanted * (1 - 1e-9)) return factor * decade;
    }
    return 10.0 * decade;
}

}  // namespace

int FsBandLimits::bandOf(double fs) const {
    const auto above = std::upper_bound(limits.begin(), limits.end(), fs);
    return std::max(0, static_cast<int>(above - limits.begin()) - 1);
}

FsBandLimits fsBandLimits(double lowest, double highest) {
    const double top = std::min(highest, lowest + std::max(lowest, 1.0));
    FsBandLimits bands;
    bands.step = roundStepAtLeast(std::max((top - lowest) / kMostFsBands, 1e-3));
    while (std::floor(top / bands.step) - std::floor(lowest / bands.step) + 1 > kMostFsBands) {
        bands.step = roundStepAtLeast(bands.step * 1.01);
    }
    const double first = std::floor(lowest / bands.step);
    for (int i = 0; i < kMostFsBands && first + i <= top / bands.step; ++i) {
        // Rounded so that 1.0 and the legend's numbers come out exact.
        bands.limits.push_back(std::round((first + i) * bands.step * 1e9) / 1e9);
    }
    // Values beyond what doubles can step through still make one band.
    if (bands.limits.empty()) bands.limits.push_back(lowest);
    return bands;
}

std::optional<FsRange> fsRangeOf(const FsGrid& grid) {
    std::optional<FsRange> range;
    for (double fs : grid.fs) {
        if (std::isnan(fs)) continue;
        if (!range) range = FsRange{fs, fs};
        range->lowest = std::min(range->lowest, fs);
        range->highest = std::max(range->highest, fs);
    }
    return range;
}

std::vector<BandArea> fsBandAreas(const FsGrid& grid, const FsBandLimits& bands) {
    std::vector<BandArea> areas(bands.limits.size());
    const auto lastBand = static_cast<int>(areas.size()) - 1;
    // The last whole cell drawn: the next one in the same band just right of it widens it, so
    // that a band is a few long quadrilaterals rather than many cells.
    int runBand = -1;
    std::size_t runAt = 0;
    forEachCell(grid, [&](const std::array<FsPoint, 4>& corners) {
        int lowBand = lastBand;
        int highBand = 0;
        for (const FsPoint& corner : corners) {
            lowBand = std::min(lowBand, bands.bandOf(corner.fs));
            highBand = std::max(highBand, bands.bandOf(corner.fs));
        }
        if (lowBand == highBand) {
            std::vector<double>& xy = areas[std::size_t(lowBand)].xy;
            if (runBand == lowBand && xy[runAt + 2] == corners[0].x &&
                xy[runAt + 3] == corners[0].y) {
                xy[runAt + 2] = corners[1].x;
                xy[runAt + 4] = corners[2].x;
                return;
            }
            runBand = lowBand;
            runAt = xy.size();
            append(areas[std::size_t(lowBand)], Polygon(corners.begin(), corners.end()));
            return;
        }
        runBand = -1;
        for (const Polygon& triangle : cellTriangles(corners)) {
            for (int band = lowBand; band <= highBand; ++band) {
                Polygon part = triangle;
                if (band > 0) part = clipAt(part, bands.limits[std::size_t(band)], true);
                if (band < lastBand) {
                    part = clipAt(part, bands.limits[std::size_t(band) + 1], false);
                }
                append(areas[std::size_t(band)], part);
            }
        }
    });
    return areas;
}

std::vector<double> fsLevelLine(const FsGrid& grid, double level) {
    std::vector<double> segments;
    forEachCell(grid, [&](const std::array<FsPoint, 4>& corners) {
        const auto above = std::count_if(corners.begin(), corners.end(),
                                         [&](const FsPoint& p) { return p.fs >= level; });
        if (above == 0 || above == 4) return;
        for (const Polygon& triangle : cellTriangles(corners)) {
            std::vector<FsPoint> ends;
            for (std::size_t i = 0; i < 3; ++i) {
                const FsPoint& a = triangle[i];
                const FsPoint& b = triangle[(i + 1) % 3];
                if ((a.fs >= level) != (b.fs >= level)) ends.push_back(between(a, b, level));
            }
            if (ends.size() != 2) continue;
            segments.insert(segments.end(), {ends[0].x, ends[0].y, ends[1].x, ends[1].y});
        }
    });
    return segments;
}

}  // namespace dorvo
