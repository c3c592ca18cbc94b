// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/analysis_availability.h"

#include "calc/circle_search.h"
#include "calc/section.h"
#include "render/result_overlay.h"

namespace dorvo {

bool calculationResultsExist(const std::filesystem::path& resultsFile) {
    std::error_code error;
    const auto size = std::filesystem::file_size(resultsFile, error);
    return !error && size > 0;
}

bool projectCanBeCalculated(const Project& project) {
    return validCircleSearch(project.circleSearch).ok() && prepareSection(project).ok();
}

std::optional<TrialCircle> lastCriticalCircle(const Project& project,
                                              const std::filesystem::path& resultsFile) {
    CriticalCircle critical = project.critical;
    if (!(critical.radius > 0.0)) readResultOverlay(resultsFile, critical);
    if (!(critical.radius > 0.0)) return std::nullopt;
    return TrialCircle{critical.centreX, critical.centreY, critical.radius};
}

}  // namespace dorvo
