// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/calculation.h"

#include "model/line_io.h"

namespace dorvo {

Result<CalculationInput> checkCalculationInput(const Project& project) {
    auto search = validCircleSearch(project.circleSearch);
    if (!search) return Failure{search.error()};
    Result<Section> prepared = prepareSection(project);
    if (!prepared) return Failure{prepared.error()};
    return CalculationInput{std::move(search).value(), std::move(prepared).value()};
}

void storeCriticalCircle(Project& project, const SearchSummary& summary) {
    project.critical = {};
    if (!summary.critical) return;
    const CircleResult& c = *summary.critical;
    project.critical = {c.rx, c.ry, c.r, c.p1x, c.p1y, c.p2x, c.p2y};
}

Result<Calculation> calculateInto(const std::filesystem::path& resultsFile, Project& project,
                                  const CalculationInput& input, const SearchOptions& options,
                                  SearchProgress* progress) {
    Calculation calculation;
    bool ran = false;
    const Status written = writeFileAtomically(resultsFile, [&](std::ostream& out) {
        ran = true;
        calculation.summary = runCircleSearch(input.section, input.search, options, out, progress);
        return calculation.summary.completed;
    });
    if (!ran) return Failure{makeMessage(MessageId::CannotCreateWorkFile, resultsFile.string())};
    if (calculation.summary.writeFailed || (calculation.summary.completed && !written)) {
        return Failure{written ? cannotWriteMessage(resultsFile) : written.error()};
    }
    if (!calculation.summary.completed) {
        calculation.outcome = CalculationOutcome::Cancelled;
        return calculation;
    }
    storeCriticalCircle(project, calculation.summary);
    return calculation;
}

Result<Calculation> calculateInto(const std::filesystem::path& resultsFile, Project& project,
                                  const SearchOptions& options, SearchProgress* progress) {
    const auto input = checkCalculationInput(project);
    if (!input) return Failure{input.error()};
    return calculateInto(resultsFile, project, *input, options, progress);
}

}  // namespace dorvo
