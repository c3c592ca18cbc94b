// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/circle_evaluation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "calc/circle_search.h"
#include "calc/result_records.h"

namespace dorvo {

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

/// An angle on the arc with its sine and cosine.
struct ArcAngle {
    double theta;
    double sin;
    double cos;
    bool turned = false;  // its sine and cosine come from turning another angle

    static ArcAngle at(double theta) { return {theta, std::sin(theta), std::cos(theta)}; }

    /// An angle below kElementAngle, its sine and cosine by their series to within an ulp.
    static ArcAngle small(double theta) {
        const double t2 = theta * theta;
        const double sin =
            theta * (1.0 - t2 * (1.0 / 6) * (1.0 - t2 * (1.0 / 20) * (1.0 - t2 * (1.0 / 42))));
        const double cos =
            1.0 -
            t2 * 0.5 * (1.0 - t2 * (1.0 / 12) * (1.0 - t2 * (1.0 / 30) * (1.0 - t2 * (1.0 / 56))));
        return {theta, sin, cos};
    }

    /// The angle turned by `step`, its sine and cosine by the sum formulas rather than anew.
    ArcAngle turnedBy(const ArcAngle& step) const {
        return {theta + step.theta, sin * step.cos + cos * step.sin,
                cos * step.cos - sin * step.sin, true};
    }
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

// A stepped evaluation gives up, for the direct one to decide, where a decision of its own
// compares a value within these margins of its threshold: the rotation moves the element ends
// by some 1e-14 of the radius, and these allow for a million times that.
constexpr double kLengthMargin = 1e-8;      // times (1 + R), for heights and widths
constexpr double kRatioMargin = 1e-4;       // times kEpsilon, for the column's height ratio
constexpr double kSteepestCentroid = 0.01;  // cos θ below this makes ya too sensitive
// The sums of a stepped evaluation lie within this share of the sum of their terms' sizes,
// times R, of the direct one's: some five hundred times the largest difference seen.
constexpr double kSumMargin = 1e-12;
constexpr double kRoundingMargin = 1e-14;  // relative, for the last roundings of a result

bool near(double a, double b, double margin) {
    return std::fabs(a - b) <= margin;
}

/// How much a centroid at |cos θ| = c magnifies a move of its X in the height of the arc under
/// it, bounded above: below kSteepestCentroid a stepped evaluation gives up.
double steepness(double c) {
    return c >= 0.5 ? 2.0 : c >= 0.1 ? 10.0 : 1.0 / kSteepestCentroid;
}

/// The sums of the moments' terms, before they are multiplied by R, and the sizes of their
/// terms, from which a stepped evaluation bounds its distance from the direct one.
struct Sums {
    double t = 0.0;  // Σ W2·cosθ·tanφ
    double e = 0.0;  // Σ W2·sinθ·tanφ·kh
    double c = 0.0;  // Σ (Co + kZ)·L
    double s = 0.0;  // Σ W1·sinθ
    double k = 0.0;  // Σ W1·cosθ·kh
    // For the bounds of a stepped evaluation: the terms' sizes, each times its lever.
    double weights = 0.0;       // Σ |W1|
    double friction = 0.0;      // Σ |W2·tanφ|
    double cohesion = 0.0;      // Σ |(Co + kZ)·L|
    double widths = 0.0;        // Σ |v|
    double heights = 0.0;       // Σ |h1| + |h2|
    double steepLengths = 0.0;  // Σ L times the centroid's steepness
};

/// How far the sums of a stepped evaluation may stray, before the margin and R.
struct TermSizes {
    double weights = 0.0;
    double friction = 0.0;
    double cohesion = 0.0;
};

/// The heights of a block's lines at one end of an element; line 0, the base, at 0.
using LineHeights = std::array<double, kMaxBlockLines + 1>;

/// Evaluates the elements of a circle's arc, segment by segment. `kStepped` steps the element
/// angles within a segment by rotation and gives up where a decision is too close to call.
template <bool kStepped>
class ArcElements {
  public:
    ArcElements(const Section& section, const SectionSizes& sizes, const Circle& circle,
                bool capped, double cap, RecordWriter* records, ElementObserver* observer)
        : section_(section),
          sizes_(sizes),
          circle_(circle),
          capped_(capped),
          cap_(cap),
          records_(records),
          observer_(observer),
          scaleX_(circle.r + std::fabs(circle.rx)),
          scaleY_(circle.r + std::fabs(circle.ry) + sizes.height),
          inverseR_(1.0 / circle.r),
          margin_(kLengthMargin * (1.0 + circle.r)) {}

    enum class Stop { None, MissingLayer, Abandoned, Unsettled };

