// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation the search runs first: the element angles of a segment stepped by rotation,
// a segment whose arc lies in one layer summed in a few plain loops, and bounds on how far
// every number may lie from the direct evaluation's. Why that is exact enough, how the bounds
// are derived and where the stepped evaluation leaves a circle to the direct one:
// docs/stepped-evaluation.md.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "calc/arc_geometry.h"
#include "calc/circle_evaluation.h"
#include "calc/element_terms.h"
#include "calc/stepped_bounds.h"

namespace dorvo {

namespace {

/// Evaluates the elements of a circle's arc, segment by segment, stepping the element angles
/// within a segment by rotation; gives up where a decision is too close to call.
class SteppedElements {
  public:
    SteppedElements(const Section& section, const SectionSizes& sizes, const Circle& circle,
                    const Arc& arc)
        : section_(section),
          sizes_(sizes),
          circle_(circle),
          capped_(arc.capped),
          cap_(arc.cap),
          scaleX_(circle.r + std::fabs(circle.rx)),
          scaleY_(circle.r + std::fabs(circle.ry) + sizes.height),
          inverseR_(1.0 / circle.r),
          levelLever_(scaleX_ * inverseR_),
          steepLever_(scaleY_ * inverseR_),
          margin_(kLengthMargin * (1.0 + circle.r)) {}

    enum class Stop { None, MissingLayer, Unsettled };

    /// Adds the elements of `segment`, its first end at `start`; `start` becomes the angle of
    /// its last end.
    Stop addSegment(const ArcSegment& segment, ArcAngle& start) {
        const SectionBlock& block = *segment.block;
        block_ = &block;
        const double r = circle_.r;
        const double delta = (segment.theta1 - start.theta) / segment.elements;
        const ArcAngle step = ArcAngle::small(delta);
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
        if (allLayers) {
            const std::optional<Stop> stop =
                addOneLayerSegment(start, step, segment.theta1, segment.elements);
            if (stop) return *stop;
        }
        return addElements(start, step, delta, segment);
    }

    const MomentTerms& sums() const { return sums_; }
    int missingLayerNo() const { return missingLayerNo_; }

    TermSizes sizes() const { return termSizes(sizeSums_, sizes_, scaleX_, scaleY_); }

  private:
    /// Adds the elements of a segment one by one, each through the direct evaluation's walk
    /// down its column: the segment's ends are placed as the direct evaluation places them,
    /// the ends between them by rotation.
    Stop addElements(ArcAngle& start, const ArcAngle& step, double delta,
                     const ArcSegment& segment) {
        const SectionBlock& block = *block_;
        const double r = circle_.r;
        const SegmentColumns columns{section_, block, capped_, cap_, capArea_};
        if (start.turned) start = ArcAngle::at(start.theta);
        LineHeights ends[2];
        LineHeights* left = &ends[0];
        LineHeights* right = &ends[1];
        double x1 = r * start.sin + circle_.rx;
        double y1 = circle_.ry - r * start.cos;
        bool leftStepped = false;
        placeHeights(block, x1, *left);
        ArcAngle angle = start;
        for (int n = 1; n <= segment.elements; ++n) {
            const bool rightStepped = n < segment.elements;
            if (rightStepped) {
                angle = angle.turnedBy(step);
            } else {
                double theta2 = start.theta + n * delta;
                if (theta2 >= segment.theta1) theta2 = segment.theta1;
                angle = ArcAngle::at(theta2);
            }
            const double x2 = r * angle.sin + circle_.rx;
            const double y2 = circle_.ry - r * angle.cos;
            if (rightStepped) {
                placeSteppedHeights(x2, y2, *right);
            } else {
                placeHeights(block, x2, *right);
            }
            const ElementEnd a{x1, y1, *left};
            const ElementEnd b{x2, y2, *right};
            const ColumnWeights column = weighColumn(columns, a, b);
            if (column.baseLayer == nullptr) {
                if (!column.layerMissing) return Stop::Unsettled;  // R-Over writes a record
                missingLayerNo_ = column.missingLayerNo;
                return Stop::MissingLayer;
            }
            if (!addMoments(a, b, leftStepped || rightStepped, column)) return Stop::Unsettled;
            x1 = x2;
            y1 = y2;
            leftStepped = rightStepped;
            std::swap(left, right);
        }
        start = angle;
        return doubt_ ? Stop::Unsettled : Stop::None;
    }

