// SPDX-License-Identifier: GPL-3.0-or-later
// Sampling, realisations and statistics of the probability of failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <thread>

#include "app/probability_analysis.h"
#include "calc/distribution.h"
#include "calc/probability_run.h"
#include "calc/probability_summary.h"
#include "calc/random_draws.h"
#include "calc/realisation_sampling.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

TEST(RandomDraws, PhiloxMatchesThePublishedKnownAnswers) {
    using Words = std::array<std::uint32_t, 4>;
    EXPECT_EQ(philox4x32({0, 0, 0, 0}, {0, 0}),
              (Words{0x6627e8d5, 0xe169c58d, 0xbc57ac4c, 0x9b00dbd8}));
    EXPECT_EQ(
        philox4x32({0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}, {0xffffffff, 0xffffffff}),
        (Words{0x408f276d, 0x41c83b0e, 0xa20bc7c6, 0x6d5451fd}));
    EXPECT_EQ(
        philox4x32({0x243f6a88, 0x85a308d3, 0x13198a2e, 0x03707344}, {0xa4093822, 0x299f31d0}),
        (Words{0xd16cfe09, 0x94fdcceb, 0x5001e420, 0x24126ea1}));
}

TEST(RandomDraws, UniformDrawsStayInsideTheOpenIntervalAndDependOnEveryPartOfTheCounter) {
    double sum = 0.0;
    for (std::uint64_t i = 0; i < 20000; ++i) {
        const double u = uniformDraw(7, i, 0, DrawPurpose::Value);
        ASSERT_GT(u, 0.0);
        ASSERT_LT(u, 1.0);
        sum += u;
    }
    EXPECT_NEAR(sum / 20000, 0.5, 0.01);
    const double u = uniformDraw(7, 3, 1, DrawPurpose::Value);
    EXPECT_NE(u, uniformDraw(8, 3, 1, DrawPurpose::Value));
    EXPECT_NE(u, uniformDraw(7, 4, 1, DrawPurpose::Value));
    EXPECT_NE(u, uniformDraw(7, 3, 2, DrawPurpose::Value));
    EXPECT_NE(u, uniformDraw(7, 3 + (std::uint64_t{1} << 32), 1, DrawPurpose::Value));
}

TEST(RandomDraws, PermutedIndexIsAnArrangementOfEveryCount) {
    for (std::uint64_t count : {1u, 2u, 3u, 7u, 16u, 17u, 1000u, 4097u}) {
        std::set<std::uint64_t> seen;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t position = permutedIndex(i, count, 99, 3);
            ASSERT_LT(position, count);
            seen.insert(position);
        }
        EXPECT_EQ(seen.size(), count) << "count " << count;
    }
}

TEST(Distributions, NormalQuantileMatchesKnownValuesAndInvertsTheDistributionFunction) {
    EXPECT_NEAR(standardNormalQuantile(0.975), 1.959963984540054, 1e-14);
    EXPECT_NEAR(standardNormalQuantile(0.5), 0.0, 1e-16);
    EXPECT_NEAR(standardNormalQuantile(1e-10), -6.361340902404056, 1e-12);
    EXPECT_NEAR(standardNormalQuantile(0.1), -1.2815515655446004, 1e-14);
    for (double z : {-7.5, -3.0, -1.0, -0.2, 0.3, 2.0, 5.0}) {
        EXPECT_NEAR(standardNormalQuantile(standardNormalCdf(z)), z, 1e-9 * (1 + std::abs(z)));
    }
}

/// The mean and standard deviation of a distribution from its quantiles at n strata midpoints.
std::pair<double, double> momentsOf(const Distribution& d, int n = 200000) {
    double sum = 0.0, squares = 0.0;
    for (int i = 0; i < n; ++i) {
        const double x = quantileOf(d, (i + 0.5) / n);
        sum += x;
        squares += x * x;
    }
    const double mean = sum / n;
    return {mean, std::sqrt(squares / n - mean * mean)};
}

