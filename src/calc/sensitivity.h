// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "calc/circle_search_run.h"
#include "calc/parameter_change.h"
#include "model/project.h"

namespace dorvo {

/// How far each parameter is varied, in percent of its value.
struct SensitivityLimits {
    double lowerPercent = -10.0;
    double upperPercent = 10.0;
};

/// The whole search run once with one parameter changed.
struct VariedSearch {
    double value = 0.0;
    bool refused = false;                  // the changed project cannot be calculated
    std::optional<CircleResult> critical;  // nothing also when no circle has an Fs
};

struct SensitivityRow {
    ProjectParameter parameter;
    double base = 0.0;
    VariedSearch lower;
    VariedSearch upper;

    /// How far apart the minimum Fs of the two variations lie; 0 when either has none.
    double swing() const;
};

struct Sensitivity {
    bool completed = false;  // false when stopped on request
    std::optional<CircleResult> plain;
    std::vector<SensitivityRow> rows;  // in table order

    /// The rows ordered by their swing, largest first (ties in table order), for the tornado.
    std::vector<const SensitivityRow*> bySwing() const;
};

/// Whether a variation's critical circle lies elsewhere than the plain search's.
bool criticalCircleMoved(const std::optional<CircleResult>& plain, const VariedSearch& varied);

/// Told after each search how many of the analysis's searches are done, on the calling thread.
using SearchesDone = std::function<void(std::size_t done, std::size_t total)>;

/// Varies each parameter of the project one at a time to its lower and upper limit and runs
/// the whole search for each, every search on the threads of `options`. The circle search
/// must be valid; a changed section the calculation refuses is marked refused.
Sensitivity analyseSensitivity(const Project& project, const ValidCircleSearch& search,
                               const SensitivityLimits& limits, const SearchOptions& options,
                               const SearchesDone& searchesDone = {});

}  // namespace dorvo
