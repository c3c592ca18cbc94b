// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calc/circle_evaluation.h"
#include "model/project.h"

namespace dorvo::verification {

/// What Dorvo computes for one rebuilt problem.
struct CaseResult {
    std::string error;             // why the problem could not be computed; empty when it was
    CircleResult critical;         // the ordinary method's critical circle, or the one given circle
    std::optional<double> bishop;  // the simplified Bishop Fs of that circle
    /// The search's own critical circle by the simplified Bishop method, `fs` its Bishop Fs.
    std::optional<CircleResult> bishopCritical;
    std::int64_t circles = 0;           // circles the search evaluated; 1 for a given circle
    std::string search;                 // the search's grid and radii in words, for a search
    std::vector<std::string> warnings;  // where the true minimum may lie outside the search
    Section section;                    // as the calculation read it from the project
};

/// The simplified Bishop value to hold against a published one: the Bishop search's minimum,
/// or the given circle's value.
std::optional<double> bishopValue(const CaseResult& result);

/// Loads a project, runs its search as the command line does, writing the result records to
/// `resultsFile` (which the figure then reads), and takes both methods' values.
CaseResult computeCase(const std::filesystem::path& projectFile,
                       const std::filesystem::path& resultsFile, Project& project);

}  // namespace dorvo::verification