TEST(Distributions, EachKindHasTheStatedMeanAndStandardDeviation) {
    for (DistributionKind kind :
         {DistributionKind::Normal, DistributionKind::Lognormal, DistributionKind::Uniform}) {
        const auto [mean, sd] = momentsOf({kind, 20.0, 4.0, std::nullopt, std::nullopt});
        EXPECT_NEAR(mean, 20.0, 0.01) << int(kind);
        EXPECT_NEAR(sd, 4.0, 0.01) << int(kind);
    }
    EXPECT_DOUBLE_EQ(quantileOf({DistributionKind::Uniform, 10, 1, std::nullopt, std::nullopt}, 0),
                     10 - std::sqrt(3.0));
}

TEST(Distributions, TruncatedValuesStayWithinTheirLimits) {
    const Distribution normal{DistributionKind::Normal, 30.0, 10.0, 25.0, 32.0};
    const Distribution lognormal{DistributionKind::Lognormal, 1.0, 2.0, 0.5, std::nullopt};
    const Distribution uniform{DistributionKind::Uniform, 0.0, 1.0, -1.0, std::nullopt};
    for (double u : {1e-12, 0.01, 0.5, 0.99, 1.0 - 1e-12}) {
        EXPECT_GE(quantileOf(normal, u), 25.0);
        EXPECT_LE(quantileOf(normal, u), 32.0);
        EXPECT_GE(quantileOf(lognormal, u), 0.5);
        EXPECT_GE(quantileOf(uniform, u), -1.0);
        EXPECT_LE(quantileOf(uniform, u), std::sqrt(3.0));
    }
    // Symmetric limits keep the median at the mean.
    EXPECT_NEAR(quantileOf({DistributionKind::Normal, 5, 1, 4, 6}, 0.5), 5.0, 1e-12);
}

TEST(Distributions, LimitsThatLeaveNothingToDrawAreRefused) {
    EXPECT_STREQ(distributionProblem({DistributionKind::Normal, 0, 1, 2, 1}).value_or(""),
                 "min is above max");
    EXPECT_TRUE(distributionProblem({DistributionKind::Normal, 0, 1, 40, 41}));
    EXPECT_TRUE(distributionProblem({DistributionKind::Uniform, 0, 1, 5, std::nullopt}));
    EXPECT_TRUE(distributionProblem({DistributionKind::Lognormal, 0, 1, {}, {}}));
    EXPECT_TRUE(distributionProblem({DistributionKind::Normal, 3, 0, 4, {}}));
    EXPECT_FALSE(distributionProblem({DistributionKind::Normal, 3, 0, 3, 3}));
    EXPECT_FALSE(distributionProblem({DistributionKind::Lognormal, 2, 1, -5, {}}));
}

SamplingPlan twoParameterPlan(SamplingMethod method, std::int64_t n) {
    SamplingPlan plan;
    plan.method = method;
    plan.seed = 42;
    plan.realisations = n;
    plan.distributions = {{DistributionKind::Normal, 10, 2, {}, {}},
                          {DistributionKind::Uniform, 0.5, 0.1, {}, {}}};
    return plan;
}

TEST(Sampling, LatinHypercubeMeetsEachStratumOfEachParameterOnce) {
    const SamplingPlan plan = twoParameterPlan(SamplingMethod::LatinHypercube, 500);
    std::vector<std::set<int>> strata(2);
    std::vector<double> values(2);
    for (std::int64_t i = 0; i < plan.realisations; ++i) {
        sampleRealisation(plan, i, values);
        const double u0 = standardNormalCdf((values[0] - 10) / 2);
        const double u1 = (values[1] - (0.5 - std::sqrt(3.0) * 0.1)) / (2 * std::sqrt(3.0) * 0.1);
        strata[0].insert(int(std::floor(u0 * 500)));
        strata[1].insert(int(std::floor(u1 * 500)));
    }
    EXPECT_EQ(strata[0].size(), 500u);
    EXPECT_EQ(strata[1].size(), 500u);
}

TEST(Sampling, ARealisationDependsOnlyOnTheSeedAndItsIndex) {
    for (SamplingMethod method : {SamplingMethod::MonteCarlo, SamplingMethod::LatinHypercube}) {
        const SamplingPlan plan = twoParameterPlan(method, 1000);
        std::vector<double> forwards(2), again(2);
        sampleRealisation(plan, 917, forwards);
        for (std::int64_t i = 999; i >= 0; i -= 7) sampleRealisation(plan, i, again);
        sampleRealisation(plan, 917, again);
        EXPECT_EQ(forwards, again);
        SamplingPlan other = plan;
        other.seed = 43;
        sampleRealisation(other, 917, again);
        EXPECT_NE(forwards, again);
    }
}

