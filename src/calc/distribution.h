// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace dorvo {

enum class DistributionKind { Normal, Lognormal, Uniform };

/// An uncertain value: its kind, mean and standard deviation, cut at optional limits.
/// A uniform value spreads over mean ± √3·sd; a lognormal one has a normal logarithm with the
/// same mean and standard deviation as the value itself.
struct Distribution {
    DistributionKind kind = DistributionKind::Normal;
    double mean = 0.0;
    double sd = 0.0;
    std::optional<double> lower;
    std::optional<double> upper;
};

/// Φ(z), the standard normal distribution function.
double standardNormalCdf(double z);

/// Φ⁻¹(p) for 0 < p < 1 by Wichura's algorithm AS 241 (PPND16), accurate to about 1e-16.
double standardNormalQuantile(double p);

/// The value of the distribution at cumulative probability u (0 < u < 1), within its limits:
/// the quantile of the distribution cut at the limits, by its own closed-form inverse.
double quantileOf(const Distribution& distribution, double u);

/// Why the limits leave the distribution nothing to draw from, or nothing when they do not.
/// Also refuses a lognormal value whose mean is not above zero.
std::optional<const char*> distributionProblem(const Distribution& distribution);

}  // namespace dorvo
