// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/oracle/direct_circle_evaluation.h"

#include <cmath>
#include <limits>

#include "calc/circle_search.h"
#include "calc/result_records.h"

namespace dorvo::oracle {

namespace {

constexpr double kNoPoint = -9999.99;
// Degrees become radians with π taken as 3.14159, as the method's tables were computed.
constexpr double kElementAngle = 0.017453277777777776 * 2.626;
constexpr double kVertical = 1.570795;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Circle {
    double rx;
    double ry;
    double r;
    double r2;

    /// Y of the lower half of the circle at x; NaN where the circle does not reach.
    double lowerY(double x) const {
        const double q = r2 - (x - rx) * (x - rx);
        return q < 0.0 ? kNaN : ry - std::sqrt(q);
    }

    /// Angle of a point seen from the centre, from the downward vertical, positive to +X.
    double theta(const ArcPoint& p) const {
        return std::fabs(ry - p.y) < kEpsilon ? kVertical : std::atan((p.x - rx) / (ry - p.y));
    }
};

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

/// The moment sums of the elements, before they are multiplied by R.
struct Sums {
    double t = 0.0;  // Σ W2·cosθ·tanφ
    double e = 0.0;  // Σ W2·sinθ·tanφ·kh
    double c = 0.0;  // Σ (Co + kZ)·L
    double s = 0.0;  // Σ W1·sinθ
    double k = 0.0;  // Σ W1·cosθ·kh
};

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

/// One element: the arc chord from (x1, y1) to (x2, y2) under the ground of its block.
struct Element {
    const SectionBlock& block;
    double x1, y1, x2, y2;
    double delta;  // its angle
};

/// The weights of the soil column above an element, walked from the ground down: W1 and W2
/// above a cap (unsupported, only loading) and down to the arc, and the layer the arc lies in.
struct ColumnWeights {
    double ground1 = 0.0;  // the ground above the element's two ends
    double ground2 = 0.0;
    double area = 0.0;
    double w1 = 0.0;
    double w2 = 0.0;
    const SoilLayer* baseLayer = nullptr;  // none: the column ends before the arc (R-Over)
    bool layerMissing = false;             // a line above the arc names a layer without a row
    int missingLayerNo = 0;                // that line's layer number
};

ColumnWeights weighColumn(const Section& section, const Element& el, double r, bool capped,
                          double cap) {
    ColumnWeights column;
    const SectionBlock& block = el.block;
    const double v = el.x2 - el.x1;
    double yT1 = block.lineY(block.lineCount, el.x1);
    double yT2 = block.lineY(block.lineCount, el.x2);
    column.ground1 = yT1;
    column.ground2 = yT2;
    for (int line = block.lineCount; line >= 1; --line) {
        const SectionLine& top = block.lines[static_cast<std::size_t>(line)];
        if (top.layer == kMissingLayer) {
            column.layerMissing = true;
            column.missingLayerNo = top.layerNo;
            return column;
        }
        const SoilLayer& layer = section.layers[static_cast<std::size_t>(top.layer)];
        const double yB1 = line == 1 ? 0.0 : block.lineY(line - 1, el.x1);
        const double yB2 = line == 1 ? 0.0 : block.lineY(line - 1, el.x2);
        if (capped && (yT1 > cap || yT2 > cap)) {
            if (yB1 > cap && yB2 > cap) {
                const double area = ((yT2 - yB2) + (yT1 - yB1)) * v * 0.5;
                column.area += area;
                column.w1 += layer.gamma1 * area;
                column.w2 += layer.gamma2 * area;
                yT1 = yB1;
                yT2 = yB2;
                continue;
            }
            const double area = ((yT2 - cap) + (yT1 - cap)) * v * 0.5;
            column.area += area;
            column.w1 += layer.gamma1 * area;
            column.w2 += layer.gamma2 * area;
            yT1 = cap;
            yT2 = cap;
        }
        if (el.y1 + kEpsilon >= yB1 && el.y2 + kEpsilon >= yB2) {
            const double area = ((yT2 - el.y2) + (yT1 - el.y1)) * v * 0.5 +
                                r * r * (el.delta - std::sin(el.delta)) * 0.5;
            column.area += area;
            column.w1 += layer.gamma1 * area;
            column.w2 += layer.gamma2 * area;
            column.baseLayer = &layer;
            return column;
        }
        const double area = ((yT2 - yB2) + (yT1 - yB1)) * v * 0.5;
        column.area += area;
        column.w1 += layer.gamma1 * area;
        column.w2 += layer.gamma2 * area;
        yT1 = yB1;
        yT2 = yB2;
    }
    return column;
}

/// Adds an element's moments about the centre, taken at the centroid of its column; false
/// when the centroid falls outside the circle, which abandons the circle.
bool addElementMoments(const Section& section, const Circle& circle, const Element& el,
                       const ColumnWeights& column, Sums& sums, RecordWriter& records,
                       ElementObserver* observer) {
    const double v = el.x2 - el.x1;
    const double g1 = column.ground1;
    const double g2 = column.ground2;
    const double h1 = g1 - el.y1;
    const double h2 = g2 - el.y2;
    double xg = el.x1 + v / 2.0;
    if (v > kEpsilon && std::fabs(3.0 * (h1 + h2) / v) > kEpsilon) {
        xg = el.x1 + v * (h1 + 2.0 * h2) / (3.0 * (h1 + h2));
    }
    const double gq = circle.r2 - (xg - circle.rx) * (xg - circle.rx);
    if (gq < -kEpsilon) {
        const double s = ((g2 + h1) - (el.y1 - h2)) / v;
        records.writeRecord(centroidOutsideRecord(xg, (el.y1 - h2) + s * (xg - el.x1), v, el.x1, s,
                                                  g2 + h1, el.y1 - h2));
        return false;
    }
    const double ya = gq < kEpsilon ? circle.ry : circle.ry - std::sqrt(gq);
    const double cosTheta = (circle.ry - ya) / circle.r;
    const double sinTheta = (xg - circle.rx) / circle.r;
    const double depth = std::max(section.yc - ya, 0.0);
    const SoilLayer& layer = *column.baseLayer;
    const double t = layer.tanPhi * column.w2;
    const double cohesion = layer.co + layer.k * depth;
    sums.t += t * cosTheta;
    sums.e += t * sinTheta * section.kh;
    sums.c += cohesion * (circle.r * el.delta);
    sums.s += column.w1 * sinTheta;
    sums.k += column.w1 * cosTheta * section.kh;
    if (observer != nullptr) {
        const double r = circle.r;
        observer->element({el.x1,
                           el.y1,
                           el.x2,
                           el.y2,
                           xg,
                           sinTheta,
                           cosTheta,
                           v,
                           column.area,
                           layer.layerNo,
                           column.w1,
                           column.w2,
                           cohesion,
                           layer.tanPhi,
                           r * el.delta,
                           r * column.w1 * sinTheta,
                           r * column.w1 * cosTheta * section.kh,
                           r * t * cosTheta,
                           r * t * sinTheta * section.kh,
                           r * cohesion * (r * el.delta)});
    }
    return true;
}

/// Mf: the concentrated loads between the entry and the exit, about the centre's X.
double loadMoment(const Section& section, double rx, const ArcPoint& entry, const ArcPoint& exit) {
    double mf = 0.0;
    for (const ConcentratedForce& load : section.loads) {
        if (entry.x <= load.x && load.x <= exit.x) mf += load.force * (load.x - rx);
    }
    return mf;
}

}  // namespace

CircleOutcome evaluateCircleDirectly(const Section& section, double rx, double ry, double r,
                                     RecordWriter& records, EvaluationScratch& scratch,
                                     ElementObserver* observer) {
    CircleOutcome outcome;
    const Circle circle{rx, ry, r, r * r};

    SurfaceEnds ends = findSurfaceEnds(section, circle);
    ArcPoint& entry = ends.entry;
    ArcPoint& exit = ends.exit;
    if (std::fabs(exit.x - kNoPoint) < kEpsilon || std::fabs(exit.y - kNoPoint) < kEpsilon ||
        !std::isfinite(exit.y) || !std::isfinite(entry.y)) {
        return outcome;
    }
    const bool centreCut = exit.y > ry;
    if (centreCut && !cutAtCentreHeight(section, circle, exit)) return outcome;

    std::vector<ArcPoint>& points = scratch.points;
    if (!collectArcPoints(section, circle, entry, exit, centreCut, points)) return outcome;
    const SurfaceEnd end = cutAtDistributedLoadLayer(section, points, exit);

    if (std::fabs(ry - entry.y) < kEpsilon) return outcome;
    // An entry above the centre has no place on the lower arc: its angle would take the wrong
    // branch and the arc up to it would be lost.
    if (entry.y > ry) return outcome;

    const bool capped = centreCut || end.truncated;
    const double cap = end.truncated && exit.y < ry ? exit.y : ry;

    Sums sums;
    double theta0 = circle.theta(entry);
    for (std::size_t k = 1; k <= end.last; ++k) {
        if (std::fabs(points[k].x - points[k - 1].x) < kEpsilon) continue;
        // Each segment starts on the arc at its own first angle.
        double x1 = r * std::sin(theta0) + rx;
        double y1 = ry - r * std::cos(theta0);
        const SectionBlock& block = section.blocks[static_cast<std::size_t>(points[k].block)];
        const double theta1 = circle.theta(points[k]);
        const double count = std::trunc((theta1 - theta0) / kElementAngle) + 1.0;
        // A segment running backwards would be dropped in silence: the circle is unusable.
        if (!(count >= 1.0)) return outcome;
        const int elements = static_cast<int>(count);
        const double delta = (theta1 - theta0) / elements;
        for (int n = 1; n <= elements; ++n) {
            double theta2 = theta0 + n * delta;
            if (theta2 >= theta1) theta2 = theta1;
            const Element element{
                block, x1, y1, r * std::sin(theta2) + rx, ry - r * std::cos(theta2), delta};
            const ColumnWeights column = weighColumn(section, element, r, capped, cap);
            if (column.baseLayer == nullptr) {
                if (column.layerMissing) {
                    outcome.kind = OutcomeKind::MissingLayer;
                    outcome.missingLayerNo = column.missingLayerNo;
                    return outcome;
                }
                records.writeRecord(kROverRecord);
                continue;
            }
            if (!addElementMoments(section, circle, element, column, sums, records, observer)) {
                outcome.kind = OutcomeKind::Abandoned;
                return outcome;
            }
            x1 = element.x2;
            y1 = element.y2;
        }
        theta0 = theta1;
    }

    CircleResult& result = outcome.result;
    result = {rx, ry, r, 0, 0, 0, 0, kNoSolutionFs, entry.x, entry.y, exit.x, exit.y};
    result.mr = (sums.t - sums.e + sums.c) * r;
    result.md = (sums.k + sums.s) * r + loadMoment(section, rx, entry, exit);
    result.mc = sums.c * r;
    result.mtMe = (sums.t - sums.e) * r;
    if (result.md > kEpsilon && result.mr > kEpsilon) result.fs = result.mr / result.md;
    if (!std::isfinite(result.fs) || !std::isfinite(result.md) || !std::isfinite(result.mr)) {
        return {};
    }
    outcome.kind = OutcomeKind::Result;
    return outcome;
}

}  // namespace dorvo::oracle
