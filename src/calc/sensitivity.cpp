// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/sensitivity.h"

#include <algorithm>
#include <cmath>

#include "calc/unrecorded_runs.h"

namespace dorvo {

namespace {

/// Runs the search on a project; false when stopped on request.
bool searchOnce(const Project& project, const ValidCircleSearch& search,
                const SearchOptions& options, VariedSearch& into) {
    Result<Section> prepared = prepareSection(project);
    if (!prepared) {
        into.refused = true;
        return true;
    }
    const SearchSummary summary = searchUnrecorded(*prepared, search, options);
    into.critical = summary.critical;
    return summary.completed;
}

}  // namespace

double SensitivityRow::swing() const {
    if (!lower.critical || !upper.critical) return 0.0;
    return std::abs(upper.critical->fs - lower.critical->fs);
}

std::vector<const SensitivityRow*> Sensitivity::bySwing() const {
    std::vector<const SensitivityRow*> ordered;
    for (const SensitivityRow& row : rows) ordered.push_back(&row);
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const SensitivityRow* a, const SensitivityRow* b) { return a->swing() > b->swing(); });
    return ordered;
}

bool criticalCircleMoved(const std::optional<CircleResult>& plain, const VariedSearch& varied) {
    if (!plain || !varied.critical) return plain.has_value() != varied.critical.has_value();
    const CircleResult& a = *plain;
    const CircleResult& b = *varied.critical;
    return a.rx != b.rx || a.ry != b.ry || a.r != b.r;
}

Sensitivity analyseSensitivity(const Project& project, const ValidCircleSearch& search,
                               const SensitivityLimits& limits, const SearchOptions& options,
                               const SearchesDone& searchesDone) {
    Sensitivity result;
    const std::vector<ProjectParameter> parameters = variableParameters(project);
    const std::size_t searches = 1 + 2 * parameters.size();
    std::size_t done = 0;
    auto searched = [&] {
        if (searchesDone) searchesDone(++done, searches);
    };
    VariedSearch plain;
    if (!searchOnce(project, search, options, plain)) return result;
    searched();
    result.plain = plain.critical;
    for (const ProjectParameter& parameter : parameters) {
        SensitivityRow row;
        row.parameter = parameter;
        row.base = parameterValue(project, parameter);
        for (auto [percent, varied] : {std::pair{limits.lowerPercent, &row.lower},
                                       std::pair{limits.upperPercent, &row.upper}}) {
            varied->value = row.base * (1.0 + percent / 100.0);
            const Project changed = withParameterValue(project, parameter, varied->value);
            if (!searchOnce(changed, search, options, *varied)) return result;
            searched();
        }
        result.rows.push_back(row);
    }
    result.completed = true;
    return result;
}

}  // namespace dorvo
