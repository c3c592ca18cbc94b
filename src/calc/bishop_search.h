// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

#include "calc/bishop_method.h"
#include "calc/circle_search_run.h"
#include "calc/search_edges.h"

namespace dorvo {

/// A search of the grid by the simplified Bishop method: the minimum of every centre and the
/// critical circle, each by its Bishop Fs. Writes no records: those stay the ordinary
/// method's.
struct BishopSearch {
    bool completed = false;
    std::int64_t circlesSolved = 0;           // circles with a Bishop value
    std::int64_t circlesUnsolved = 0;         // circles with an ordinary result but no Bishop value
    std::vector<CentreMinimum> centreMinima;  // in search order, the centres with a value
    /// The circle of the lowest Bishop Fs (first in search order among equals): its moments
    /// and end points as the ordinary method gives them, `fs` its Bishop Fs.
    std::optional<CircleResult> critical;
    BishopSolution criticalSolution;
};

/// Tries every circle of the search as runCircleSearch does and solves each one's Bishop Fs.
/// `threads` 0: one per core. A stop request ends it soon, not completed.
BishopSearch runBishopSearch(const Section& section, const ValidCircleSearch& search, int threads,
                             const std::stop_token& stop, SearchProgress* progress = nullptr);

}  // namespace dorvo
