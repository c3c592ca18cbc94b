// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/realisation_sampling.h"

#include <cmath>

#include "calc/random_draws.h"

namespace dorvo {

void sampleRealisation(const SamplingPlan& plan, std::int64_t index, std::span<double> values) {
    const auto realisation = static_cast<std::uint64_t>(index);
    const std::size_t count = plan.distributions.size();
    // The cumulative probabilities first, so that a pair can mix them before the quantiles.
    for (std::size_t j = 0; j < count; ++j) {
        const auto parameter = static_cast<std::uint32_t>(j);
        double u = uniformDraw(plan.seed, realisation, parameter, DrawPurpose::Value);
        if (plan.method == SamplingMethod::LatinHypercube) {
            const auto strata = static_cast<std::uint64_t>(plan.realisations);
            const std::uint64_t stratum = permutedIndex(realisation, strata, plan.seed, parameter);
            u = (double(stratum) + u) / double(strata);
        }
        values[j] = u;
    }
    for (const CorrelatedPair& pair : plan.pairs) {
        const double first = standardNormalQuantile(values[pair.first]);
        const double second = standardNormalQuantile(values[pair.second]);
        const double rho = pair.correlation;
        const double mixed = rho * first + std::sqrt(1.0 - rho * rho) * second;
        values[pair.second] = standardNormalCdf(mixed);
    }
    for (std::size_t j = 0; j < count; ++j) {
        values[j] = quantileOf(plan.distributions[j], values[j]);
    }
}

}  // namespace dorvo
