// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation of a trial circle as the calculation dialog states the method: the arc cut
// into elements, the sine and cosine of every element's angle called anew, the moments of all
// elements summed about the centre.
#include <cmath>
#include <utility>

#include "calc/arc_geometry.h"
#include "calc/circle_evaluation.h"
#include "calc/element_terms.h"
#include "calc/result_records.h"

namespace dorvo {

namespace {

/// Sums the elements of a circle's arc, segment by segment.
class DirectElements {
  public:
    DirectElements(const Section& section, const Circle& circle, const Arc& arc,
                   RecordWriter& records, ElementObserver* observer)
        : section_(section), circle_(circle), arc_(arc), records_(records), observer_(observer) {}

    enum class Stop { None, MissingLayer, Abandoned };

    /// Adds the elements of `segment`, its first end at `start`; `start` becomes the angle of
    /// its last end.
    Stop addSegment(const ArcSegment& segment, ArcAngle& start) {
        const SectionBlock& block = *segment.block;
        const double r = circle_.r;
        const double delta = (segment.theta1 - segment.theta0) / segment.elements;
        const SegmentColumns columns{section_, block, arc_.capped, arc_.cap,
                                     r * r * (delta - std::sin(delta)) * 0.5};
        length_ = r * delta;
        LineHeights ends[2];
        LineHeights* left = &ends[0];
        LineHeights* right = &ends[1];
        double x1 = r * start.sin + circle_.rx;
        double y1 = circle_.ry - r * start.cos;
        placeHeights(block, x1, *left);
        ArcAngle angle = start;
        for (int n = 1; n <= segment.elements; ++n) {
            double theta2 = start.theta + n * delta;
            if (theta2 >= segment.theta1) theta2 = segment.theta1;
            angle = ArcAngle::at(theta2);
            const double x2 = r * angle.sin + circle_.rx;
            const double y2 = circle_.ry - r * angle.cos;
            placeHeights(block, x2, *right);
            const ElementEnd a{x1, y1, *left};
            const ElementEnd b{x2, y2, *right};
            const ColumnWeights column = weighColumn(columns, a, b);
            if (column.baseLayer == nullptr) {
                if (column.layerMissing) {
                    missingLayerNo_ = column.missingLayerNo;
                    return Stop::MissingLayer;
                }
                records_.writeRecord(kROverRecord);
                continue;  // the next element reaches back to where this one began
            }
            if (!addMoments(a, b, column)) return Stop::Abandoned;
            x1 = x2;
            y1 = y2;
            std::swap(left, right);
        }
        start = angle;
        return Stop::None;
    }

    const MomentTerms& sums() const { return sums_; }
    int missingLayerNo() const { return missingLayerNo_; }

  private:
    /// Adds an element's moments about the centre, taken at the centroid of its column; false
    /// when the centroid falls outside the circle, which abandons the circle.
    bool addMoments(const ElementEnd& a, const ElementEnd& b, const ColumnWeights& column) {
        const double r = circle_.r;
        const double v = b.x - a.x;
        const double g1 = column.ground1;
        const double g2 = column.ground2;
        const double h1 = g1 - a.y;
        const double h2 = g2 - b.y;
        double xg = a.x + v / 2.0;
        if (v > kEpsilon && std::fabs(3.0 * (h1 + h2) / v) > kEpsilon) {
            xg = a.x + centroidOffset(v, h1, h2);
        }
        const double dx = xg - circle_.rx;
        const double gq = circle_.r2 - dx * dx;
        if (gq < -kEpsilon) {
            const double s = ((g2 + h1) - (a.y - h2)) / v;
            records_.writeRecord(centroidOutsideRecord(xg, (a.y - h2) + s * (xg - a.x), v, a.x, s,
                                                       g2 + h1, a.y - h2));
            return false;
        }
        const double ya = gq < kEpsilon ? circle_.ry : circle_.ry - std::sqrt(gq);
        const double cosTheta = (circle_.ry - ya) / r;
        const double sinTheta = dx / r;
        const SoilLayer& layer = *column.baseLayer;
        const ElementStrength strength =
            elementStrength(layer, column.w2, cohesionDepth(section_, ya));
        const double kh = section_.kh;
        addTerms(sums_, elementTerms(column.w1, strength, sinTheta, cosTheta, kh, length_));
        if (observer_ != nullptr) {
            const double t = strength.friction;
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
                                strength.cohesion,
                                layer.tanPhi,
                                length_,
                                r * column.w1 * sinTheta,
                                r * column.w1 * cosTheta * kh,
                                r * t * cosTheta,
                                r * t * sinTheta * kh,
                                r * strength.cohesion * length_});
        }
        return true;
    }

    const Section& section_;
    const Circle& circle_;
    const Arc& arc_;
    RecordWriter& records_;
    ElementObserver* observer_;
    double length_ = 0.0;  // of an element's arc
    MomentTerms sums_;
    int missingLayerNo_ = 0;
};

}  // namespace

CircleOutcome evaluateCircle(const Section& section, double rx, double ry, double r,
                             RecordWriter& records, EvaluationScratch& scratch,
                             ElementObserver* observer) {
    CircleOutcome outcome;
    const Circle circle{rx, ry, r, r * r};
    const Arc arc = findArc(section, circle, scratch.points);
    if (!arc.usable) return outcome;
    DirectElements elements(section, circle, arc, records, observer);
    ArcSegments segments(section, circle, arc, scratch.points);
    ArcAngle start = ArcAngle::at(segments.firstTheta());
    ArcSegment segment;
    while (segments.next(segment)) {
        // A segment starts where the last one ended, when that was at its first angle.
        if (start.theta != segment.theta0) start = ArcAngle::at(segment.theta0);
        switch (elements.addSegment(segment, start)) {
            case DirectElements::Stop::None:
                break;
            case DirectElements::Stop::MissingLayer:
                outcome.kind = OutcomeKind::MissingLayer;
                outcome.missingLayerNo = elements.missingLayerNo();
                return outcome;
            case DirectElements::Stop::Abandoned:
                outcome.kind = OutcomeKind::Abandoned;
                return outcome;
        }
    }
    if (segments.runsBackwards()) return outcome;
    const double mf = loadMoment(section, circle, arc);
    if (!circleResult(circle, arc, elements.sums(), mf, outcome.result)) return {};
    outcome.kind = OutcomeKind::Result;
    return outcome;
}

}  // namespace dorvo
