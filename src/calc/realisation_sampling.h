// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "calc/distribution.h"

namespace dorvo {

enum class SamplingMethod { MonteCarlo, LatinHypercube };

/// Two parameters whose normal scores are correlated (the cohesion and friction of a layer).
struct CorrelatedPair {
    std::size_t first = 0;   // the parameter whose score stays as drawn
    std::size_t second = 0;  // the parameter whose score is mixed with the first's
    double correlation = 0.0;
};

/// How the values of every realisation are drawn.
struct SamplingPlan {
    SamplingMethod method = SamplingMethod::MonteCarlo;
    std::uint64_t seed = 1;
    std::int64_t realisations = 1000;
    std::vector<Distribution> distributions;  // one per uncertain parameter
    std::vector<CorrelatedPair> pairs;
};

/// The values of realisation `index` (0 … realisations − 1), one per distribution, as a
/// function of the seed and the index alone (and, for a Latin hypercube, of the number of
/// realisations): any realisation computed anywhere, in any order, has the same values.
///
/// Monte Carlo: parameter j of realisation i takes u = uniformDraw(seed, i, j) to its
/// quantile. Latin hypercube: u = (π_j(i) + uniformDraw(seed, i, j)) / N, π_j a random
/// arrangement of the N strata (permutedIndex), so each parameter meets each stratum once.
/// A correlated pair mixes the normal scores Φ⁻¹(u) as z₂ ← ρ·z₁ + √(1 − ρ²)·z₂ before
/// both go to their quantiles (a Gaussian copula).
void sampleRealisation(const SamplingPlan& plan, std::int64_t index, std::span<double> values);

}  // namespace dorvo
