// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "calc/distribution.h"
#include "calc/probability_run.h"
#include "calc/realisation_sampling.h"
#include "calc/varied_section.h"
#include "model/project.h"
#include "model/result.h"

namespace dorvo {

/// How the spread of an uncertain value is given.
enum class SpreadKind { StandardDeviation, CoefficientOfVariation };

/// One uncertain parameter as the user states it.
struct UncertainParameterSpec {
    VariedParameter parameter;
    DistributionKind distribution = DistributionKind::Normal;
    std::optional<double> mean;  // nothing: the project's value
    SpreadKind spreadKind = SpreadKind::StandardDeviation;
    double spread = 0.0;
    std::optional<double> min;
    std::optional<double> max;
    bool operator==(const UncertainParameterSpec&) const = default;
};

/// A correlation between the cohesion Co and the friction angle φ of one layer.
struct CohesionFrictionCorrelation {
    int layerNo = 0;
    double correlation = 0.0;
    bool operator==(const CohesionFrictionCorrelation&) const = default;
};

inline constexpr std::int64_t kDefaultRealisations = 1000;
inline constexpr std::int64_t kMostRealisations = 100'000'000;

/// The probabilistic analysis of a project, as its side file NAME.prob.json holds it.
struct ProbabilitySpec {
    std::int64_t realisations = kDefaultRealisations;
    std::uint64_t seed = 1;
    SamplingMethod sampling = SamplingMethod::MonteCarlo;
    ProbabilityMode mode = ProbabilityMode::CriticalCircle;
    std::vector<UncertainParameterSpec> parameters;
    std::vector<CohesionFrictionCorrelation> correlations;
    bool operator==(const ProbabilitySpec&) const = default;
};

/// A parameter's distribution with the project's value as the mean where none is given.
Distribution resolvedDistribution(const UncertainParameterSpec& spec, const Project& project);

/// The sampling plan of a spec and where each parameter goes in the project's section.
/// Refuses, naming the field ("parameters[2].layer"), a parameter the project does not have,
/// a parameter listed twice, a distribution its limits leave empty, a correlation of a layer
/// whose co and phi are not both listed.
struct ResolvedSpec {
    SamplingPlan plan;
    std::vector<SectionSlot> slots;
};
Result<ResolvedSpec> resolveProbabilitySpec(const ProbabilitySpec& spec, const Project& project);

}  // namespace dorvo
