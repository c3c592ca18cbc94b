// SPDX-License-Identifier: GPL-3.0-or-later
// The geometry of a trial circle's slip surface, shared by the direct and the stepped
// evaluation: where the arc enters and leaves the ground, the points where it changes block
// or layer, the segments between them and the angles on it.
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "calc/circle_evaluation.h"
#include "calc/circle_search.h"
#include "calc/section.h"

namespace dorvo {

// Degrees become radians with π taken as 3.14159, as the method's tables were computed.
inline constexpr double kElementAngle = 0.017453277777777776 * 2.626;

struct Circle {
    double rx;
    double ry;
    double r;
    double r2;

    /// Y of the lower half of the circle at x; NaN where the circle does not reach.
    double lowerY(double x) const {
        const double q = r2 - (x - rx) * (x - rx);
        return q < 0.0 ? std::numeric_limits<double>::quiet_NaN() : ry - std::sqrt(q);
    }

    /// Angle of a point seen from the centre, from the downward vertical, positive to +X.
    double theta(const ArcPoint& p) const {
        constexpr double kVertical = 1.570795;
        return std::fabs(ry - p.y) < kEpsilon ? kVertical : std::atan((p.x - rx) / (ry - p.y));
    }
};

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

/// Where the slip surface meets the ground and everything the arc's elements are summed over.
struct Arc {
    ArcPoint entry{};
    ArcPoint exit{};
    std::size_t last = 0;  // the last of the arc points the slip surface reaches
    bool usable = false;   // false: the circle is skipped
    bool capped = false;   // the columns are cut at `cap`: above it soil only loads
    double cap = 0.0;
};

/// Finds the arc of a circle and its points, sorted by x from the entry, into `points`.
Arc findArc(const Section& section, const Circle& circle, std::vector<ArcPoint>& points);

/// A stretch of the arc within one block and one set of lines, cut into `elements` elements
/// of equal angle.
struct ArcSegment {
    const SectionBlock* block = nullptr;
    double theta0 = 0.0;
    double theta1 = 0.0;
    int elements = 0;
};

/// The segments of an arc from its entry: between neighbouring points at least kEpsilon
/// apart, each in the block of its right end, its elements at most kElementAngle wide.
class ArcSegments {
  public:
    ArcSegments(const Section& section, const Circle& circle, const Arc& arc,
                const std::vector<ArcPoint>& points)
        : section_(section),
          circle_(circle),
          points_(points),
          last_(arc.last),
          theta0_(circle.theta(arc.entry)) {}

    double firstTheta() const { return theta0_; }

    /// The next segment; false at the end of the arc, or where a segment would run backwards
    /// (runsBackwards()): it would be dropped in silence, so the circle is unusable.
    bool next(ArcSegment& segment) {
        for (; k_ <= last_; ++k_) {
            const ArcPoint& right = points_[k_];
            if (std::fabs(right.x - points_[k_ - 1].x) < kEpsilon) continue;
            const double theta1 = circle_.theta(right);
            const double count = std::trunc((theta1 - theta0_) / kElementAngle) + 1.0;
            if (!(count >= 1.0)) {
                backwards_ = true;
                return false;
            }
            segment = {&section_.blocks[static_cast<std::size_t>(right.block)], theta0_, theta1,
                       static_cast<int>(count)};
            theta0_ = theta1;
            ++k_;
            return true;
        }
        return false;
    }

    bool runsBackwards() const { return backwards_; }

  private:
    const Section& section_;
    const Circle& circle_;
    const std::vector<ArcPoint>& points_;
    std::size_t last_;
    std::size_t k_ = 1;
    double theta0_;
    bool backwards_ = false;
};

}  // namespace dorvo