    /// Adds the `elements` elements of one segment, from `start` to theta1 in `block`; `end`
    /// becomes the angle of its last end.
    Stop addSegment(const SectionBlock& block, ArcAngle start, double theta1, int elements,
                    ArcAngle& end) {
        block_ = &block;
        const double r = circle_.r;
        const double delta = (theta1 - start.theta) / elements;
        const ArcAngle step = kStepped ? ArcAngle::small(delta) : ArcAngle::at(delta);
        capArea_ = r * r * (delta - step.sin) * 0.5;
        length_ = r * delta;
        // A block without lines has no layer to stop a walk in: its elements are R-Over.
        bool allLayers = block.lineCount > 0;
        for (int i = 1; i <= block.lineCount; ++i) {
            const int layer = block.lines[static_cast<std::size_t>(i)].layer;
            layers_[static_cast<std::size_t>(i)] =
                layer == kMissingLayer ? nullptr
                                       : &section_.layers[static_cast<std::size_t>(layer)];
            allLayers &= layer != kMissingLayer;
        }
        if constexpr (kStepped) {
            if (allLayers) {
                const Stop stop = addOneLayerSegment(start, step, theta1, elements, end);
                if (stop != Stop::None || !notOneLayer_) return stop;
            }
        }
        // Element by element, the segment starts where the direct evaluation starts it.
        if (start.turned) start = ArcAngle::at(start.theta);
        LineHeights ends[2];
        LineHeights* left = &ends[0];
        LineHeights* right = &ends[1];
        double x1 = r * start.sin + circle_.rx;
        double y1 = circle_.ry - r * start.cos;
        bool leftStepped = false;
        placeHeights(x1, y1, false, *left);
        ArcAngle angle = start;
        for (int n = 1; n <= elements; ++n) {
            // Within the segment a stepped evaluation turns the angle; its last end is placed
            // as the direct evaluation places it.
            const bool rightStepped = kStepped && n < elements;
            if (rightStepped) {
                angle = angle.turnedBy(step);
            } else {
                double theta2 = start.theta + n * delta;
                if (theta2 >= theta1) theta2 = theta1;
                angle = ArcAngle::at(theta2);
            }
            const double x2 = r * angle.sin + circle_.rx;
            const double y2 = circle_.ry - r * angle.cos;
            placeHeights(x2, y2, rightStepped, *right);
            const End a{x1, y1, leftStepped, *left};
            const End b{x2, y2, rightStepped, *right};
            const ColumnWeights column = weigh(a, b);
            if (column.baseLayer == nullptr) {
                if (column.layerMissing) {
                    missingLayerNo_ = column.missingLayerNo;
                    return Stop::MissingLayer;
                }
                if constexpr (kStepped) return Stop::Unsettled;
                records_->writeRecord(kROverRecord);
                continue;  // the next element reaches back to where this one began
            }
            if (!addMoments(a, b, column)) {
                if constexpr (kStepped) return Stop::Unsettled;
                return Stop::Abandoned;
            }
            x1 = x2;
            y1 = y2;
            leftStepped = rightStepped;
            std::swap(left, right);
        }
        end = angle;
        return doubt_ ? Stop::Unsettled : Stop::None;
    }

    const Sums& sums() const { return sums_; }
    int missingLayerNo() const { return missingLayerNo_; }

  private:
    /// An end of an element: where it lies and the heights of the lines above and below it.
    struct End {
        double x;
        double y;
        bool stepped;  // placed by a rotation, not as the direct evaluation places it
        const LineHeights& heights;
    };

    /// The block's lines at x. Off the direct evaluation's ends the stepped one takes their
    /// heights from their slope and intercept, within its bounds, and gives up where a
    /// decision of the walk down a column, at this end, is too close to call.
    void placeHeights(double x, double y, bool stepped, LineHeights& heights) {
        const SectionBlock& block = *block_;
        heights[0] = 0.0;
        if (kStepped && stepped) {
            const double arc = y + kEpsilon;
            bool close = std::fabs(arc) <= margin_;
            for (int i = 1; i <= block.lineCount; ++i) {
                const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
                const double h = line.yLeft + line.m * (x - block.xl);
                heights[static_cast<std::size_t>(i)] = h;
                close |= std::fabs(arc - h) <= margin_;
                close |= capped_ && std::fabs(h - cap_) <= margin_;
            }
            if (close) doubt_ = true;
        } else {
            const double width = block.xr - block.xl;
            for (int i = 1; i <= block.lineCount; ++i) {
                const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
                heights[static_cast<std::size_t>(i)] =
                    line.yLeft + (line.yRight - line.yLeft) * (x - block.xl) / width;
            }
        }
    }

