// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "calc/circle_evaluation.h"
#include "calc/circle_search_run.h"

namespace dorvo {

// The design analyses evaluate circles and run whole searches for their numbers alone; these
// are the one place they call the evaluation and the search.

/// One circle's result, its diagnostic records thrown away; nothing when the circle has no
/// result (skipped, a missing layer, abandoned).
std::optional<CircleResult> evaluateUnrecorded(const Section& section, double rx, double ry,
                                               double r);

/// The whole search, its records thrown away: the summary with the critical circle.
SearchSummary searchUnrecorded(const Section& section, const ValidCircleSearch& search,
                               const SearchOptions& options);

}  // namespace dorvo
