// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <stop_token>
#include <string_view>

#include "calc/circle_evaluation.h"
#include "calc/circle_search.h"
#include "calc/section.h"

namespace dorvo {

/// Receives the progress of a search: the position 0 … 100 and the circle being tried.
/// Calls come from the thread that runs the search, at most a few dozen times a second.
class SearchProgress {
  public:
    virtual ~SearchProgress() = default;
    virtual void report(int position, std::string_view status) = 0;
};

struct SearchOptions {
    int decimals = 3;      // the Fs decimals setting, clamped to 2 … 4 by the run
    int threads = 0;       // 0: one per core; at most maxSearchThreads()
    std::stop_token stop;  // a stop request ends the run soon, unfinished
};

/// The most threads a search starts, four per core: more would not be faster, and each
/// holds the records of a few tasks in memory.
int maxSearchThreads();

struct SearchSummary {
    bool completed = false;
    bool writeFailed = false;              // the stream refused a record; the run stopped there
    std::int64_t radiiTried = 0;           // every centre and radius of the grid
    std::int64_t circlesEvaluated = 0;     // those that passed the radius filters
    std::int64_t circlesWritten = 0;       // those with Fs below 9999, written as 028 or 038
    std::optional<CircleResult> critical;  // the overall minimum, when it is below 9999
};

/// Tries every circle of the search and writes the result records to `out` in search order,
/// the same bytes for any number of threads, holding a bounded number of them in memory
/// however many radii a centre has. Stops soon after a write to `out` fails.
SearchSummary runCircleSearch(const Section& section, const ValidCircleSearch& search,
                              const SearchOptions& options, std::ostream& out,
                              SearchProgress* progress);

}  // namespace dorvo
