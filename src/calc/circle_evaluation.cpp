#include "calc/circle_evaluation.h"

#include <algorithm>
#include <array>
#include <cmath>
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

    static ArcAngle at(double theta) { return {theta, std::sin(theta), std::cos(theta)}; }

    /// The angle turned by `step`, its sine and cosine by the sum formulas rather than anew.
    ArcAngle turnedBy(const ArcAngle& step) const {
        return {theta + step.theta, sin * step.cos + cos * step.sin,
                cos * step.cos - sin * step.sin};
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

/// An element of a segment as the stages below work it out.
struct ElementWork {
    int left = 0;  // its first end: the end before it, or an earlier one after an R-Over
    ColumnWeights column;
    double v = 0.0;
    double h1 = 0.0;
    double h2 = 0.0;
    double xg = 0.0;
    double ya = 0.0;
    double sinTheta = 0.0;
    double cosTheta = 0.0;
    double depth = 0.0;
    bool outside = false;  // its centroid falls outside the circle
};

}  // namespace

/// The working arrays of one segment of the arc. Its elements are worked stage by stage across
/// the whole segment, so that the divisions and square roots of one overlap those of the next.
struct SegmentWork {
    std::vector<double> x;  // the ends 0 … m of the segment's m elements, on the arc
    std::vector<double> y;
    std::vector<double> heights;  // row i: the height of line i at every end
    std::array<bool, kMaxBlockLines + 1> rowKnown{};
    std::vector<ElementWork> elements;  // 1 … m
};

EvaluationScratch::EvaluationScratch() : segment(std::make_unique<SegmentWork>()) {
    points.reserve(4096);
}
EvaluationScratch::~EvaluationScratch() = default;
EvaluationScratch::EvaluationScratch(EvaluationScratch&&) noexcept = default;
EvaluationScratch& EvaluationScratch::operator=(EvaluationScratch&&) noexcept = default;

namespace {

// A stepped evaluation gives up, for the direct one to decide, where a decision of its own
// compares a value within these margins of its threshold: the rotation moves the element ends
// by some 1e-14 of the radius, and these allow for a million times that.
constexpr double kLengthMargin = 1e-8;      // times (1 + R), for heights and widths
constexpr double kRatioMargin = 1e-4;       // times kEpsilon, for the column's height ratio
constexpr double kSteepestCentroid = 0.01;  // cos θ below this makes ya too sensitive
// The sums of a stepped evaluation lie within this share of the sum of their terms' sizes,
// times R, of the direct one's: some hundred times the largest difference seen.
constexpr double kSumMargin = 1e-11;
constexpr double kRoundingMargin = 1e-14;  // relative, for the last roundings of a result

bool near(double a, double b, double margin) {
    return std::fabs(a - b) <= margin;
}

/// The sums of the moments' terms, before they are multiplied by R, and the sizes of their
/// terms, from which a stepped evaluation bounds its distance from the direct one.
struct Sums {
    double t = 0.0;         // Σ W2·cosθ·tanφ
    double e = 0.0;         // Σ W2·sinθ·tanφ·kh
    double c = 0.0;         // Σ (Co + kZ)·L
    double s = 0.0;         // Σ W1·sinθ
    double k = 0.0;         // Σ W1·cosθ·kh
    double weights = 0.0;   // Σ |W1|
    double friction = 0.0;  // Σ |W2·tanφ|
    double cohesion = 0.0;  // Σ |(Co + kZ)·L|
};

/// Evaluates the elements of a circle's arc, segment by segment. `kStepped` steps the element
/// angles within a segment by rotation and gives up where a decision is too close to call.
template <bool kStepped>
class ArcElements {
  public:
    ArcElements(const Section& section, const SectionSizes& sizes, const Circle& circle,
                bool capped, double cap, SegmentWork& work, RecordWriter* records,
                ElementObserver* observer)
        : section_(section),
          sizes_(sizes),
          circle_(circle),
          capped_(capped),
          cap_(cap),
          work_(work),
          records_(records),
          observer_(observer),
          scaleX_(circle.r + std::fabs(circle.rx)),
          scaleY_(circle.r + std::fabs(circle.ry) + sizes.height),
          inverseR_(1.0 / circle.r) {}

