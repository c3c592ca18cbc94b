// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "calc/section.h"

namespace dorvo {

/// The value that stands for "no factor of safety".
inline constexpr double kNoSolutionFs = 9999.99;

struct ArcPoint {
    double x = 0.0;
    double y = 0.0;
    int block = 0;  // index into Section::blocks of the segment that ends here
};

struct CircleResult {
    double rx = 0.0;
    double ry = 0.0;
    double r = 0.0;
    double md = 0.0;
    double mc = 0.0;
    double mtMe = 0.0;
    double mr = 0.0;
    double fs = kNoSolutionFs;
    double p1x = 0.0;
    double p1y = 0.0;
    double p2x = 0.0;
    double p2y = 0.0;
};

enum class OutcomeKind { Result, Skipped, MissingLayer, Abandoned };

struct CircleOutcome {
    OutcomeKind kind = OutcomeKind::Skipped;
    CircleResult result;
    int missingLayerNo = 0;
};

/// Receives the diagnostic records an evaluation writes into the result stream.
class RecordWriter {
  public:
    virtual ~RecordWriter() = default;
    virtual void writeRecord(std::string_view record) = 0;
};

/// Working memory of one evaluating thread, reused from circle to circle.
struct EvaluationScratch {
    std::vector<ArcPoint> points;
    EvaluationScratch() { points.reserve(4096); }
};

/// One element of a circle as the evaluation summed it: the arc chord under a column of soil,
/// its weights, its strength and its shares of the moments (each already times R).
struct ElementContribution {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;  // the chord on the arc
    double centroidX = 0.0;
    double sinTheta = 0.0;  // θ at the centroid, from the downward vertical, positive to +X
    double cosTheta = 0.0;
    double width = 0.0;
    double area = 0.0;      // of the column above the arc
    int layerNo = 0;        // the layer the arc passes through
    double w1 = 0.0;        // A·γ1, driving
    double w2 = 0.0;        // A·γ2, resisting
    double cohesion = 0.0;  // Co + kZ
    double tanPhi = 0.0;
    double arcLength = 0.0;  // R·Δθ
    double md = 0.0;         // R·W1·sinθ
    double me = 0.0;         // R·W1·cosθ·kh
    double mt = 0.0;         // R·W2·cosθ·tanφ
    double mE = 0.0;         // R·W2·sinθ·tanφ·kh
    double mc = 0.0;         // R·(Co + kZ)·L
};

/// Sees every element of an evaluation, for an explanation of one circle; the search passes
/// none.
class ElementObserver {
  public:
    virtual ~ElementObserver() = default;
    virtual void element(const ElementContribution& element) = 0;
};

/// Evaluates one trial circle by moment equilibrium about its centre, with the sine and cosine
/// of every element's angle.
CircleOutcome evaluateCircle(const Section& section, double rx, double ry, double r,
                             RecordWriter& records, EvaluationScratch& scratch,
                             ElementObserver* observer = nullptr);

/// How far each number of a stepped evaluation may lie from that of evaluateCircle.
struct OutcomeBounds {
    double md = 0.0;
    double mc = 0.0;
    double mtMe = 0.0;
    double mr = 0.0;
    double fs = 0.0;
};

struct SteppedOutcome {
    bool settled = false;  // false: too close to call here; evaluateCircle decides the circle
    CircleOutcome outcome;
    OutcomeBounds bounds;
};

/// The sizes of a section's numbers that bound how far a stepped evaluation may stray.
struct SectionSizes {
    double height = 0.0;        // the largest |Y| of a line
    double weight1 = 0.0;       // the largest |γ1|
    double friction2 = 0.0;     // the largest |γ2| times the largest |tan φ|
    double cohesionRate = 0.0;  // the largest |k|
};

SectionSizes sectionSizes(const Section& section);

/// Evaluates a circle as evaluateCircle does, faster: within a segment of the arc the element
/// angles are stepped by rotation instead of calling sine and cosine for each. The numbers
/// then differ from evaluateCircle's in their last digits, by at most `bounds`; the kind of
/// outcome is the same whenever the outcome is settled. Writes no records: a circle that
/// would write one is left unsettled.
SteppedOutcome evaluateCircleStepped(const Section& section, const SectionSizes& sizes, double rx,
                                     double ry, double r, EvaluationScratch& scratch);

}  // namespace dorvo
