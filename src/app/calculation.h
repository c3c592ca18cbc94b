// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>

#include "calc/circle_search_run.h"
#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"

namespace dorvo {

/// How a search that ran ended: every circle tried, or stopped on request.
enum class CalculationOutcome { Completed, Cancelled };

struct Calculation {
    CalculationOutcome outcome = CalculationOutcome::Completed;
    SearchSummary summary;
};

/// What a search runs on, once checked.
struct CalculationInput {
    ValidCircleSearch search;
    Section section;
};

/// Checks the circle search and the section; fails with the first problem, when the search
/// cannot run.
Result<CalculationInput> checkCalculationInput(const Project& project);

/// Runs the project's checked search into a results file, replacing it only when the run
/// completes, and stores the critical circle in the project (zero when there is no
/// solution). A cancelled or failed run leaves the old results file and the project's
/// critical circle as they were; a failed write (a full disk) stops the run at once and fails.
Result<Calculation> calculateInto(const std::filesystem::path& resultsFile, Project& project,
                                  const CalculationInput& input, const SearchOptions& options,
                                  SearchProgress* progress);

/// Checks the project's search and section, then runs it as above; input that cannot run
/// fails as well, before the results file is touched.
Result<Calculation> calculateInto(const std::filesystem::path& resultsFile, Project& project,
                                  const SearchOptions& options, SearchProgress* progress);

/// Stores the critical circle of a completed search in the project.
void storeCriticalCircle(Project& project, const SearchSummary& summary);

}  // namespace dorvo
