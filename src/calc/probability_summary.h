// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "calc/probability_run.h"

namespace dorvo {

/// Counts of Fs in bins of equal width from `start`; the last bin holds the largest Fs.
struct FsHistogram {
    double start = 0.0;
    double width = 0.0;
    std::vector<std::int64_t> counts;
};

/// The estimates after the first `realisations` realisations (in index order).
struct ConvergencePoint {
    std::int64_t realisations = 0;
    double probabilityOfFailure = 0.0;
    std::optional<double> betaNormal;
};

struct ProbabilitySummary {
    std::int64_t realisations = 0;  // computed
    std::int64_t withFs = 0;        // those that have a factor of safety
    std::int64_t failures = 0;      // Fs < 1
    double mean = 0.0;
    double sd = 0.0;  // with N − 1
    double minFs = 0.0;
    double maxFs = 0.0;
    /// P(Fs < 1) among the realisations with an Fs, and its 95 % Wilson score interval.
    double probabilityOfFailure = 0.0;
    double probabilityLow = 0.0;
    double probabilityHigh = 0.0;
    /// (mean − 1) / sd, and ln(mean / √(1 + V²)) / √(ln(1 + V²)) with V = sd / mean.
    std::optional<double> betaNormal;
    std::optional<double> betaLognormal;
    FsHistogram histogram;
    std::vector<ConvergencePoint> convergence;
};

/// The statistics of realisations given in index order, summed in that order, so the same
/// realisations give the same numbers however they were computed or gathered.
ProbabilitySummary summariseRealisations(std::span<const RealisationFs> realisations);

/// The 95 % Wilson score interval of a proportion of `hits` in `count`.
struct ProportionInterval {
    double low = 0.0;
    double high = 0.0;
};
ProportionInterval wilsonInterval(std::int64_t hits, std::int64_t count);

}  // namespace dorvo
