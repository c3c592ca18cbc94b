// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "calc/bishop_method.h"
#include "calc/circle_evaluation.h"

namespace dorvo {

/// One circle evaluated element by element, as the search evaluates it.
struct CircleExplanation {
    CircleOutcome outcome;
    std::vector<ElementContribution> elements;
    std::vector<std::string> records;  // diagnostic records the evaluation wrote
    double mf = 0.0;                   // the concentrated loads' moment
};

/// Evaluates one circle and keeps every element it summed.
CircleExplanation explainCircle(const Section& section, double rx, double ry, double r);

/// What the simplified Bishop method reads of each element of the circle.
std::vector<BishopElement> bishopElements(const CircleExplanation& explanation);

/// The simplified Bishop factor of safety of the same elements: moment equilibrium about the
/// centre with each element's normal force from vertical equilibrium, side forces horizontal.
/// The driving moment is the ordinary method's (weights, the seismic coefficient as a
/// horizontal force at the element's base, concentrated loads); the resisting shear on an
/// element is (c·L·cosα + W2·tanφ) / mα with mα = cosα + sinα·tanφ / F; L is the element's
/// arc length, as in the ordinary method's cohesion term.
BishopSolution bishopFactorOfSafety(const CircleExplanation& explanation);

}  // namespace dorvo
