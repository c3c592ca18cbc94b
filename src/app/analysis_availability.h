// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>

#include "calc/back_analysis.h"
#include "model/project.h"

namespace dorvo {

// What the design analyses need before they can run: the commands that open them are enabled
// by these.

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
