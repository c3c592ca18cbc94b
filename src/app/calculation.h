// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>

#include "calc/circle_search_run.h"
#include "model/messages.h"
#include "model/project.h"

namespace dorvo {

enum class CalculationOutcome { Completed, InvalidInput, CannotWriteResults, Cancelled };

struct Calculation {
    CalculationOutcome outcome = CalculationOutcome::InvalidInput;
    SearchSummary summary;
};

/// What a search runs on, once checked.
struct CalculationInput {
    ValidCircleSearch search;
    Section section;
};

/// Checks the circle search and the section; reports the first problem. Nothing when the
/// search cannot run.
std::optional<CalculationInput> checkCalculationInput(const Project& project,
                                                      MessageSink& messages);

/// Runs the whole search into a results file, replacing it only when the run completes, and
/// stores the critical circle in the project (zero when there is no solution). A cancelled or
/// failed run leaves the old results file and the project's critical circle as they were; a
/// failed write (a full disk) stops the run at once and is reported.
Calculation calculateInto(const std::filesystem::path& resultsFile, Project& project,
                          const SearchOptions& options, SearchProgress* progress,
                          MessageSink& messages);

/// Stores the critical circle of a completed search in the project.
void storeCriticalCircle(Project& project, const SearchSummary& summary);

}  // namespace dorvo
