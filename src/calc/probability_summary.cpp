// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/probability_summary.h"

#include <algorithm>
#include <cmath>

namespace dorvo {

namespace {

constexpr double kZ95 = 1.959963984540054;

/// Mean and variance by Welford's updates, in the order the values come.
struct RunningMoments {
    std::int64_t count = 0;
    double mean = 0.0;
    double squares = 0.0;

    void add(double value) {
        ++count;
        const double delta = value - mean;
        mean += delta / double(count);
        squares += delta * (value - mean);
    }
    double sd() const { return count > 1 ? std::sqrt(squares / double(count - 1)) : 0.0; }
};

std::optional<double> betaNormal(double mean, double sd) {
    if (!(sd > 0.0)) return std::nullopt;
    return (mean - 1.0) / sd;
}

std::optional<double> betaLognormal(double mean, double sd) {
    if (!(sd > 0.0) || !(mean > 0.0)) return std::nullopt;
    const double v = sd / mean;
    const double variance = std::log1p(v * v);
    return std::log(mean / std::sqrt(1.0 + v * v)) / std::sqrt(variance);
}

/// 1, 2, 2.5 or 5 times a power of ten, the first at least `step`.
double roundStep(double step) {
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (factor * power >= step * (1.0 - 1e-12)) return factor * power;
    }
    return 10.0 * power;
}

FsHistogram histogramOf(std::span<const RealisationFs> realisations, double low, double high,
                        std::int64_t count) {
    FsHistogram histogram;
    const double bins = std::clamp(std::round(std::sqrt(double(count))), 10.0, 50.0);
    const double span = high - low;
    histogram.width = roundStep(span > 0.0 ? span / bins : std::max(std::abs(low) * 0.01, 1e-3));
    histogram.start = std::floor(low / histogram.width) * histogram.width;
    const auto binCount =
        static_cast<std::size_t>(std::floor((high - histogram.start) / histogram.width)) + 1;
    histogram.counts.assign(binCount, 0);
    for (const RealisationFs& r : realisations) {
        if (!r.fs) continue;
        auto bin = static_cast<std::size_t>(
            std::max(0.0, std::floor((*r.fs - histogram.start) / histogram.width)));
        ++histogram.counts[std::min(bin, binCount - 1)];
    }
    return histogram;
}

/// 10, 20, 50, 100, 200, 500 … below the count, and the count itself.
bool isConvergenceStep(std::int64_t n, std::int64_t total) {
    if (n == total) return true;
    std::int64_t power = 1;
    while (power * 10 <= n) power *= 10;
    return n >= 10 && (n == power || n == 2 * power || n == 5 * power);
}

}  // namespace

ProportionInterval wilsonInterval(std::int64_t hits, std::int64_t count) {
    if (count == 0) return {0.0, 1.0};
    const double n = double(count);
    const double p = double(hits) / n;
    const double z2 = kZ95 * kZ95;
    const double denominator = 1.0 + z2 / n;
    const double centre = (p + z2 / (2.0 * n)) / denominator;
    const double half = kZ95 * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * n * n)) / denominator;
    // With no hit, or nothing but hits, the interval reaches its end exactly.
    return {hits == 0 ? 0.0 : std::max(0.0, centre - half),
            hits == count ? 1.0 : std::min(1.0, centre + half)};
}

ProbabilitySummary summariseRealisations(std::span<const RealisationFs> realisations) {
    ProbabilitySummary summary;
    summary.realisations = static_cast<std::int64_t>(realisations.size());
    RunningMoments moments;
    std::int64_t withFs = 0;
    for (const RealisationFs& r : realisations) {
        if (r.fs) ++withFs;
    }
    for (const RealisationFs& r : realisations) {
        if (!r.fs) continue;
        const double fs = *r.fs;
        summary.minFs = moments.count == 0 ? fs : std::min(summary.minFs, fs);
        summary.maxFs = moments.count == 0 ? fs : std::max(summary.maxFs, fs);
        moments.add(fs);
        if (fs < 1.0) ++summary.failures;
        if (isConvergenceStep(moments.count, withFs)) {
            summary.convergence.push_back({moments.count,
                                           double(summary.failures) / double(moments.count),
                                           betaNormal(moments.mean, moments.sd())});
        }
    }
    summary.withFs = moments.count;
    if (summary.withFs == 0) return summary;
    summary.mean = moments.mean;
    summary.sd = moments.sd();
    summary.probabilityOfFailure = double(summary.failures) / double(summary.withFs);
    const ProportionInterval interval = wilsonInterval(summary.failures, summary.withFs);
    summary.probabilityLow = interval.low;
    summary.probabilityHigh = interval.high;
    summary.betaNormal = betaNormal(summary.mean, summary.sd);
    summary.betaLognormal = betaLognormal(summary.mean, summary.sd);
    summary.histogram = histogramOf(realisations, summary.minFs, summary.maxFs, summary.withFs);
    return summary;
}

}  // namespace dorvo