    /// The block's lines at a stepped end, from their slopes and intercepts, within the
    /// bounds; doubts where a decision of the walk down a column, at this end, is too close
    /// to call.
    void placeSteppedHeights(double x, double y, LineHeights& heights) {
        const SectionBlock& block = *block_;
        heights[0] = 0.0;
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
    }

    std::optional<Stop> addOneLayerSegment(ArcAngle& start, const ArcAngle& step, double theta1,
                                           int elements);
    bool floorBelowCap(int s, double x1, double x2) const;
    std::uint32_t layerBitsAt(double x, double y, bool& close) const;
    bool withinOneLayer(int s, double x1, double x2, double y1, double y2) const;

    /// Adds an element's moments about the centre, taken at the centroid of its column; false
    /// when the centroid falls outside the circle. `stepped`: an end was placed by rotation.
    bool addMoments(const ElementEnd& a, const ElementEnd& b, bool stepped,
                    const ColumnWeights& column) {
        const double v = b.x - a.x;
        const double h1 = column.ground1 - a.y;
        const double h2 = column.ground2 - b.y;
        double xg = a.x + v / 2.0;
        if (stepped && tooCloseToCall(v, kEpsilon, kRatioMargin * kEpsilon)) doubt_ = true;
        if (v > kEpsilon) {
            // |3(h1 + h2) / v| > kEpsilon, without the division.
            const double height = std::fabs(3.0 * (h1 + h2));
            if (tooCloseToCall(height, kEpsilon * v, kRatioMargin * kEpsilon * v)) doubt_ = true;
            if (height > kEpsilon * v) xg = a.x + centroidOffset(v, h1, h2);
        }
        const double dx = xg - circle_.rx;
        const double gq = circle_.r2 - dx * dx;
        if (gq < -kEpsilon) return false;  // abandoned, with a record
        const double ya = gq < kEpsilon ? circle_.ry : circle_.ry - std::sqrt(gq);
        const double cosTheta = (circle_.ry - ya) * inverseR_;
        const double sinTheta = dx * inverseR_;
        if (stepped) {
            const double margin = kLengthMargin * (1.0 + circle_.r2);
            if (tooCloseToCall(gq, -kEpsilon, margin) || tooCloseToCall(gq, kEpsilon, margin) ||
                std::fabs(cosTheta) < kSteepestCentroid) {
                doubt_ = true;
            }
        }
        const ElementStrength strength =
            elementStrength(*column.baseLayer, column.w2, cohesionDepth(section_, ya));
        const MomentTerms terms =
            elementTerms(column.w1, strength, sinTheta, cosTheta, section_.kh, length_);
        addTerms(sums_, terms);
        addSizes(sizeSums_,
                 elementSizes(column.w1, strength.friction, terms.cohesion, cosTheta, levelLever_,
                              steepLever_),
                 length_, std::fabs(v), std::fabs(h1) + std::fabs(h2));
        return true;
    }

