// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "calc/circle_evaluation.h"
#include "calc/circle_search.h"
#include "calc/section.h"

namespace dorvo::verification {

// The manual's one door to the simplified Bishop method, so that a change of its interface is
// a change here only.

/// The simplified Bishop factor of safety of one circle; nothing when it has none.
std::optional<double> bishopOfCircle(const Section& section, const CircleResult& circle);

/// The circle of the lowest simplified Bishop Fs of the search's grid, `fs` its Bishop Fs;
/// nothing when no circle has a Bishop value.
std::optional<CircleResult> bishopCriticalCircle(const Section& section,
                                                 const ValidCircleSearch& search);

}  // namespace dorvo::verification