    enum class Stop { None, MissingLayer, Abandoned, Unsettled };

    /// Adds the elements of one segment, from `start` to theta1 in block `block`.
    Stop addSegment(const SectionBlock& block, ArcAngle start, double theta1, int elements,
                    ArcAngle& end) {
        block_ = &block;
        m_ = elements;
        const double r = circle_.r;
        delta_ = (theta1 - start.theta) / elements;
        const ArcAngle step = ArcAngle::at(delta_);
        capArea_ = r * r * (delta_ - step.sin) * 0.5;
        placeEnds(start, step, theta1, end);
        work_.heights.resize(static_cast<std::size_t>((block.lineCount + 1) * (m_ + 1)));
        std::fill_n(work_.rowKnown.begin(), block.lineCount + 1, false);
        work_.elements.resize(static_cast<std::size_t>(m_ + 1));
        int first = 1;
        int left = 0;
        while (first <= m_) {
            for (int k = first; k <= m_; ++k) {
                ElementWork& e = element(k);
                e.left = k == first ? left : k - 1;
                weigh(k, e);
            }
            for (int k = first; k <= m_; ++k) {
                ElementWork& e = element(k);
                if (e.column.baseLayer != nullptr) centre(k, e);
            }
            int k = first;
            for (; k <= m_; ++k) {
                const ElementWork& e = element(k);
                if (e.column.baseLayer == nullptr) {
                    if (e.column.layerMissing) {
                        missingLayerNo_ = e.column.missingLayerNo;
                        return Stop::MissingLayer;
                    }
                    if constexpr (kStepped) return Stop::Unsettled;
                    records_->writeRecord(kROverRecord);
                    // The next element reaches back to where this one began.
                    left = e.left;
                    first = k + 1;
                    break;
                }
                if (e.outside) {
                    if constexpr (kStepped) return Stop::Unsettled;
                    writeCentroidOutside(e);
                    return Stop::Abandoned;
                }
                add(k, e);
            }
            if (k > m_) break;
        }
        return doubt_ ? Stop::Unsettled : Stop::None;
    }

    const Sums& sums() const { return sums_; }
    int missingLayerNo() const { return missingLayerNo_; }

  private:
    ElementWork& element(int k) { return work_.elements[static_cast<std::size_t>(k)]; }

    /// Whether end j lies where a rotation put it rather than where sine and cosine do.
    bool stepped(int j) const { return kStepped && j != 0 && j != m_; }

    void placeEnds(const ArcAngle& start, const ArcAngle& step, double theta1, ArcAngle& end) {
        const double r = circle_.r;
        work_.x.resize(static_cast<std::size_t>(m_ + 1));
        work_.y.resize(static_cast<std::size_t>(m_ + 1));
        ArcAngle angle = start;
        for (int n = 0; n <= m_; ++n) {
            if (n > 0) {
                if (kStepped && n < m_) {
                    angle = angle.turnedBy(step);
                } else {
                    double theta2 = start.theta + n * delta_;
                    if (theta2 >= theta1) theta2 = theta1;
                    angle = ArcAngle::at(theta2);
                }
            }
            work_.x[static_cast<std::size_t>(n)] = r * angle.sin + circle_.rx;
            work_.y[static_cast<std::size_t>(n)] = circle_.ry - r * angle.cos;
        }
        end = angle;
    }

    /// Line i's heights at every end of the segment, worked out the first time a column needs
    /// them.
    const double* row(int line) {
        double* heights = work_.heights.data() + line * (m_ + 1);
        if (!work_.rowKnown[static_cast<std::size_t>(line)]) {
            work_.rowKnown[static_cast<std::size_t>(line)] = true;
            for (int j = 0; j <= m_; ++j) {
                heights[j] = block_->lineY(line, work_.x[static_cast<std::size_t>(j)]);
            }
        }
        return heights;
    }

    /// Whether `value` at end j compares with `threshold` too closely to call.
    void doubt(int j, double value, double threshold) {
        if (stepped(j) && near(value, threshold, kLengthMargin * (1.0 + circle_.r))) doubt_ = true;
    }

