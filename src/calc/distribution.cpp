// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/distribution.h"

#include <algorithm>
#include <cmath>

namespace dorvo {

namespace {

constexpr double kSqrt3 = 1.7320508075688772;

double polynomial(const double (&coefficients)[8], double x) {
    double sum = coefficients[7];
    for (int i = 6; i >= 0; --i) sum = sum * x + coefficients[i];
    return sum;
}

/// Where the normal value of the logarithm lies: its mean and standard deviation.
struct LogNormalParameters {
    double mu;
    double sigma;
};

LogNormalParameters logNormalParameters(const Distribution& d) {
    const double cov = d.sd / d.mean;
    const double variance = std::log1p(cov * cov);
    return {std::log(d.mean) - 0.5 * variance, std::sqrt(variance)};
}

/// The interval of cumulative probability of the standard normal score that the limits
/// leave, given as scores.
struct ProbabilityRange {
    double from = 0.0;
    double to = 1.0;
};

ProbabilityRange normalRange(std::optional<double> lowerScore, std::optional<double> upperScore) {
    ProbabilityRange range;
    if (lowerScore) range.from = standardNormalCdf(*lowerScore);
    if (upperScore) range.to = standardNormalCdf(*upperScore);
    return range;
}

std::optional<double> scoreOf(std::optional<double> limit, double mean, double sd) {
    if (!limit) return std::nullopt;
    return (*limit - mean) / sd;
}

std::optional<double> logScoreOf(std::optional<double> limit, const LogNormalParameters& p,
                                 bool lower) {
    if (!limit) return std::nullopt;
    if (*limit <= 0.0) {
        if (lower) return std::nullopt;  // every lognormal value lies above it
        return -HUGE_VAL;
    }
    return (std::log(*limit) - p.mu) / p.sigma;
}

/// The scores' probability range of a normal or lognormal distribution within its limits.
ProbabilityRange rangeOf(const Distribution& d) {
    if (d.kind == DistributionKind::Lognormal) {
        const LogNormalParameters p = logNormalParameters(d);
        return normalRange(logScoreOf(d.lower, p, true), logScoreOf(d.upper, p, false));
    }
    return normalRange(scoreOf(d.lower, d.mean, d.sd), scoreOf(d.upper, d.mean, d.sd));
}

struct Interval {
    double from;
    double to;
};

Interval uniformInterval(const Distribution& d) {
    double from = d.mean - kSqrt3 * d.sd;
    double to = d.mean + kSqrt3 * d.sd;
    if (d.lower) from = std::max(from, *d.lower);
    if (d.upper) to = std::min(to, *d.upper);
    return {from, to};
}

bool withinLimits(const Distribution& d, double value) {
    return (!d.lower || value >= *d.lower) && (!d.upper || value <= *d.upper);
}

}  // namespace

double standardNormalCdf(double z) {
    return 0.5 * std::erfc(-z * 0.70710678118654752440);
}

double standardNormalQuantile(double p) {
    static constexpr double a[8] = {3.3871328727963666080e0,  1.3314166789178437745e+2,
                                    1.9715909503065514427e+3, 1.3731693765509461125e+4,
                                    4.5921953931549871457e+4, 6.7265770927008700853e+4,
                                    3.3430575583588128105e+4, 2.5090809287301226727e+3};
    static constexpr double b[8] = {1.0,
                                    4.2313330701600911252e+1,
                                    6.8718700749205790830e+2,
                                    5.3941960214247511077e+3,
                                    2.1213794301586595867e+4,
                                    3.9307895800092710610e+4,
                                    2.8729085735721942674e+4,
                                    5.2264952788528545610e+3};
    static constexpr double c[8] = {1.42343711074968357734e0,  4.63033784615654529590e0,
                                    5.76949722146069140550e0,  3.64784832476320460504e0,
                                    1.27045825245236838258e0,  2.41780725177450611770e-1,
                                    2.27238449892691845833e-2, 7.74545014278341407640e-4};
    static constexpr double d[8] = {1.0,
                                    2.05319162663775882187e0,
                                    1.67638483018380384940e0,
                                    6.89767334985100004550e-1,
                                    1.48103976427480074590e-1,
                                    1.51986665636164571966e-2,
                                    5.47593808499534494600e-4,
                                    1.05075007164441684324e-9};
    static constexpr double e[8] = {6.65790464350110377720e0,  5.46378491116411436990e0,
                                    1.78482653991729133580e0,  2.96560571828504891230e-1,
                                    2.65321895265761230930e-2, 1.24266094738807843860e-3,
                                    2.71155556874348757815e-5, 2.01033439929228813265e-7};
    static constexpr double f[8] = {1.0,
                                    5.99832206555887937690e-1,
                                    1.36929880922735805310e-1,
                                    1.48753612908506148525e-2,
                                    7.86869131145613259100e-4,
                                    1.84631831751005468180e-5,
                                    1.42151175831644588870e-7,
                                    2.04426310338993978564e-15};
    const double q = p - 0.5;
    if (std::abs(q) <= 0.425) {
        const double r = 0.180625 - q * q;
        return q * polynomial(a, r) / polynomial(b, r);
    }
    double r = q < 0.0 ? p : 1.0 - p;
    r = std::sqrt(-std::log(r));
    double value;
    if (r <= 5.0) {
        r -= 1.6;
        value = polynomial(c, r) / polynomial(d, r);
    } else {
        r -= 5.0;
        value = polynomial(e, r) / polynomial(f, r);
    }
    return q < 0.0 ? -value : value;
}

double quantileOf(const Distribution& d, double u) {
    if (d.sd == 0.0) return d.mean;
    if (d.kind == DistributionKind::Uniform) {
        const Interval interval = uniformInterval(d);
        return interval.from + u * (interval.to - interval.from);
    }
    const ProbabilityRange range = rangeOf(d);
    const double p = range.from + u * (range.to - range.from);
    const double score = standardNormalQuantile(std::clamp(p, 1e-300, 1.0 - 0x1p-53));
    double value;
    if (d.kind == DistributionKind::Lognormal) {
        const LogNormalParameters parameters = logNormalParameters(d);
        value = std::exp(parameters.mu + parameters.sigma * score);
    } else {
        value = d.mean + d.sd * score;
    }
    // Rounding at the far ends of Φ must not carry a value past a limit.
    if (d.lower) value = std::max(value, *d.lower);
    if (d.upper) value = std::min(value, *d.upper);
    return value;
}

std::optional<const char*> distributionProblem(const Distribution& d) {
    if (d.lower && d.upper && *d.lower > *d.upper) return "min is above max";
    if (d.kind == DistributionKind::Lognormal && d.mean <= 0.0) {
        return "a lognormal value needs a mean above 0";
    }
    if (d.sd == 0.0) {
        if (!withinLimits(d, d.mean)) return "the mean lies outside min and max";
        return std::nullopt;
    }
    if (d.kind == DistributionKind::Uniform) {
        const Interval interval = uniformInterval(d);
        if (!(interval.from < interval.to)) return "min and max leave no value to draw";
        return std::nullopt;
    }
    const ProbabilityRange range = rangeOf(d);
    if (!(range.to - range.from > 1e-12)) return "min and max leave no value to draw";
    return std::nullopt;
}

}  // namespace dorvo