TEST(Sampling, CorrelatedCohesionAndFrictionHaveTheStatedCorrelation) {
    SamplingPlan plan;
    plan.realisations = 20000;
    plan.distributions = {{DistributionKind::Normal, 10, 2, {}, {}},
                          {DistributionKind::Normal, 30, 3, {}, {}}};
    plan.pairs = {{0, 1, -0.6}};
    std::vector<double> values(2);
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (std::int64_t i = 0; i < plan.realisations; ++i) {
        sampleRealisation(plan, i, values);
        sx += values[0], sy += values[1];
        sxx += values[0] * values[0], syy += values[1] * values[1], sxy += values[0] * values[1];
    }
    const double n = double(plan.realisations);
    const double r = (sxy - sx * sy / n) / std::sqrt((sxx - sx * sx / n) * (syy - sy * sy / n));
    EXPECT_NEAR(r, -0.6, 0.02);
}

TEST(Summary, WilsonIntervalMatchesHandComputedValues) {
    const ProportionInterval none = wilsonInterval(0, 100);
    EXPECT_DOUBLE_EQ(none.low, 0.0);
    EXPECT_NEAR(none.high, 0.036994, 1e-6);
    const ProportionInterval half = wilsonInterval(50, 100);
    EXPECT_NEAR(half.low, 0.403832, 1e-6);
    EXPECT_NEAR(half.high, 0.596168, 1e-6);
}

TEST(Summary, RealisationsWithoutFsAreLeftOutOfTheStatistics) {
    std::vector<RealisationFs> realisations;
    for (int i = 0; i < 100; ++i) {
        realisations.push_back(
            {i, i == 5 ? std::nullopt : std::optional<double>(0.5 + i * 0.01), std::nullopt});
    }
    const ProbabilitySummary s = summariseRealisations(realisations);
    EXPECT_EQ(s.realisations, 100);
    EXPECT_EQ(s.withFs, 99);
    EXPECT_EQ(s.failures, 49);  // 0.50 … 0.99 less the missing 0.55
    EXPECT_NEAR(s.probabilityOfFailure, 49.0 / 99.0, 1e-15);
    std::int64_t counted = 0;
    for (std::int64_t count : s.histogram.counts) counted += count;
    EXPECT_EQ(counted, 99);
    ASSERT_FALSE(s.convergence.empty());
    EXPECT_EQ(s.convergence.back().realisations, 99);
    EXPECT_EQ(s.convergence.back().probabilityOfFailure, s.probabilityOfFailure);
    EXPECT_EQ(s.convergence.front().realisations, 10);
}

// A purely cohesive slope on a fixed circle: Fs = a·c, so with c normal Fs is normal.
struct CohesiveSlope {
    Project project;
    double fsPerCohesion = 0.0;
};

CohesiveSlope cohesiveSlope() {
    test::ProjectBuilder builder;
    builder.block(20, {{10, 10, 1}}).block(40, {{10, 20, 1}}).block(80, {{20, 20, 1}});
    builder.layer(1, 18, 0, 20).singleCircle(25, 35, 27);
    CohesiveSlope slope{builder.project(), 0.0};
    const auto analysis = prepareProbabilityAnalysis(slope.project, {}, 1, {});
    slope.fsPerCohesion = analysis.value().model.deterministic.fs / 20.0;
    return slope;
}

ProbabilitySpec cohesionSpec(const CohesiveSlope& slope, double fsMean, double fsSd,
                             SamplingMethod sampling, std::int64_t n) {
    ProbabilitySpec spec;
    spec.realisations = n;
    spec.seed = 2026;
    spec.sampling = sampling;
    UncertainParameterSpec c;
    c.parameter = {VariedQuantity::Co, 1};
    c.mean = fsMean / slope.fsPerCohesion;
    c.spread = fsSd / slope.fsPerCohesion;
    spec.parameters = {c};
    return spec;
}