    /// The elements of a segment whose arc lies in one layer from end to end, for a stepped
    /// evaluation over a block whose lines all have their layers, the layer's floor below any
    /// cap: the
    /// columns above all elements are the same lines, so their weights are linear in x, and
    /// every element goes through the same few steps. Sets notOneLayer_ and adds nothing
    /// otherwise, for the element by element walk to decide.
    Stop addOneLayerSegment(const ArcAngle& start, const ArcAngle& step, double theta1,
                            int elements, ArcAngle& end) {
        constexpr int kMost = 70;  // the angles lie within (-π/2, π/2]
        static_assert(kMost > 3.1416 / kElementAngle + 1.0);
        notOneLayer_ = false;
        const SectionBlock& block = *block_;
        const double r = circle_.r;
        const int m = elements;
        std::array<double, kMost + 1> x;
        std::array<double, kMost + 1> y;
        // Every end by rotation, the last one too: it starts the next segment as theta1.
        ArcAngle angle = start;
        x[0] = r * angle.sin + circle_.rx;
        y[0] = circle_.ry - r * angle.cos;
        for (int j = 1; j <= m; ++j) {
            angle = angle.turnedBy(step);
            x[static_cast<std::size_t>(j)] = r * angle.sin + circle_.rx;
            y[static_cast<std::size_t>(j)] = circle_.ry - r * angle.cos;
        }
        angle.theta = theta1;

        // The layer of the arc, s: the one the first element's walk stops in, or, with ends
        // between the segment's ends, the one the first of those lies in.
        const int lineCount = block.lineCount;
        const std::size_t lastEnd = static_cast<std::size_t>(m);
        bool tooClose = false;
        const std::uint32_t firstBits = layerBitsAt(x[0], y[0], tooClose);
        const std::uint32_t lastBits = layerBitsAt(x[lastEnd], y[lastEnd], tooClose);
        bool unused = false;
        const std::uint32_t layerBits =
            m > 1 ? layerBitsAt(x[1], y[1], unused) : firstBits & lastBits;
        if (tooClose) return Stop::Unsettled;
        if (layerBits == 0) {
            notOneLayer_ = true;
            return Stop::None;
        }
        const int s = static_cast<int>(std::bit_width(layerBits)) - 1;
        const std::uint32_t bit = 1u << s;
        if ((firstBits & bit) == 0 || (lastBits & bit) == 0 ||
            (m > 1 && !withinOneLayer(s, x[1], x[lastEnd - 1], y[1], y[lastEnd - 1])) ||
            (capped_ && !floorBelowCap(s, x[0], x[lastEnd]))) {
            notOneLayer_ = true;
            return Stop::None;
        }
        const double xl = block.xl;
        const SectionLine& ground = block.lines[static_cast<std::size_t>(lineCount)];
        const SectionLine& roofLine = block.lines[static_cast<std::size_t>(s)];
        std::array<double, kMost + 1> top;
        std::array<double, kMost + 1> roof;  // line s, the top of the arc's layer
        for (int j = 0; j <= m; ++j) {
            const auto at = static_cast<std::size_t>(j);
            top[at] = ground.yLeft + ground.m * (x[at] - xl);
            roof[at] = roofLine.yLeft + roofLine.m * (x[at] - xl);
        }

        // The weights above line s at x: Σ γ·(h(i) − h(i − 1)) over the lines i above s.
        double above1 = 0.0;
        double rise1 = 0.0;
        double above2 = 0.0;
        double rise2 = 0.0;
        for (int i = s + 1; i <= lineCount; ++i) {
            const SectionLine& upper = block.lines[static_cast<std::size_t>(i)];
            const SectionLine& lower = block.lines[static_cast<std::size_t>(i - 1)];
            const SoilLayer& layer = *layers_[static_cast<std::size_t>(i)];
            above1 += layer.gamma1 * (upper.yLeft - lower.yLeft);
            rise1 += layer.gamma1 * (upper.m - lower.m);
            above2 += layer.gamma2 * (upper.yLeft - lower.yLeft);
            rise2 += layer.gamma2 * (upper.m - lower.m);
        }
        const SoilLayer& layer = *layers_[static_cast<std::size_t>(s)];
        const double kh = section_.kh;
        // Element by element in three plain loops, each free of branches and of anything
        // carried from one element to the next but sums, so that their divisions and square
        // roots overlap: the columns and centroids, the angles and terms, the sums.
        std::array<double, kMost + 1> w1;
        std::array<double, kMost + 1> w2;
        std::array<double, kMost + 1> xg;
        std::array<double, kMost + 1> widths;
        std::array<double, kMost + 1> heights;
        // A loop vectorizes with nothing but doubles in it: doubts too are kept as 0 or 1.
        std::array<double, kMost + 1> doubts;
        const double rx = circle_.rx;
        const double ry = circle_.ry;
        const double r2 = circle_.r2;
        const double capArea = capArea_;
        const double gamma1 = layer.gamma1;
        const double gamma2 = layer.gamma2;
        for (int k = 1; k <= m; ++k) {
            const auto a = static_cast<std::size_t>(k - 1);
            const auto b = static_cast<std::size_t>(k);
            const double v = x[b] - x[a];
            const double half = v * 0.5;
            const double base = ((roof[b] - y[b]) + (roof[a] - y[a])) * half + capArea;
            const double along = (x[a] - xl) + (x[b] - xl);
            w1[b] = (2.0 * above1 + rise1 * along) * half + gamma1 * base;
            w2[b] = (2.0 * above2 + rise2 * along) * half + gamma2 * base;
            const double h1 = top[a] - y[a];
            const double h2 = top[b] - y[b];
            const double height = std::fabs(3.0 * (h1 + h2));
            const double widthGap = std::fabs(v - kEpsilon) - kRatioMargin * kEpsilon;
            const double heightGap = std::fabs(height - kEpsilon * v) - kRatioMargin * kEpsilon * v;
            doubts[b] = std::min(widthGap, heightGap) <= 0.0 ? 1.0 : 0.0;
            const double moved = v * (h1 + 2.0 * h2) / (3.0 * (h1 + h2));
            xg[b] = x[a] + (v > kEpsilon ? (height > kEpsilon * v ? moved : half) : half);
            widths[b] = std::fabs(v);
            heights[b] = std::fabs(h1) + std::fabs(h2);
        }
        std::array<double, kMost + 1> terms[5];  // t·cosθ, t·sinθ·kh, c·L, W1·sinθ, W1·cosθ·kh
        std::array<double, kMost + 1> sizes[4];  // |W1|, |t| and |c·L| by their lever, steepness·L
        const double margin = kLengthMargin * (1.0 + r2);
        const double inverseR = inverseR_;
        const double yc = section_.yc;
        const double tanPhi = layer.tanPhi;
        const double co = layer.co;
        const double rate = layer.k;
        const double length = length_;
        const double levelLever = scaleX_ * inverseR;
        const double steepLever = scaleY_ * inverseR;
        for (int k = 1; k <= m; ++k) {
            const auto b = static_cast<std::size_t>(k);
            const double dx = xg[b] - rx;
            const double gq = r2 - dx * dx;
            const double ya = ry - (gq < kEpsilon ? 0.0 : std::sqrt(std::max(gq, 0.0)));
            const double cosTheta = (ry - ya) * inverseR;
            const double sinTheta = dx * inverseR;
            const double c = std::fabs(cosTheta);
            const double outside = gq < -kEpsilon ? 1.0 : 0.0;
            const double close = std::fabs(std::fabs(gq) - kEpsilon) <= margin ? 1.0 : 0.0;
            const double steepest = c < kSteepestCentroid ? 1.0 : 0.0;
            doubts[b] += outside + close + steepest;
            const double depth = std::max(yc - ya, 0.0);
            const double t = tanPhi * w2[b];
            const double cohesion = (co + rate * depth) * length;
            terms[0][b] = t * cosTheta;
            terms[1][b] = t * sinTheta * kh;
            terms[2][b] = cohesion;
            terms[3][b] = w1[b] * sinTheta;
            terms[4][b] = w1[b] * cosTheta * kh;
            const double steep = steepness(c);
            const double lever = 1.0 + levelLever + steepLever * steep;
            sizes[0][b] = std::fabs(w1[b]) * lever;
            sizes[1][b] = std::fabs(t) * lever;
            sizes[2][b] = std::fabs(cohesion) * lever;
            sizes[3][b] = steep;
        }
        bool doubtful = false;
        for (int k = 1; k <= m; ++k) {
            const auto b = static_cast<std::size_t>(k);
            sums_.t += terms[0][b];
            sums_.e += terms[1][b];
            sums_.c += terms[2][b];
            sums_.s += terms[3][b];
            sums_.k += terms[4][b];
            sums_.weights += sizes[0][b];
            sums_.friction += sizes[1][b];
            sums_.cohesion += sizes[2][b];
            sums_.steepLengths += length_ * sizes[3][b];
            sums_.widths += widths[b];
            sums_.heights += heights[b];
            doubtful |= doubts[b] != 0.0;
        }
        end = angle;
        return doubtful || doubt_ ? Stop::Unsettled : Stop::None;
    }

