// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/probability_analysis.h"

#include "app/calculation.h"

namespace dorvo {

Result<ProbabilityAnalysis> prepareProbabilityAnalysis(const Project& project,
                                                       const ProbabilitySpec& spec, int threads,
                                                       const std::stop_token& stop) {
    auto input = checkCalculationInput(project);
    if (!input) return Failure{input.error()};
    Result<ResolvedSpec> resolved = resolveProbabilitySpec(spec, project);
    if (!resolved) return Failure{resolved.error()};

    ProbabilityAnalysis analysis;
    analysis.spec = spec;
    for (const UncertainParameterSpec& parameter : spec.parameters) {
        analysis.parameters.push_back(parameter.parameter);
    }
    ProbabilityModel& model = analysis.model;
    model.section = std::move(input.value().section);
    model.slots = std::move(resolved->slots);
    model.plan = std::move(resolved->plan);
    model.mode = spec.mode;
    model.search = std::move(input.value().search);
    const auto critical = searchCriticalCircle(model.section, *model.search, threads, stop);
    if (stop.stop_requested()) return Failure{literalMessage("stopped")};
    if (!critical) {
        return Failure{literalMessage(
            "the project's search finds no circle with a factor of safety to start from")};
    }
    model.deterministic = *critical;
    return analysis;
}

}  // namespace dorvo
