// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/project.h"
#include "verification/verification_cases.h"
#include "verification/verification_run.h"

namespace dorvo::verification {

/// One problem as the manual shows it.
struct ComputedCase {
    const VerificationCase* problem = nullptr;
    CaseResult result;
};

/// Whether Dorvo's value lies within the published value's tolerance.
bool withinTolerance(const PublishedFs& published, double dorvo);

/// The figure's file name in docs/ for a problem.
std::string figureName(const VerificationCase& problem);

/// The whole of docs/verification.md.
std::string manualText(const std::vector<ComputedCase>& cases);

/// Draws a computed project's figure page, its critical circle read from `resultsFile`, to a
/// PNG; false when it could not be written.
bool writeFigure(const Project& project, const std::filesystem::path& resultsFile,
                 const std::filesystem::path& png);

}  // namespace dorvo::verification