ProbabilitySummary runSpec(const Project& project, const ProbabilitySpec& spec, int threads = 0) {
    const auto analysis = prepareProbabilityAnalysis(project, spec, 1, {});
    EXPECT_TRUE(analysis.ok()) << (analysis.ok() ? "" : analysis.error().text);
    ProbabilityRunOptions options;
    options.threads = threads;
    const ProbabilityRun run = runRealisations(analysis.value().model, options);
    EXPECT_TRUE(run.completed);
    return summariseRealisations(run.realisations);
}

TEST(ClosedForm, CohesiveSlopeOnAFixedCircleHasAnFsLinearInCohesion) {
    const CohesiveSlope slope = cohesiveSlope();
    ASSERT_GT(slope.fsPerCohesion, 0.0);
    Project doubled = slope.project;
    doubled.layer(1).co = "40";
    const auto analysis = prepareProbabilityAnalysis(doubled, {}, 1, {});
    EXPECT_NEAR(analysis.value().model.deterministic.fs, 40 * slope.fsPerCohesion, 1e-12);
}

TEST(ClosedForm, MonteCarloFindsTheExactProbabilityWithinItsIntervalAndLatinHypercubeCloser) {
    const CohesiveSlope slope = cohesiveSlope();
    const double mean = 1.25, sd = 0.2;
    const double exactP = standardNormalCdf((1.0 - mean) / sd);  // 0.1056…
    const double exactBeta = (mean - 1.0) / sd;

    const ProbabilitySummary mc =
        runSpec(slope.project, cohesionSpec(slope, mean, sd, SamplingMethod::MonteCarlo, 4000));
    EXPECT_LE(mc.probabilityLow, exactP);
    EXPECT_GE(mc.probabilityHigh, exactP);
    EXPECT_NEAR(mc.mean, mean, 3 * sd / std::sqrt(4000.0));
    EXPECT_NEAR(*mc.betaNormal, exactBeta, 0.05);

    const ProbabilitySummary lhs =
        runSpec(slope.project, cohesionSpec(slope, mean, sd, SamplingMethod::LatinHypercube, 4000));
    EXPECT_LT(std::abs(lhs.probabilityOfFailure - exactP),
              std::abs(mc.probabilityOfFailure - exactP));
    EXPECT_LT(std::abs(lhs.mean - mean), std::abs(mc.mean - mean));
    EXPECT_NEAR(lhs.probabilityOfFailure, exactP, 0.001);
    EXPECT_NEAR(*lhs.betaNormal, exactBeta, 0.005);
}

TEST(ClosedForm, ARealisationWithoutStrengthFailsInsteadOfHavingNoFs) {
    CohesiveSlope slope = cohesiveSlope();
    ProbabilitySpec spec;
    spec.realisations = 10;
    UncertainParameterSpec c;
    c.parameter = {VariedQuantity::Co, 1};
    c.distribution = DistributionKind::Uniform;
    c.mean = 0.0;
    spec.parameters = {c};
    const ProbabilitySummary s = runSpec(slope.project, spec);
    EXPECT_EQ(s.withFs, 10);
    EXPECT_EQ(s.failures, 10);
    EXPECT_DOUBLE_EQ(s.probabilityOfFailure, 1.0);
}

std::vector<RealisationFs> runWith(const ProbabilityModel& model, int threads, Shard shard = {}) {
    ProbabilityRunOptions options;
    options.threads = threads;
    options.shard = shard;
    return runRealisations(model, options).realisations;
}

bool sameRealisations(const std::vector<RealisationFs>& a, const std::vector<RealisationFs>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].index != b[k].index || a[k].fs != b[k].fs) return false;
        if (a[k].circle.has_value() != b[k].circle.has_value()) return false;
        if (a[k].circle && (a[k].circle->rx != b[k].circle->rx ||
                            a[k].circle->ry != b[k].circle->ry || a[k].circle->r != b[k].circle->r))
            return false;
    }
    return true;
}