    /// Whether line s − 1, the floor of the arc's layer, lies below the cap from x1 to x2 by
    /// more than the margin (it is straight: its two ends tell). A cap splits the layers it
    /// crosses into two parts of the same area, which changes nothing but roundings, except
    /// where both ends of an element's floor lie above it: the walk then passes the arc's
    /// layer by.
    bool floorBelowCap(int s, double x1, double x2) const {
        if (s == 1) return 0.0 < cap_ - margin_;
        const SectionLine& floor = block_->lines[static_cast<std::size_t>(s - 1)];
        const double h1 = floor.yLeft + floor.m * (x1 - block_->xl);
        const double h2 = floor.yLeft + floor.m * (x2 - block_->xl);
        return std::max(h1, h2) < cap_ - margin_;
    }

    /// The lines i whose line i − 1 the arc at (x, y) is on or above, within kEpsilon, as
    /// bits; `close` is set where one is too close to call.
    std::uint32_t layerBitsAt(double x, double y, bool& close) const {
        const SectionBlock& block = *block_;
        const double arc = y + kEpsilon;
        std::uint32_t bits = arc >= 0.0 ? 2u : 0u;
        bool near0 = std::fabs(arc) <= margin_;
        for (int i = 1; i < block.lineCount; ++i) {
            const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
            const double h = line.yLeft + line.m * (x - block.xl);
            bits |= static_cast<std::uint32_t>(arc >= h) << (i + 1);
            near0 |= std::fabs(arc - h) <= margin_;
        }
        close |= near0;
        return bits;
    }