    void weigh(int k, ElementWork& e) {
        const int a = e.left;
        const double x1 = work_.x[static_cast<std::size_t>(a)];
        const double x2 = work_.x[static_cast<std::size_t>(k)];
        const double y1 = work_.y[static_cast<std::size_t>(a)];
        const double y2 = work_.y[static_cast<std::size_t>(k)];
        ColumnWeights& column = e.column;
        column = {};
        const double v = x2 - x1;
        const int lineCount = block_->lineCount;
        const double* ground = row(lineCount);
        double yT1 = ground[a];
        double yT2 = ground[k];
        bool topIsCap = false;
        column.ground1 = yT1;
        column.ground2 = yT2;
        auto addLayer = [&](const SoilLayer& layer, double area) {
            column.area += area;
            column.w1 += layer.gamma1 * area;
            column.w2 += layer.gamma2 * area;
        };
        for (int line = lineCount; line >= 1; --line) {
            const SectionLine& top = block_->lines[static_cast<std::size_t>(line)];
            if (top.layer == kMissingLayer) {
                column.layerMissing = true;
                column.missingLayerNo = top.layerNo;
                return;
            }
            const SoilLayer& layer = section_.layers[static_cast<std::size_t>(top.layer)];
            const double* below = line == 1 ? nullptr : row(line - 1);
            const double yB1 = below == nullptr ? 0.0 : below[a];
            const double yB2 = below == nullptr ? 0.0 : below[k];
            if (capped_) {
                if (!topIsCap) {
                    doubt(a, yT1, cap_);
                    doubt(k, yT2, cap_);
                }
                if (yT1 > cap_ || yT2 > cap_) {
                    doubt(a, yB1, cap_);
                    doubt(k, yB2, cap_);
                    if (yB1 > cap_ && yB2 > cap_) {
                        addLayer(layer, ((yT2 - yB2) + (yT1 - yB1)) * v * 0.5);
                        yT1 = yB1;
                        yT2 = yB2;
                        continue;
                    }
                    addLayer(layer, ((yT2 - cap_) + (yT1 - cap_)) * v * 0.5);
                    yT1 = cap_;
                    yT2 = cap_;
                    topIsCap = true;
                }
            }
            doubt(a, y1 + kEpsilon, yB1);
            doubt(k, y2 + kEpsilon, yB2);
            if (y1 + kEpsilon >= yB1 && y2 + kEpsilon >= yB2) {
                addLayer(layer, ((yT2 - y2) + (yT1 - y1)) * v * 0.5 + capArea_);
                column.baseLayer = &layer;
                return;
            }
            addLayer(layer, ((yT2 - yB2) + (yT1 - yB1)) * v * 0.5);
            yT1 = yB1;
            yT2 = yB2;
            topIsCap = false;
        }
    }

    /// The centroid of an element's column and its angle seen from the centre.
    void centre(int k, ElementWork& e) {
        const double x1 = work_.x[static_cast<std::size_t>(e.left)];
        const double y1 = work_.y[static_cast<std::size_t>(e.left)];
        const double y2 = work_.y[static_cast<std::size_t>(k)];
        const bool exact = !stepped(e.left) && !stepped(k);
        e.v = work_.x[static_cast<std::size_t>(k)] - x1;
        e.h1 = e.column.ground1 - y1;
        e.h2 = e.column.ground2 - y2;
        const double v = e.v;
        e.xg = x1 + v / 2.0;
        if (!exact && near(v, kEpsilon, kRatioMargin * kEpsilon)) doubt_ = true;
        if (v > kEpsilon) {
            const double ratio = std::fabs(3.0 * (e.h1 + e.h2) / v);
            if (!exact && near(ratio, kEpsilon, kRatioMargin * kEpsilon)) doubt_ = true;
            if (ratio > kEpsilon) e.xg = x1 + v * (e.h1 + 2.0 * e.h2) / (3.0 * (e.h1 + e.h2));
        }
        const double dx = e.xg - circle_.rx;
        const double gq = circle_.r2 - dx * dx;
        e.outside = gq < -kEpsilon;
        e.ya = gq < kEpsilon ? circle_.ry : circle_.ry - std::sqrt(gq);
        e.cosTheta = (circle_.ry - e.ya) / circle_.r;
        e.sinTheta = dx / circle_.r;
        e.depth = std::max(section_.yc - e.ya, 0.0);
        if (!exact) {
            const double margin = kLengthMargin * (1.0 + circle_.r2);
            if (near(gq, -kEpsilon, margin) || near(gq, kEpsilon, margin) ||
                std::fabs(e.cosTheta) < kSteepestCentroid) {
                doubt_ = true;
            }
        }
    }

