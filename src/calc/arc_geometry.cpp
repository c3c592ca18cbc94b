// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/arc_geometry.h"

#include <algorithm>

namespace dorvo {

namespace {

constexpr double kNoPoint = -9999.99;

struct Roots {
    bool meets = false;
    double left = 0.0;
    double right = 0.0;
};

Roots intersect(const Circle& circle, const SectionLine& line) {
    const double a = 1.0 + line.m * line.m;
    const double b = line.m * (line.c - circle.ry) - circle.rx;
    const double g =
        circle.rx * circle.rx + (line.c - circle.ry) * (line.c - circle.ry) - circle.r2;
    const double d = b * b - a * g;
    if (!(d > 0.0)) return {};
    const double root = std::sqrt(d);
    return {true, -(b + root) / a, (root - b) / a};
}

/// Where the slip surface enters and leaves the ground surface.
struct SurfaceEnds {
    ArcPoint entry{};
    ArcPoint exit{kNoPoint, kNoPoint, -1};
};

SurfaceEnds findSurfaceEnds(const Section& section, const Circle& circle) {
    SurfaceEnds ends;
    bool entryFound = false;
    bool inside = false;
    const int count = static_cast<int>(section.blocks.size());
    for (int j = 0; j < count; ++j) {
        const SectionBlock& block = section.blocks[static_cast<std::size_t>(j)];
        if (block.xr - block.xl < kEpsilon) continue;
        const SectionLine& ground = block.ground();
        const Roots roots = intersect(circle, ground);
        // Tests the right root against this block; true when the exit is found here.
        auto exitsHere = [&] {
            if (roots.right < block.xl) {
                ends.exit = {block.xl, circle.lowerY(block.xl), j};
                return true;
            }
            if (roots.right <= block.xr) {
                ends.exit = {roots.right, ground.m * roots.right + ground.c, j};
                return true;
            }
            inside = true;
            return false;
        };
        if (!entryFound) {
            if (!roots.meets || roots.left > block.xr) continue;
            if (roots.left < block.xl) {
                if (std::fabs(block.xl - circle.rx) >= circle.r) continue;
                ends.entry = {block.xl, circle.lowerY(block.xl), j};
            } else {
                ends.entry = {roots.left, ground.m * roots.left + ground.c, j};
            }
            entryFound = true;
            if (exitsHere()) break;
        } else if (roots.meets) {
            if (exitsHere()) break;
        } else if (inside) {
            ends.exit = {block.xl, circle.lowerY(block.xl), j};
            break;
        }
    }
    return ends;
}

/// Sorts points 1 … N by x, keeping the order of equal x (the result of a bubble sort that
/// swaps only on a strictly greater left x).
void sortAfterEntry(std::vector<ArcPoint>& points) {
    for (std::size_t i = 2; i < points.size(); ++i) {
        ArcPoint moving = points[i];
        std::size_t j = i;
        while (j > 1 && points[j - 1].x > moving.x) {
            points[j] = points[j - 1];
            --j;
        }
        points[j] = moving;
    }
}

/// Moves the exit of a circle that leaves the ground above its centre to the centre's
/// height; false when the circle has no usable exit then.
bool cutAtCentreHeight(const Section& section, const Circle& circle, ArcPoint& exit) {
    const auto& blocks = section.blocks;
    const double cutX = circle.rx + circle.r;
    for (std::size_t j = 0; j < blocks.size(); ++j) {
        if (blocks[j].xl < cutX && cutX <= blocks[j].xr) {
            exit = {cutX, circle.ry, static_cast<int>(j)};
            return true;
        }
    }
    const double lastX = blocks.back().xr;
    exit = {lastX, circle.lowerY(lastX), static_cast<int>(blocks.size()) - 1};
    return std::isfinite(exit.y);
}

/// The points where the arc changes block or layer, from the entry to the exit, sorted by
/// x: the lowest point, block sides, boundary-line crossings and, for a cut circle, where
/// the lines meet the centre's height. False when the circle reaches below the base or a
/// point has no ordinate.
bool collectArcPoints(const Section& section, const Circle& circle, const ArcPoint& entry,
                      const ArcPoint& exit, bool centreCut, std::vector<ArcPoint>& points) {
    const auto& blocks = section.blocks;
    points.clear();
    points.push_back(entry);
    for (int k = entry.block; k <= exit.block; ++k) {
        const SectionBlock& block = blocks[static_cast<std::size_t>(k)];
        if (block.xl < circle.rx && circle.rx < block.xr) {
            if (entry.x < circle.rx && circle.rx < exit.x) {
                points.push_back({circle.rx, circle.ry - circle.r, k});
            }
            break;
        }
    }
    for (int k = entry.block; k < exit.block; ++k) {
        const double xr = blocks[static_cast<std::size_t>(k)].xr;
        points.push_back({xr, circle.lowerY(xr), k});
    }
    for (int k = entry.block; k <= exit.block; ++k) {
        const SectionBlock& block = blocks[static_cast<std::size_t>(k)];
        for (int i = 0; i <= block.lineCount; ++i) {
            if (i == block.lineCount && !centreCut) continue;
            const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
            const Roots roots = intersect(circle, line);
            if (!roots.meets) continue;
            if (i == 0) return false;
            for (double x : {roots.left, roots.right}) {
                const double y = line.m * x + line.c;
                if (block.xl <= x && x <= block.xr && y < circle.ry) points.push_back({x, y, k});
            }
            if (centreCut && std::fabs(line.m) >= kEpsilon) {
                const double xh = (circle.ry - line.c) / line.m;
                if (block.xl < xh && xh < block.xr && xh > entry.x) {
                    const double y = circle.lowerY(xh);
                    if (std::isfinite(y)) points.push_back({xh, y, k});
                }
            }
        }
    }
    points.push_back(exit);
    sortAfterEntry(points);
    for (const ArcPoint& point : points) {
        if (!std::isfinite(point.y)) return false;
    }
    return true;
}

/// The last arc point the slip surface reaches: it ends where it meets the bottom of the
/// distributed-load layer, which only loads the slip mass.
struct SurfaceEnd {
    std::size_t last;
    bool truncated = false;
};

SurfaceEnd cutAtDistributedLoadLayer(const Section& section, const std::vector<ArcPoint>& points,
                                     ArcPoint& exit) {
    const std::size_t last = points.size() - 1;
    if (section.loadLayerNo <= 0 || last < 1) return {last};
    for (std::size_t k = last; k >= 1; --k) {
        const SectionBlock& block = section.blocks[static_cast<std::size_t>(points[k].block)];
        for (int i = 1; i <= block.lineCount; ++i) {
            if (block.lines[static_cast<std::size_t>(i)].layerNo != section.loadLayerNo) continue;
            const SectionLine& below = block.lines[static_cast<std::size_t>(i - 1)];
            const double lo = std::min(below.yLeft, below.yRight);
            const double hi = std::max(below.yLeft, below.yRight);
            const double y = points[k - 1].y;
            if (lo - kEpsilon <= y && y < hi + kEpsilon) {
                exit = points[k - 1];
                return {k - 1, true};
            }
        }
    }
    return {last};
}

}  // namespace

Arc findArc(const Section& section, const Circle& circle, std::vector<ArcPoint>& points) {
    Arc arc;
    const SurfaceEnds ends = findSurfaceEnds(section, circle);
    ArcPoint& entry = arc.entry;
    ArcPoint& exit = arc.exit;
    entry = ends.entry;
    exit = ends.exit;
    if (std::fabs(exit.x - kNoPoint) < kEpsilon || std::fabs(exit.y - kNoPoint) < kEpsilon ||
        !std::isfinite(exit.y) || !std::isfinite(entry.y)) {
        return arc;
    }
    const bool centreCut = exit.y > circle.ry;
    if (centreCut && !cutAtCentreHeight(section, circle, exit)) return arc;
    if (!collectArcPoints(section, circle, entry, exit, centreCut, points)) return arc;
    const SurfaceEnd end = cutAtDistributedLoadLayer(section, points, exit);
    if (std::fabs(circle.ry - entry.y) < kEpsilon) return arc;
    // An entry above the centre has no place on the lower arc: its angle would take the wrong
    // branch and the arc up to it would be lost.
    if (entry.y > circle.ry) return arc;
    arc.last = end.last;
    arc.capped = centreCut || end.truncated;
    arc.cap = end.truncated && exit.y < circle.ry ? exit.y : circle.ry;
    arc.usable = true;
    return arc;
}

}  // namespace dorvo
