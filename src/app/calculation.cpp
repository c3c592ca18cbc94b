// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/calculation.h"

#include "model/line_io.h"

namespace dorvo {

std::optional<CalculationInput> checkCalculationInput(const Project& project,
                                                      MessageSink& messages) {
    auto search = validCircleSearch(project.circleSearch);
    if (!search) {
        messages.report(search.error());
        return std::nullopt;
    }
    Result<Section> prepared = prepareSection(project);
    if (!prepared) {
        messages.report(prepared.error());
        return std::nullopt;
    }
    return CalculationInput{std::move(search).value(), std::move(prepared).value()};
}

void storeCriticalCircle(Project& project, const SearchSummary& summary) {
    project.critical = {};
    if (!summary.critical) return;
    const CircleResult& c = *summary.critical;
    project.critical = {c.rx, c.ry, c.r, c.p1x, c.p1y, c.p2x, c.p2y};
}

Calculation calculateInto(const std::filesystem::path& resultsFile, Project& project,
                          const SearchOptions& options, SearchProgress* progress,
                          MessageSink& messages) {
    Calculation calculation;
    auto input = checkCalculationInput(project, messages);
    if (!input) return calculation;
    bool ran = false;
    const Status written = writeFileAtomically(resultsFile, [&](std::ostream& out) {
        ran = true;
        calculation.summary =
            runCircleSearch(input->section, input->search, options, out, progress);
        return calculation.summary.completed;
    });
    if (!ran) {
        messages.report(makeMessage(MessageId::CannotCreateWorkFile, resultsFile.string()));
        calculation.outcome = CalculationOutcome::CannotWriteResults;
        return calculation;
    }
    if (calculation.summary.writeFailed || (calculation.summary.completed && !written)) {
        messages.report(written ? cannotWriteMessage(resultsFile) : written.error());
        calculation.outcome = CalculationOutcome::CannotWriteResults;
        return calculation;
    }
    if (!calculation.summary.completed) {
        calculation.outcome = CalculationOutcome::Cancelled;
        return calculation;
    }
    storeCriticalCircle(project, calculation.summary);
    calculation.outcome = CalculationOutcome::Completed;
    return calculation;
}

}  // namespace dorvo