    const Section& section_;
    const SectionSizes& sizes_;
    const Circle& circle_;
    bool capped_;
    double cap_;
    double scaleX_;  // the size of the X and of the Y the arc's arithmetic meets
    double scaleY_;
    double inverseR_;
    double levelLever_;  // the X's and the Y's size over R, for elementSizes
    double steepLever_;
    double margin_;
    const SectionBlock* block_ = nullptr;
    double capArea_ = 0.0;  // between an element's chord and its arc
    double length_ = 0.0;   // of an element's arc
    std::array<const SoilLayer*, kMaxBlockLines + 1> layers_{};  // of the block's lines
    MomentTerms sums_;
    SizeSums sizeSums_;
    bool doubt_ = false;
    int missingLayerNo_ = 0;
};

/// The elements of a segment whose arc lies in one layer from end to end, in a block whose
/// lines all have their layers, the layer's floor below any cap: the columns above all
/// elements are the same lines, so their weights are linear in x, and every element goes
/// through the same few steps. Nothing where the arc does not lie in one layer, for the
/// element by element walk to decide.
std::optional<SteppedElements::Stop> SteppedElements::addOneLayerSegment(ArcAngle& start,
                                                                         const ArcAngle& step,
                                                                         double theta1,
                                                                         int elements) {
    constexpr int kMost = 70;  // the angles lie within (-π/2, π/2]
    static_assert(kMost > 3.1416 / kElementAngle + 1.0);
    using PerEnd = std::array<double, kMost + 1>;  // by end, or by element at its right end
    const SectionBlock& block = *block_;
    const double r = circle_.r;
    PerEnd x;
    PerEnd y;
    // Every end by rotation, the last one too: it starts the next segment as theta1.
    ArcAngle angle = start;
    x[0] = r * angle.sin + circle_.rx;
    y[0] = circle_.ry - r * angle.cos;
    for (int j = 1; j <= elements; ++j) {
        angle = angle.turnedBy(step);
        x[static_cast<std::size_t>(j)] = r * angle.sin + circle_.rx;
        y[static_cast<std::size_t>(j)] = circle_.ry - r * angle.cos;
    }
    angle.theta = theta1;

    // The layer of the arc, s: the one the first element's walk stops in, or, with ends
    // between the segment's ends, the one the first of those lies in.
    const int lineCount = block.lineCount;
    const std::size_t lastEnd = static_cast<std::size_t>(elements);
    bool tooClose = false;
    const std::uint32_t firstBits = layerBitsAt(x[0], y[0], tooClose);
    const std::uint32_t lastBits = layerBitsAt(x[lastEnd], y[lastEnd], tooClose);
    bool unused = false;
    const std::uint32_t layerBits =
        elements > 1 ? layerBitsAt(x[1], y[1], unused) : firstBits & lastBits;
    if (tooClose) return Stop::Unsettled;
    if (layerBits == 0) return std::nullopt;
    const int s = static_cast<int>(std::bit_width(layerBits)) - 1;
    const std::uint32_t bit = 1u << s;
    if ((firstBits & bit) == 0 || (lastBits & bit) == 0 ||
        (elements > 1 && !withinOneLayer(s, x[1], x[lastEnd - 1], y[1], y[lastEnd - 1])) ||
        (capped_ && !floorBelowCap(s, x[0], x[lastEnd]))) {
        return std::nullopt;
    }
    const double xl = block.xl;
    const SectionLine& ground = block.lines[static_cast<std::size_t>(lineCount)];
    const SectionLine& roofLine = block.lines[static_cast<std::size_t>(s)];
    PerEnd top;   // the ground
    PerEnd roof;  // line s, the top of the arc's layer
    for (int j = 0; j <= elements; ++j) {
        const auto at = static_cast<std::size_t>(j);
        top[at] = ground.yLeft + ground.m * (x[at] - xl);
        roof[at] = roofLine.yLeft + roofLine.m * (x[at] - xl);
    }

    // The weights above line s at x: Σ γ·(h(i) − h(i − 1)) over the lines i above s, as their
    // value at the block's left side and their rise per unit of x.
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
    // Element by element in three plain loops, each free of branches and of anything carried
    // from one element to the next but sums, so that their divisions and square roots
    // overlap: the columns and centroids, the angles and terms, the sums.
    // Of an element: v its width, h1 and h2 the ground's heights above its ends. The arrays
    // are fields of one object, which a loop reaches from one register: as objects of their
    // own each would take a register, more than there are, and the loops would reload them.
    struct {
        PerEnd w1;
        PerEnd w2;
        PerEnd centroidX;
        PerEnd widths;   // |v|
        PerEnd heights;  // |h1| + |h2|
        // A loop vectorizes with nothing but doubles in it: doubts too are kept as 0 or 1.
        PerEnd doubts;
        PerEnd slide;  // the five MomentTerms of each element
        PerEnd quakeSlide;
        PerEnd friction;
        PerEnd quakeRelief;
        PerEnd cohesion;
        PerEnd weightSizes;  // the ElementSizes of each element
        PerEnd frictionSizes;
        PerEnd cohesionSizes;
        PerEnd steepnesses;
    } e;
    const double rx = circle_.rx;
    const double ry = circle_.ry;
    const double r2 = circle_.r2;
    const double capArea = capArea_;
    const double gamma1 = layer.gamma1;
    const double gamma2 = layer.gamma2;
    for (int k = 1; k <= elements; ++k) {
        const auto a = static_cast<std::size_t>(k - 1);
        const auto b = static_cast<std::size_t>(k);
        const double v = x[b] - x[a];
        const double half = v * 0.5;
        const double base = ((roof[b] - y[b]) + (roof[a] - y[a])) * half + capArea;
        const double along = (x[a] - xl) + (x[b] - xl);
        e.w1[b] = (2.0 * above1 + rise1 * along) * half + gamma1 * base;
        e.w2[b] = (2.0 * above2 + rise2 * along) * half + gamma2 * base;
        const double h1 = top[a] - y[a];
        const double h2 = top[b] - y[b];
        const double height = std::fabs(3.0 * (h1 + h2));
        const double widthGap = std::fabs(v - kEpsilon) - kRatioMargin * kEpsilon;
        const double heightGap = std::fabs(height - kEpsilon * v) - kRatioMargin * kEpsilon * v;
        e.doubts[b] = std::min(widthGap, heightGap) <= 0.0 ? 1.0 : 0.0;
        const double moved = centroidOffset(v, h1, h2);
        e.centroidX[b] = x[a] + (v > kEpsilon ? (height > kEpsilon * v ? moved : half) : half);
        e.widths[b] = std::fabs(v);
        e.heights[b] = std::fabs(h1) + std::fabs(h2);
    }
    const double margin = kLengthMargin * (1.0 + r2);
    const double inverseR = inverseR_;
    const double kh = section_.kh;
    const double length = length_;
    const double levelLever = levelLever_;
    const double steepLever = steepLever_;
    for (int k = 1; k <= elements; ++k) {
        const auto b = static_cast<std::size_t>(k);
        const double dx = e.centroidX[b] - rx;
        const double gq = r2 - dx * dx;
        const double ya = ry - (gq < kEpsilon ? 0.0 : std::sqrt(std::max(gq, 0.0)));
        const double cosTheta = (ry - ya) * inverseR;
        const double sinTheta = dx * inverseR;
        const double outside = gq < -kEpsilon ? 1.0 : 0.0;
        const double close = std::fabs(std::fabs(gq) - kEpsilon) <= margin ? 1.0 : 0.0;
        const double steepest = std::fabs(cosTheta) < kSteepestCentroid ? 1.0 : 0.0;
        e.doubts[b] += outside + close + steepest;
        const ElementStrength strength =
            elementStrength(layer, e.w2[b], cohesionDepth(section_, ya));
        const MomentTerms terms = elementTerms(e.w1[b], strength, sinTheta, cosTheta, kh, length);
        e.slide[b] = terms.slide;
        e.quakeSlide[b] = terms.quakeSlide;
        e.friction[b] = terms.friction;
        e.quakeRelief[b] = terms.quakeRelief;
        e.cohesion[b] = terms.cohesion;
        const ElementSizes sizes = elementSizes(e.w1[b], strength.friction, terms.cohesion,
                                                cosTheta, levelLever, steepLever);
        e.weightSizes[b] = sizes.weight;
        e.frictionSizes[b] = sizes.friction;
        e.cohesionSizes[b] = sizes.cohesion;
        e.steepnesses[b] = sizes.steepness;
    }
    bool doubtful = false;
    for (int k = 1; k <= elements; ++k) {
        const auto b = static_cast<std::size_t>(k);
        addTerms(sums_,
                 {e.slide[b], e.quakeSlide[b], e.friction[b], e.quakeRelief[b], e.cohesion[b]});
        addSizes(sizeSums_,
                 {e.weightSizes[b], e.frictionSizes[b], e.cohesionSizes[b], e.steepnesses[b]},
                 length, e.widths[b], e.heights[b]);
        doubtful |= e.doubts[b] != 0.0;
    }
    start = angle;
    return doubtful || doubt_ ? Stop::Unsettled : Stop::None;
}

/// Whether line s − 1, the floor of the arc's layer, lies below the cap from x1 to x2 by
/// more than the margin (it is straight: its two ends tell). A cap splits the layers it
/// crosses into two parts of the same area, which changes nothing but roundings, except
/// where both ends of an element's floor lie above it: the walk then passes the arc's
/// layer by.
bool SteppedElements::floorBelowCap(int s, double x1, double x2) const {
    if (s == 1) return 0.0 < cap_ - margin_;
    const SectionLine& floor = block_->lines[static_cast<std::size_t>(s - 1)];
    const double h1 = floor.yLeft + floor.m * (x1 - block_->xl);
    const double h2 = floor.yLeft + floor.m * (x2 - block_->xl);
    return std::max(h1, h2) < cap_ - margin_;
}

/// The lines i whose line i − 1 the arc at (x, y) is on or above, within kEpsilon, as
/// bits; `close` is set where one is too close to call.
std::uint32_t SteppedElements::layerBitsAt(double x, double y, bool& close) const {
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
bool SteppedElements::withinOneLayer(int s, double x1, double x2, double y1, double y2) const {
    const SectionBlock& block = *block_;
    const auto height = [&block](int i, double x) {
        if (i == 0) return 0.0;
        const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
        return line.yLeft + line.m * (x - block.xl);
    };
    for (int i = s; i < block.lineCount; ++i) {
        if (y1 + kEpsilon >= height(i, x1) - margin_ || y2 + kEpsilon >= height(i, x2) - margin_) {
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

/// The bounds of a stepped result, or nothing where it is too close to call.
SteppedOutcome evaluate(const Section& section, const SectionSizes& sizes, double rx, double ry,
                        double r, EvaluationScratch& scratch) {
    SteppedOutcome stepped;
    stepped.settled = true;
    CircleOutcome& outcome = stepped.outcome;
    const Circle circle{rx, ry, r, r * r};
    const Arc arc = findArc(section, circle, scratch.points);
    if (!arc.usable) return stepped;
    SteppedElements elements(section, sizes, circle, arc);
    ArcSegments segments(section, circle, arc, scratch.points);
    ArcAngle start = ArcAngle::at(segments.firstTheta());
    ArcSegment segment;
    while (segments.next(segment)) {
        // Each segment starts on the arc at its own first angle.
        if (start.theta != segment.theta0) start = ArcAngle::at(segment.theta0);
        switch (elements.addSegment(segment, start)) {
            case SteppedElements::Stop::None:
                break;
            case SteppedElements::Stop::MissingLayer:
                outcome.kind = OutcomeKind::MissingLayer;
                outcome.missingLayerNo = elements.missingLayerNo();
                return stepped;
            case SteppedElements::Stop::Unsettled:
                return {};
        }
    }
    if (segments.runsBackwards()) return stepped;
    const double mf = loadMoment(section, circle, arc);
    if (!circleResult(circle, arc, elements.sums(), mf, outcome.result)) return {};
    outcome.kind = OutcomeKind::Result;
    const std::optional<OutcomeBounds> bounds =
        boundsOf(outcome.result, elements.sizes(), section.kh, mf);
    if (!bounds) return {};
    stepped.bounds = *bounds;
    return stepped;
}

}  // namespace

SteppedOutcome evaluateCircleStepped(const Section& section, const SectionSizes& sizes, double rx,
                                     double ry, double r, EvaluationScratch& scratch) {
    return evaluate(section, sizes, rx, ry, r, scratch);
}

}  // namespace dorvo