ProbabilityModel twoLayerModel(ProbabilityMode mode, std::int64_t n) {
    test::ProjectBuilder builder;
    builder.block(20, {{6, 6, 2}, {10, 10, 1}})
        .block(40, {{6, 6, 2}, {10, 20, 1}})
        .block(80, {{6, 6, 2}, {20, 20, 1}});
    builder.layer(1, 18, 20, 10).layer(2, 19, 0, 30).load(45, 50).kh(0.1);
    builder.search(22, 32, 28, 38, 2, 2, 12, 4, 2);
    ProbabilitySpec spec;
    spec.realisations = n;
    spec.mode = mode;
    spec.sampling = SamplingMethod::LatinHypercube;
    for (VariedParameter p : {VariedParameter{VariedQuantity::Co, 1},
                              {VariedQuantity::Phi, 1},
                              {VariedQuantity::Gamma1, 2},
                              {VariedQuantity::SeismicCoefficient, 0},
                              {VariedQuantity::LoadForce, 1}}) {
        UncertainParameterSpec u;
        u.parameter = p;
        u.spreadKind = SpreadKind::CoefficientOfVariation;
        u.spread = 0.3;
        u.min = 0.0;
        spec.parameters.push_back(u);
    }
    spec.correlations = {{1, -0.4}};
    return prepareProbabilityAnalysis(builder.project(), spec, 1, {}).value().model;
}

TEST(Realisations, AreTheSameForAnyNumberOfThreads) {
    for (ProbabilityMode mode : {ProbabilityMode::CriticalCircle, ProbabilityMode::FullSearch}) {
        const std::int64_t n = mode == ProbabilityMode::FullSearch ? 150 : 700;
        const ProbabilityModel model = twoLayerModel(mode, n);
        const auto one = runWith(model, 1);
        ASSERT_EQ(one.size(), std::size_t(n));
        EXPECT_TRUE(sameRealisations(one, runWith(model, 2)));
        EXPECT_TRUE(sameRealisations(one, runWith(model, 5)));
    }
}

TEST(Realisations, ShardsTogetherAreTheWholeRun) {
    const ProbabilityModel model = twoLayerModel(ProbabilityMode::FullSearch, 101);
    const auto whole = runWith(model, 2);
    std::vector<RealisationFs> gathered;
    for (std::int64_t i = 0; i < 4; ++i) {
        const auto part = runWith(model, 1 + int(i % 2), {i, 4});
        for (const RealisationFs& r : part) EXPECT_EQ(r.index % 4, i);
        gathered.insert(gathered.end(), part.begin(), part.end());
    }
    std::sort(gathered.begin(), gathered.end(),
              [](const RealisationFs& a, const RealisationFs& b) { return a.index < b.index; });
    EXPECT_TRUE(sameRealisations(whole, gathered));
}

TEST(Realisations, AStoppedRunKeepsOnlyWhatItFinished) {
    const ProbabilityModel model = twoLayerModel(ProbabilityMode::CriticalCircle, 1000);
    std::stop_source stop;
    stop.request_stop();
    ProbabilityRunOptions options;
    options.stop = stop.get_token();
    const ProbabilityRun run = runRealisations(model, options);
    EXPECT_FALSE(run.completed);
    EXPECT_TRUE(run.realisations.empty());
}

// Memory follows the realisations done, not those asked for: before, this run set aside some
// 13 GB for its 10^8 realisations before it looked at the stop.
TEST(Realisations, AStoppedRunOfAHundredMillionHoldsNothingForTheRealisationsNotDone) {
    const ProbabilityModel model = twoLayerModel(ProbabilityMode::CriticalCircle, 100'000'000);
    std::stop_source stop;
    stop.request_stop();
    ProbabilityRunOptions options;
    options.stop = stop.get_token();
    const ProbabilityRun run = runRealisations(model, options);
    EXPECT_FALSE(run.completed);
    EXPECT_TRUE(run.realisations.empty());
    EXPECT_EQ(run.realisations.capacity(), 0u);
}

TEST(Realisations, TheCircleModeVariesTheValuesOnTheDeterministicCriticalCircle) {
    ProbabilityModel model = twoLayerModel(ProbabilityMode::CriticalCircle, 50);
    model.plan.distributions.assign(model.plan.distributions.size(),
                                    {DistributionKind::Normal, 0, 0, {}, {}});
    model.plan.pairs.clear();
    // Every value set to its project value gives the deterministic Fs.
    const std::vector<double> projectValues = {10, 20, 19, 0.1, 50};
    for (std::size_t j = 0; j < projectValues.size(); ++j) {
        model.plan.distributions[j].mean = projectValues[j];
    }
    for (const RealisationFs& r : runWith(model, 2)) {
        EXPECT_NEAR(*r.fs, model.deterministic.fs, 1e-12);
    }
}

}  // namespace
}  // namespace dorvo
