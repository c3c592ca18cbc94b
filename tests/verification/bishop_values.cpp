// SPDX-License-Identifier: GPL-3.0-or-later
#include "verification/bishop_values.h"

#include "calc/bishop_search.h"
#include "calc/circle_explanation.h"

namespace dorvo::verification {

std::optional<double> bishopOfCircle(const Section& section, const CircleResult& circle) {
    const BishopSolution solution =
        bishopFactorOfSafety(explainCircle(section, circle.rx, circle.ry, circle.r));
    if (!solution.solved()) return std::nullopt;
    return solution.fs;
}

std::optional<CircleResult> bishopCriticalCircle(const Section& section,
                                                 const ValidCircleSearch& search) {
    const BishopSearch found = runBishopSearch(section, search, 0, std::stop_token());
    if (!found.completed) return std::nullopt;
    return found.critical;
}

}  // namespace dorvo::verification
