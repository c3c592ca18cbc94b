// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stop_token>
#include <vector>

#include "app/probability_inputs.h"
#include "calc/probability_run.h"
#include "model/project.h"
#include "model/result.h"

namespace dorvo {

/// A probabilistic analysis ready to run: the model the realisations read, the parameters in
/// the plan's order, and the inputs they came from.
struct ProbabilityAnalysis {
    ProbabilitySpec spec;
    std::vector<VariedParameter> parameters;
    ProbabilityModel model;
};

/// Checks the project's search and section and the inputs against them, and finds the critical
/// circle of the project's own values (with `threads`). Refuses with the first problem, also
/// when the project's search finds no circle with a factor of safety; nothing is refused
/// when the stop was requested on the way (the failure then says so).
Result<ProbabilityAnalysis> prepareProbabilityAnalysis(const Project& project,
                                                       const ProbabilitySpec& spec, int threads,
                                                       const std::stop_token& stop);

}  // namespace dorvo
