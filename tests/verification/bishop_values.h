#pragma once

#include <optional>

#include "calc/circle_evaluation.h"
#include "calc/section.h"

namespace dorvo::verification {

// The manual's one door to the simplified Bishop method, so that a change of its interface is
// a change here only.

/// The simplified Bishop factor of safety of one circle; nothing when it has none.
std::optional<double> bishopOfCircle(const Section& section, const CircleResult& circle);

}  // namespace dorvo::verification
