// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>

#include "app/design_tables.h"
#include "app/document.h"
#include "calc/back_analysis.h"
#include "model/result.h"

namespace dorvo {

/// Writes an analysis table as CSV in code page 932 with CR LF, as the spreadsheets of the
/// program's users read it, through the atomic writer. Refuses the open project's own file and
/// a cell that code page 932 cannot hold, naming it.
Status writeTableCsv(const std::filesystem::path& file, const AnalysisTable& table,
                     const Document& document);

/// Whether the results working file holds the records of a calculation.
bool calculationResultsExist(const std::filesystem::path& resultsFile);

/// Whether the project's section and circle search are complete enough to calculate, as the
/// analyses that run their own searches need.
bool projectCanBeCalculated(const Project& project);

/// The critical circle of the last calculation: the project's, else the one its results file
/// records; nothing before a calculation.
std::optional<TrialCircle> lastCriticalCircle(const Project& project,
                                              const std::filesystem::path& resultsFile);

}  // namespace dorvo
