// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/circle_evaluation.h"

namespace dorvo::oracle {

/// The evaluation as it was before the element angles were stepped by rotation: the sine and
/// cosine of every element's angle called directly. Kept frozen; the program's records must
/// stay byte for byte what this one gives.
CircleOutcome evaluateCircleDirectly(const Section& section, double rx, double ry, double r,
                                     RecordWriter& records, EvaluationScratch& scratch,
                                     ElementObserver* observer = nullptr);

}  // namespace dorvo::oracle
