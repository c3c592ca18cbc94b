// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/probability_inputs.h"

#include <cmath>
#include <string>

namespace dorvo {

namespace {

std::string field(std::size_t index, const char* name) {
    return "parameters[" + std::to_string(index) + "]." + name;
}

Failure refusal(const std::string& where, const std::string& why) {
    return Failure{literalMessage(where + ": " + why)};
}

std::optional<std::size_t> indexOf(const ProbabilitySpec& spec, VariedParameter parameter) {
    for (std::size_t j = 0; j < spec.parameters.size(); ++j) {
        if (spec.parameters[j].parameter == parameter) return j;
    }
    return std::nullopt;
}

}  // namespace

Distribution resolvedDistribution(const UncertainParameterSpec& spec, const Project& project) {
    Distribution distribution;
    distribution.kind = spec.distribution;
    distribution.mean = spec.mean ? *spec.mean : projectValue(project, spec.parameter);
    distribution.sd = spec.spreadKind == SpreadKind::StandardDeviation
                          ? spec.spread
                          : spec.spread * std::abs(distribution.mean);
    distribution.lower = spec.min;
    distribution.upper = spec.max;
    return distribution;
}

Result<ResolvedSpec> resolveProbabilitySpec(const ProbabilitySpec& spec, const Project& project) {
    if (spec.realisations < 1 || spec.realisations > kMostRealisations) {
        return refusal("realisations",
                       "takes a whole number from 1 to " + std::to_string(kMostRealisations));
    }
    ResolvedSpec resolved;
    resolved.plan.method = spec.sampling;
    resolved.plan.seed = spec.seed;
    resolved.plan.realisations = spec.realisations;
    for (std::size_t j = 0; j < spec.parameters.size(); ++j) {
        const UncertainParameterSpec& parameter = spec.parameters[j];
        const auto slot = sectionSlot(project, parameter.parameter);
        if (!slot) {
            const bool load = parameter.parameter.quantity == VariedQuantity::LoadForce;
            return refusal(field(j, load ? "load" : "layer"),
                           load ? "the project has no load in slot " +
                                      std::to_string(parameter.parameter.number)
                                : "the project has no layer No. " +
                                      std::to_string(parameter.parameter.number));
        }
        if (indexOf(spec, parameter.parameter) != j) {
            return refusal(field(j, "property"),
                           parameterName(parameter.parameter) + " is listed twice");
        }
        if (!(parameter.spread >= 0.0) || !isUsableInput(parameter.spread)) {
            const bool sd = parameter.spreadKind == SpreadKind::StandardDeviation;
            return refusal(field(j, sd ? "sd" : "cov"), "takes a number of 0 or more");
        }
        const Distribution distribution = resolvedDistribution(parameter, project);
        if (!isUsableInput(distribution.mean) || !isUsableInput(distribution.sd)) {
            return refusal(field(j, "mean"), "not a usable number");
        }
        if (auto problem = distributionProblem(distribution)) {
            return refusal(field(j, "distribution"), *problem);
        }
        resolved.plan.distributions.push_back(distribution);
        resolved.slots.push_back(*slot);
    }
    for (std::size_t k = 0; k < spec.correlations.size(); ++k) {
        const CohesionFrictionCorrelation& correlation = spec.correlations[k];
        const std::string where = "correlations[" + std::to_string(k) + "]";
        if (!(std::abs(correlation.correlation) <= 1.0)) {
            return refusal(where + ".correlation", "takes a number from -1 to 1");
        }
        const auto co = indexOf(spec, {VariedQuantity::Co, correlation.layerNo});
        const auto phi = indexOf(spec, {VariedQuantity::Phi, correlation.layerNo});
        if (!co || !phi) {
            return refusal(where + ".layer", "co and phi of layer " +
                                                 std::to_string(correlation.layerNo) +
                                                 " must both be uncertain parameters");
        }
        for (std::size_t earlier = 0; earlier < k; ++earlier) {
            if (spec.correlations[earlier].layerNo == correlation.layerNo) {
                return refusal(where + ".layer", "layer " + std::to_string(correlation.layerNo) +
                                                     " has a correlation already");
            }
        }
        resolved.plan.pairs.push_back({*co, *phi, correlation.correlation});
    }
    return resolved;
}

}  // namespace dorvo
