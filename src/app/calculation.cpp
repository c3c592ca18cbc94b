#include "app/calculation.h"

#include "model/line_io.h"

namespace dorvo {

bool checkCalculationInput(const Project& project, CircleSearchValues& values, Section& section,
                           MessageSink& messages) {
    if (validateCircleSearch(project.circleSearch, values, &messages) != CircleSearchCheck::Valid) {
        return false;
    }
    PreparedSection prepared = prepareSection(project);
    if (!prepared.section) {
        messages.report(prepared.error);
        return false;
    }
    section = std::move(*prepared.section);
    return true;
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
    CircleSearchValues values;
    Section section;
    if (!checkCalculationInput(project, values, section, messages)) return calculation;
    bool ran = false;
    bool written = writeFileAtomically(resultsFile, [&](std::ostream& out) {
        ran = true;
        calculation.summary = runCircleSearch(section, values, options, out, progress);
        return calculation.summary.completed;
    });
    if (ran && !calculation.summary.completed) {
        calculation.outcome = CalculationOutcome::Cancelled;
        return calculation;
    }
    if (!written) {
        messages.report(makeMessage(MessageId::CannotCreateWorkFile, resultsFile.string()));
        calculation.outcome = CalculationOutcome::CannotWriteResults;
        return calculation;
    }
    storeCriticalCircle(project, calculation.summary);
    calculation.outcome = CalculationOutcome::Completed;
    return calculation;
}

}  // namespace dorvo