    /// Whether the arc between two of its points, stepped ones, lies on or above line s − 1
    /// and below every line above, each by more than the margin: then so do all the stepped
    /// ends between them. Between two points on the lower arc, its height less a line's is
    /// convex: greatest at one of the two points, least at one of them or where the arc runs
    /// parallel to the line.
    bool withinOneLayer(int s, double x1, double x2, double y1, double y2) const {
        const SectionBlock& block = *block_;
        const auto height = [&block](int i, double x) {
            if (i == 0) return 0.0;
            const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
            return line.yLeft + line.m * (x - block.xl);
        };
        for (int i = s; i < block.lineCount; ++i) {
            if (y1 + kEpsilon >= height(i, x1) - margin_ ||
                y2 + kEpsilon >= height(i, x2) - margin_) {
                return false;
            }
        }
        const double slope = s == 1 ? 0.0 : block.lines[static_cast<std::size_t>(s - 1)].m;
        double lowest = std::min(y1 - height(s - 1, x1), y2 - height(s - 1, x2));
        const double across = std::sqrt(1.0 + slope * slope);
        const double xt = circle_.rx + slope * circle_.r / across;
        if (x1 < xt && xt < x2) {
            lowest = std::min(lowest, circle_.ry - circle_.r / across - height(s - 1, xt));
        }
        return lowest + kEpsilon > margin_;
    }

    /// Adds the sizes of an element's terms, from which a stepped evaluation bounds how far it
    /// may lie from the direct one. A rotated end moves some ulps of the coordinates: the
    /// terms move by their size times the coordinates over R (through θ, more where the
    /// centroid is steep), and the column by its width times the heights and its height times
    /// the X.
    void addSizes(double w1, double t, double cohesion, double v, double h1, double h2,
                  double cosTheta) {
        const double steep = steepness(std::fabs(cosTheta));
        const double lever = 1.0 + (scaleX_ + scaleY_ * steep) * inverseR_;
        sums_.weights += std::fabs(w1) * lever;
        sums_.friction += std::fabs(t) * lever;
        sums_.cohesion += std::fabs(cohesion * length_) * lever;
        sums_.widths += std::fabs(v);
        sums_.heights += std::fabs(h1) + std::fabs(h2);
        sums_.steepLengths += length_ * steep;
    }

  public:
    TermSizes termSizes() const {
        const double columns = sums_.widths * scaleY_ + sums_.heights * scaleX_;
        return {sums_.weights + sizes_.weight1 * columns,
                sums_.friction + sizes_.friction2 * columns,
                sums_.cohesion + sizes_.cohesionRate * scaleY_ * sums_.steepLengths};
    }