    /// Adds an element's moments about the centre, taken at the centroid of its column.
    void add(int k, const ElementWork& e) {
        const SoilLayer& layer = *e.column.baseLayer;
        const double t = layer.tanPhi * e.column.w2;
        const double cohesion = layer.co + layer.k * e.depth;
        const double kh = section_.kh;
        const double r = circle_.r;
        const double length = r * delta_;
        sums_.t += t * e.cosTheta;
        sums_.e += t * e.sinTheta * kh;
        sums_.c += cohesion * length;
        sums_.s += e.column.w1 * e.sinTheta;
        sums_.k += e.column.w1 * e.cosTheta * kh;
        if constexpr (kStepped) {
            // A rotated end moves some ulps of the coordinates: the terms move by their size
            // times the coordinates over R (through θ, more where the centroid is steep), and
            // the column by its width times the heights and its height times the X.
            const double c = std::fabs(e.cosTheta);
            const double steep = c >= 0.5 ? 2.0 : c >= 0.1 ? 10.0 : 1.0 / kSteepestCentroid;
            const double lever = 1.0 + (scaleX_ + scaleY_ * steep) * inverseR_;
            const double column =
                std::fabs(e.v) * scaleY_ + (std::fabs(e.h1) + std::fabs(e.h2)) * scaleX_;
            sums_.weights += std::fabs(e.column.w1) * lever + sizes_.weight1 * column;
            sums_.friction += std::fabs(t) * lever + sizes_.friction2 * column;
            sums_.cohesion += std::fabs(cohesion * length) * lever +
                              sizes_.cohesionRate * length * scaleY_ * steep;
        } else if (observer_ != nullptr) {
            const std::size_t a = static_cast<std::size_t>(e.left);
            const std::size_t b = static_cast<std::size_t>(k);
            observer_->element({work_.x[a],
                                work_.y[a],
                                work_.x[b],
                                work_.y[b],
                                e.xg,
                                e.sinTheta,
                                e.cosTheta,
                                e.v,
                                e.column.area,
                                layer.layerNo,
                                e.column.w1,
                                e.column.w2,
                                cohesion,
                                layer.tanPhi,
                                length,
                                r * e.column.w1 * e.sinTheta,
                                r * e.column.w1 * e.cosTheta * kh,
                                r * t * e.cosTheta,
                                r * t * e.sinTheta * kh,
                                r * cohesion * length});
        }
    }

    void writeCentroidOutside(const ElementWork& e) {
        const double x1 = work_.x[static_cast<std::size_t>(e.left)];
        const double y1 = work_.y[static_cast<std::size_t>(e.left)];
        const double g2 = e.column.ground2;
        const double s = ((g2 + e.h1) - (y1 - e.h2)) / e.v;
        records_->writeRecord(centroidOutsideRecord(e.xg, (y1 - e.h2) + s * (e.xg - x1), e.v, x1, s,
                                                    g2 + e.h1, y1 - e.h2));
    }

    const Section& section_;
    const SectionSizes& sizes_;
    const Circle& circle_;
    bool capped_;
    double cap_;
    SegmentWork& work_;
    RecordWriter* records_;
    ElementObserver* observer_;
    double scaleX_;  // the size of the X and of the Y the arc's arithmetic meets
    double scaleY_;
    double inverseR_;
    const SectionBlock* block_ = nullptr;
    int m_ = 0;
    double delta_ = 0.0;
    double capArea_ = 0.0;
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
std::optional<OutcomeBounds> boundsOf(const CircleResult& result, const Sums& sums, double kh,
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
    ArcElements<kStepped> elements(section, sizes, circle, capped, cap, *scratch.segment, records,
                                   observer);
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
        const std::optional<OutcomeBounds> bounds = boundsOf(result, sums, section.kh, mf);
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