  private:
    /// The soil column above an element, walked from the ground down: W1 and W2 above a cap
    /// (unsupported, only loading) and down to the arc, and the layer the arc lies in.
    ColumnWeights weigh(const End& a, const End& b) {
        ColumnWeights column;
        const SectionBlock& block = *block_;
        const double v = b.x - a.x;
        double yT1 = a.heights[static_cast<std::size_t>(block.lineCount)];
        double yT2 = b.heights[static_cast<std::size_t>(block.lineCount)];
        column.ground1 = yT1;
        column.ground2 = yT2;
        auto add = [&column](const SoilLayer& layer, double area) {
            column.area += area;
            column.w1 += layer.gamma1 * area;
            column.w2 += layer.gamma2 * area;
        };
        for (int line = block.lineCount; line >= 1; --line) {
            const SectionLine& top = block.lines[static_cast<std::size_t>(line)];
            if (top.layer == kMissingLayer) {
                column.layerMissing = true;
                column.missingLayerNo = top.layerNo;
                return column;
            }
            const SoilLayer& layer = section_.layers[static_cast<std::size_t>(top.layer)];
            const double yB1 = a.heights[static_cast<std::size_t>(line - 1)];
            const double yB2 = b.heights[static_cast<std::size_t>(line - 1)];
            if (capped_) {
                if (yT1 > cap_ || yT2 > cap_) {
                    if (yB1 > cap_ && yB2 > cap_) {
                        add(layer, ((yT2 - yB2) + (yT1 - yB1)) * v * 0.5);
                        yT1 = yB1;
                        yT2 = yB2;
                        continue;
                    }
                    add(layer, ((yT2 - cap_) + (yT1 - cap_)) * v * 0.5);
                    yT1 = cap_;
                    yT2 = cap_;
                }
            }
            if (a.y + kEpsilon >= yB1 && b.y + kEpsilon >= yB2) {
                add(layer, ((yT2 - b.y) + (yT1 - a.y)) * v * 0.5 + capArea_);
                column.baseLayer = &layer;
                return column;
            }
            add(layer, ((yT2 - yB2) + (yT1 - yB1)) * v * 0.5);
            yT1 = yB1;
            yT2 = yB2;
        }
        return column;
    }

    /// Adds an element's moments about the centre, taken at the centroid of its column; false
    /// when the centroid falls outside the circle, which abandons the circle.
    bool addMoments(const End& a, const End& b, const ColumnWeights& column) {
        const double r = circle_.r;
        const bool exact = !a.stepped && !b.stepped;
        const double v = b.x - a.x;
        const double g1 = column.ground1;
        const double g2 = column.ground2;
        const double h1 = g1 - a.y;
        const double h2 = g2 - b.y;
        double xg = a.x + v / 2.0;
        if (!exact && near(v, kEpsilon, kRatioMargin * kEpsilon)) doubt_ = true;
        if (v > kEpsilon) {
            bool centred = false;
            if constexpr (kStepped) {
                // |3(h1 + h2) / v| > kEpsilon, without the division.
                const double height = std::fabs(3.0 * (h1 + h2));
                if (near(height, kEpsilon * v, kRatioMargin * kEpsilon * v)) doubt_ = true;
                centred = height > kEpsilon * v;
            } else {
                centred = std::fabs(3.0 * (h1 + h2) / v) > kEpsilon;
            }
            if (centred) xg = a.x + v * (h1 + 2.0 * h2) / (3.0 * (h1 + h2));
        }
        const double dx = xg - circle_.rx;
        const double gq = circle_.r2 - dx * dx;
        if (gq < -kEpsilon) {
            if constexpr (!kStepped) {
                const double s = ((g2 + h1) - (a.y - h2)) / v;
                records_->writeRecord(centroidOutsideRecord(xg, (a.y - h2) + s * (xg - a.x), v, a.x,
                                                            s, g2 + h1, a.y - h2));
            }
            return false;
        }
        const double ya = gq < kEpsilon ? circle_.ry : circle_.ry - std::sqrt(gq);
        double cosTheta = 0.0;
        double sinTheta = 0.0;
        if constexpr (kStepped) {
            cosTheta = (circle_.ry - ya) * inverseR_;
            sinTheta = dx * inverseR_;
        } else {
            cosTheta = (circle_.ry - ya) / r;
            sinTheta = dx / r;
        }
        if (!exact) {
            const double margin = kLengthMargin * (1.0 + circle_.r2);
            if (near(gq, -kEpsilon, margin) || near(gq, kEpsilon, margin) ||
                std::fabs(cosTheta) < kSteepestCentroid) {
                doubt_ = true;
            }
        }
        const double depth = std::max(section_.yc - ya, 0.0);
        const SoilLayer& layer = *column.baseLayer;
        const double t = layer.tanPhi * column.w2;
        const double cohesion = layer.co + layer.k * depth;
        const double kh = section_.kh;
        sums_.t += t * cosTheta;
        sums_.e += t * sinTheta * kh;
        sums_.c += cohesion * length_;
        sums_.s += column.w1 * sinTheta;
        sums_.k += column.w1 * cosTheta * kh;
        if constexpr (kStepped) {
            addSizes(column.w1, t, cohesion, v, h1, h2, cosTheta);
        } else if (observer_ != nullptr) {
            observer_->element({a.x,
                                a.y,
                                b.x,
                                b.y,
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
                                length_,
                                r * column.w1 * sinTheta,
                                r * column.w1 * cosTheta * kh,
                                r * t * cosTheta,
                                r * t * sinTheta * kh,
                                r * cohesion * length_});
        }
        return true;
    }

    const Section& section_;
    const SectionSizes& sizes_;
    const Circle& circle_;
    bool capped_;
    double cap_;
    RecordWriter* records_;
    ElementObserver* observer_;
    double scaleX_;  // the size of the X and of the Y the arc's arithmetic meets
    double scaleY_;
    double inverseR_;
    double margin_;
    const SectionBlock* block_ = nullptr;
    double capArea_ = 0.0;  // between an element's chord and its arc
    double length_ = 0.0;   // of an element's arc
    bool notOneLayer_ = false;
    std::array<const SoilLayer*, kMaxBlockLines + 1> layers_{};  // of the block's lines
    Sums sums_;
    bool doubt_ = false;
    int missingLayerNo_ = 0;
};

/// Mf: the concentrated loads between the entry and the exit, about the centre's X.
double loadMoment(const Section& section, double rx, const ArcPoint& entry, const ArcPoint& exit) {
    double mf = 0.0;
    for (const ConcentratedForce& load : section.loads) {
        if (entry.x <= load.x && load.x <= exit.x) mf += load.force * (load.x - rx);
    }
    return mf;
}

/// The bounds of a stepped result, or nothing where it is too close to call.
std::optional<OutcomeBounds> boundsOf(const CircleResult& result, const TermSizes& sums, double kh,
                                      double mf) {
    const double scale = kSumMargin * result.r;
    OutcomeBounds b;
    auto withRounding = [](double bound, double value) {
        return bound > 0.0 ? bound + kRoundingMargin * std::fabs(value) : 0.0;
    };
    b.md = withRounding(scale * sums.weights * (1.0 + std::fabs(kh)), result.md);
    if (b.md > 0.0) b.md += kRoundingMargin * std::fabs(mf);
    b.mtMe = withRounding(scale * sums.friction * (1.0 + std::fabs(kh)), result.mtMe);
    b.mc = withRounding(scale * sums.cohesion, result.mc);
    b.mr = withRounding(b.mtMe + b.mc, result.mr);
    if (near(result.md, kEpsilon, b.md) || near(result.mr, kEpsilon, b.mr)) return std::nullopt;
    if (result.fs != kNoSolutionFs) {
        if (b.md > 0.25 * result.md || b.mr > 0.25 * result.mr) return std::nullopt;
        b.fs = withRounding(result.fs * (b.mr / result.mr + b.md / result.md), result.fs);
    }
    return b;
}

/// Where the slip surface meets the ground and everything the arc's elements are summed over.
struct Arc {
    SurfaceEnds ends;
    SurfaceEnd end{0};
    bool usable = false;
    bool centreCut = false;
};

Arc findArc(const Section& section, const Circle& circle, std::vector<ArcPoint>& points) {
    Arc arc;
    arc.ends = findSurfaceEnds(section, circle);
    ArcPoint& entry = arc.ends.entry;
    ArcPoint& exit = arc.ends.exit;
    if (std::fabs(exit.x - kNoPoint) < kEpsilon || std::fabs(exit.y - kNoPoint) < kEpsilon ||
        !std::isfinite(exit.y) || !std::isfinite(entry.y)) {
        return arc;
    }
    arc.centreCut = exit.y > circle.ry;
    if (arc.centreCut && !cutAtCentreHeight(section, circle, exit)) return arc;
    if (!collectArcPoints(section, circle, entry, exit, arc.centreCut, points)) return arc;
    arc.end = cutAtDistributedLoadLayer(section, points, exit);
    if (std::fabs(circle.ry - entry.y) < kEpsilon) return arc;
    // An entry above the centre has no place on the lower arc: its angle would take the wrong
    // branch and the arc up to it would be lost.
    if (entry.y > circle.ry) return arc;
    arc.usable = true;
    return arc;
}

template <bool kStepped>
SteppedOutcome evaluate(const Section& section, const SectionSizes& sizes, double rx, double ry,
                        double r, RecordWriter* records, EvaluationScratch& scratch,
                        ElementObserver* observer) {
    SteppedOutcome stepped;
    stepped.settled = true;
    CircleOutcome& outcome = stepped.outcome;
    const Circle circle{rx, ry, r, r * r};
    std::vector<ArcPoint>& points = scratch.points;
    const Arc arc = findArc(section, circle, points);
    if (!arc.usable) return stepped;
    const ArcPoint& entry = arc.ends.entry;
    const ArcPoint& exit = arc.ends.exit;

    const bool capped = arc.centreCut || arc.end.truncated;
    const double cap = arc.end.truncated && exit.y < ry ? exit.y : ry;
    ArcElements<kStepped> elements(section, sizes, circle, capped, cap, records, observer);
    using Stop = typename ArcElements<kStepped>::Stop;
    double theta0 = circle.theta(entry);
    ArcAngle start = ArcAngle::at(theta0);
    for (std::size_t k = 1; k <= arc.end.last; ++k) {
        if (std::fabs(points[k].x - points[k - 1].x) < kEpsilon) continue;
        // Each segment starts on the arc at its own first angle.
        if (start.theta != theta0) start = ArcAngle::at(theta0);
        const SectionBlock& block = section.blocks[static_cast<std::size_t>(points[k].block)];
        const double theta1 = circle.theta(points[k]);
        const double count = std::trunc((theta1 - theta0) / kElementAngle) + 1.0;
        // A segment running backwards would be dropped in silence: the circle is unusable.
        if (!(count >= 1.0)) return stepped;
        const Stop stop = elements.addSegment(block, start, theta1, static_cast<int>(count), start);
        if (stop == Stop::Unsettled) return {};
        if (stop == Stop::MissingLayer) {
            outcome.kind = OutcomeKind::MissingLayer;
            outcome.missingLayerNo = elements.missingLayerNo();
            return stepped;
        }
        if (stop == Stop::Abandoned) {
            outcome.kind = OutcomeKind::Abandoned;
            return stepped;
        }
        theta0 = theta1;
    }

    const Sums& sums = elements.sums();
    CircleResult& result = outcome.result;
    result = {rx, ry, r, 0, 0, 0, 0, kNoSolutionFs, entry.x, entry.y, exit.x, exit.y};
    const double mf = loadMoment(section, rx, entry, exit);
    result.mr = (sums.t - sums.e + sums.c) * r;
    result.md = (sums.k + sums.s) * r + mf;
    result.mc = sums.c * r;
    result.mtMe = (sums.t - sums.e) * r;
    if (result.md > kEpsilon && result.mr > kEpsilon) result.fs = result.mr / result.md;
    if (!std::isfinite(result.fs) || !std::isfinite(result.md) || !std::isfinite(result.mr)) {
        return kStepped ? SteppedOutcome{} : SteppedOutcome{true, {}, {}};
    }
    outcome.kind = OutcomeKind::Result;
    if constexpr (kStepped) {
        const std::optional<OutcomeBounds> bounds =
            boundsOf(result, elements.termSizes(), section.kh, mf);
        if (!bounds) return {};
        stepped.bounds = *bounds;
    }
    return stepped;
}

}  // namespace

CircleOutcome evaluateCircle(const Section& section, double rx, double ry, double r,
                             RecordWriter& records, EvaluationScratch& scratch,
                             ElementObserver* observer) {
    return evaluate<false>(section, SectionSizes{}, rx, ry, r, &records, scratch, observer).outcome;
}

SectionSizes sectionSizes(const Section& section) {
    SectionSizes sizes;
    double tanPhi = 0.0;
    double gamma2 = 0.0;
    for (const SoilLayer& layer : section.layers) {
        sizes.weight1 = std::max(sizes.weight1, std::fabs(layer.gamma1));
        gamma2 = std::max(gamma2, std::fabs(layer.gamma2));
        tanPhi = std::max(tanPhi, std::fabs(layer.tanPhi));
        sizes.cohesionRate = std::max(sizes.cohesionRate, std::fabs(layer.k));
    }
    sizes.friction2 = gamma2 * tanPhi;
    for (const SectionBlock& block : section.blocks) {
        for (int i = 1; i <= block.lineCount; ++i) {
            const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
            sizes.height = std::max({sizes.height, std::fabs(line.yLeft), std::fabs(line.yRight)});
        }
    }
    return sizes;
}

SteppedOutcome evaluateCircleStepped(const Section& section, const SectionSizes& sizes, double rx,
                                     double ry, double r, EvaluationScratch& scratch) {
    return evaluate<true>(section, sizes, rx, ry, r, nullptr, scratch, nullptr);
}

}  // namespace dorvo
