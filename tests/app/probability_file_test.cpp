// SPDX-License-Identifier: GPL-3.0-or-later
// The side file of the probabilistic analysis, its checks against the project, and the merge of
// the parts of a run split into shards.
#include <gtest/gtest.h>

#include <regex>

#include "app/probability_file.h"
#include "app/probability_report.h"
#include "support/project_builder.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

std::string refusal(std::string_view json) {
    const Result<ProbabilitySpec> spec = parseProbabilitySpec(json);
    return spec.ok() ? "accepted" : spec.error().text;
}

std::string withParameter(std::string_view parameter) {
    return R"({"format": "dorvo-probability", "version": 1, "parameters": [)" +
           std::string(parameter) + "]}";
}

TEST(ProbabilityFile, ReadsEveryFieldAndWritesThemBack) {
    const auto spec = parseProbabilitySpec(R"({
      "format": "dorvo-probability", "version": 1, "realisations": 5000,
      "seed": 18446744073709551615, "sampling": "latin-hypercube", "mode": "search",
      "parameters": [
        {"layer": 2, "property": "co", "distribution": "lognormal", "mean": 15, "cov": 0.3},
        {"layer": 2, "property": "phi", "sd": 2.5, "min": 20, "max": 40},
        {"property": "kh", "distribution": "uniform", "sd": 0.02},
        {"load": 1, "property": "force", "cov": 0.1}],
      "correlations": [{"layer": 2, "correlation": -0.5}]})");
    ASSERT_TRUE(spec.ok()) << spec.error().text;
    EXPECT_EQ(spec->realisations, 5000);
    EXPECT_EQ(spec->seed, 18446744073709551615u);
    EXPECT_EQ(spec->sampling, SamplingMethod::LatinHypercube);
    EXPECT_EQ(spec->mode, ProbabilityMode::FullSearch);
    ASSERT_EQ(spec->parameters.size(), 4u);
    const UncertainParameterSpec& co = spec->parameters[0];
    EXPECT_EQ(co.parameter, (VariedParameter{VariedQuantity::Co, 2}));
    EXPECT_EQ(co.distribution, DistributionKind::Lognormal);
    EXPECT_EQ(co.spreadKind, SpreadKind::CoefficientOfVariation);
    EXPECT_EQ(spec->parameters[1].distribution, DistributionKind::Normal);
    EXPECT_FALSE(spec->parameters[1].mean);
    EXPECT_EQ(spec->parameters[1].max, 40.0);
    EXPECT_EQ(spec->parameters[2].parameter.quantity, VariedQuantity::SeismicCoefficient);
    EXPECT_EQ(spec->parameters[3].parameter, (VariedParameter{VariedQuantity::LoadForce, 1}));
    EXPECT_EQ(spec->correlations, (std::vector<CohesionFrictionCorrelation>{{2, -0.5}}));

    test::TempFolder folder;
    const auto file = folder.path() / "slope.prob.json";
    ASSERT_TRUE(writeProbabilitySpec(file, *spec).ok());
    const auto again = readProbabilitySpec(file);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(*again, *spec);
}

TEST(ProbabilityFile, SitsBesideTheProjectUnderItsName) {
    EXPECT_EQ(probabilitySpecPath("/data/embankment.slw"), "/data/embankment.prob.json");
}

TEST(ProbabilityFile, RefusalsNameTheField) {
    EXPECT_EQ(refusal(withParameter(R"({"layer": 1, "property": "co", "sd": "3"})")),
              "parameters[0].sd: takes a number");
    EXPECT_EQ(refusal(withParameter(R"({"layer": 1, "property": "co", "sd": 3, "mena": 2})")),
              "parameters[0].mena: is not a field of this file");
    EXPECT_EQ(refusal(withParameter(R"({"layer": 1, "property": "co", "sd": 3, "cov": 2})")),
              "parameters[0]: takes exactly one of sd and cov");
    EXPECT_EQ(refusal(withParameter(R"({"layer": 1, "property": "c", "sd": 3})")),
              "parameters[0].property: takes one of gamma1, gamma2, phi, co, k, kh, force");
    EXPECT_EQ(refusal(withParameter(R"({"property": "co", "sd": 3})")),
              "parameters[0].layer: is missing");
    EXPECT_EQ(refusal(withParameter(R"({"layer": 1, "property": "kh", "sd": 3})")),
              "parameters[0].layer: does not go with property \"kh\"");
    EXPECT_EQ(refusal(withParameter(R"({"layer": 1.5, "property": "co", "sd": 3})")),
              "parameters[0].layer: takes a whole number");
    EXPECT_EQ(refusal(R"({"format": "dorvo-probability", "version": 1, "seed": -1})"),
              "seed: takes a whole number from 0 to 18446744073709551615");
    EXPECT_EQ(refusal(R"({"format": "dorvo-probability", "version": 1, "mode": "fast"})"),
              "mode: takes one of circle, search");
    EXPECT_EQ(refusal(R"({"format": "other", "version": 1})"),
              "format: must be \"dorvo-probability\"");
    EXPECT_EQ(refusal("[1, 2]"), "the file: must hold one JSON object {…}");
    EXPECT_EQ(refusal(R"({"realisations": 1)").rfind("not JSON: ", 0), 0u);
}

TEST(ProbabilityFile, AMissingFileIsNamed) {
    const auto spec = readProbabilitySpec("/nonexistent/x.prob.json");
    ASSERT_FALSE(spec.ok());
    EXPECT_NE(spec.error().text.find("/nonexistent/x.prob.json"), std::string::npos);
}

Project twoLayerProject() {
    test::ProjectBuilder builder;
    builder.block(20, {{6, 6, 2}, {10, 10, 1}})
        .block(40, {{6, 6, 2}, {10, 20, 1}})
        .block(80, {{6, 6, 2}, {20, 20, 1}});
    builder.layer(1, 18, 20, 10).layer(2, 19, 0, 30).load(45, 50);
    builder.search(22, 32, 28, 38, 2, 2, 12, 4, 2);
    return builder.project();
}

std::string resolveRefusal(const ProbabilitySpec& spec) {
    const auto resolved = resolveProbabilitySpec(spec, twoLayerProject());
    return resolved.ok() ? "accepted" : resolved.error().text;
}

UncertainParameterSpec uncertain(VariedQuantity quantity, int number, double sd = 1.0) {
    UncertainParameterSpec spec;
    spec.parameter = {quantity, number};
    spec.spread = sd;
    return spec;
}

TEST(ProbabilitySpecCheck, RefusesWhatTheProjectDoesNotHaveNamingTheField) {
    ProbabilitySpec spec;
    spec.parameters = {uncertain(VariedQuantity::Co, 1), uncertain(VariedQuantity::Phi, 3)};
    EXPECT_EQ(resolveRefusal(spec), "parameters[1].layer: the project has no layer No. 3");
    spec.parameters = {uncertain(VariedQuantity::LoadForce, 2)};
    EXPECT_EQ(resolveRefusal(spec), "parameters[0].load: the project has no load in slot 2");
    spec.parameters = {uncertain(VariedQuantity::Co, 1), uncertain(VariedQuantity::Co, 1)};
    EXPECT_EQ(resolveRefusal(spec), "parameters[1].property: layer 1 co is listed twice");
    spec.parameters = {uncertain(VariedQuantity::Co, 1, -1.0)};
    EXPECT_EQ(resolveRefusal(spec), "parameters[0].sd: takes a number of 0 or more");
    spec.parameters = {uncertain(VariedQuantity::Co, 1)};
    spec.parameters[0].min = 100.0;
    EXPECT_EQ(resolveRefusal(spec),
              "parameters[0].distribution: min and max leave no value to draw");
    spec.parameters = {uncertain(VariedQuantity::Co, 1)};
    spec.correlations = {{1, 0.5}};
    EXPECT_EQ(resolveRefusal(spec),
              "correlations[0].layer: co and phi of layer 1 must both be uncertain parameters");
    spec.parameters.push_back(uncertain(VariedQuantity::Phi, 1));
    spec.correlations = {{1, 1.5}};
    EXPECT_EQ(resolveRefusal(spec), "correlations[0].correlation: takes a number from -1 to 1");
    spec.correlations = {{1, -1.0}};
    spec.realisations = 0;
    EXPECT_EQ(resolveRefusal(spec), "realisations: takes a whole number from 1 to 100000000");
    spec.realisations = 10;
    EXPECT_EQ(resolveRefusal(spec), "accepted");
}

TEST(ProbabilitySpecCheck, AMissingMeanIsTheProjectsValueAndACoefficientScalesIt) {
    UncertainParameterSpec spec = uncertain(VariedQuantity::Phi, 1, 0.1);
    spec.spreadKind = SpreadKind::CoefficientOfVariation;
    const Distribution d = resolvedDistribution(spec, twoLayerProject());
    EXPECT_EQ(d.mean, 20.0);
    EXPECT_DOUBLE_EQ(d.sd, 2.0);
}

/// The result document with its timing taken out.
std::string withoutTiming(const std::string& json) {
    return std::regex_replace(json, std::regex(R"("timing": \{[^}]*\})"), "");
}

struct ShardedRun {
    ProbabilityAnalysis analysis;
    std::string whole;
    std::vector<PartText> parts;
};

ShardedRun shardedRun(ProbabilityMode mode, std::int64_t shards) {
    ProbabilitySpec spec;
    spec.realisations = 60;
    spec.mode = mode;
    spec.parameters = {uncertain(VariedQuantity::Co, 1, 4.0),
                       uncertain(VariedQuantity::Phi, 1, 5.0)};
    ShardedRun run{prepareProbabilityAnalysis(twoLayerProject(), spec, 1, {}).value(), {}, {}};
    run.whole = probabilityResultJson(run.analysis, "slope.slw",
                                      runRealisations(run.analysis.model, {}), 1.5);
    for (std::int64_t i = 0; i < shards; ++i) {
        ProbabilityRunOptions options;
        options.shard = {i, shards};
        run.parts.push_back(
            {"part" + std::to_string(i),
             partialResultJson(run.analysis, "slope.slw", options.shard,
                               runRealisations(run.analysis.model, options), 0.25)});
    }
    return run;
}

TEST(ProbabilityMerge, PartsMergeIntoTheWholeRunsDocumentByteForByteButTiming) {
    for (ProbabilityMode mode : {ProbabilityMode::CriticalCircle, ProbabilityMode::FullSearch}) {
        const ShardedRun run = shardedRun(mode, 3);
        auto merged = mergePartialResults(run.parts);
        ASSERT_TRUE(merged.ok()) << merged.error().text;
        EXPECT_EQ(withoutTiming(merged->resultJson), withoutTiming(run.whole));
        EXPECT_NE(merged->resultJson.find(R"("seconds": 0.75)"), std::string::npos);
        EXPECT_EQ(merged->realisations.size(), 60u);
    }
}

TEST(ProbabilityMerge, OverlappingPartsMergeAndAGapIsRefusedWithItsSize) {
    ShardedRun run = shardedRun(ProbabilityMode::CriticalCircle, 3);
    std::vector<PartText> overlapping = run.parts;
    overlapping.push_back(run.parts[1]);
    EXPECT_TRUE(mergePartialResults(overlapping).ok());
    run.parts.erase(run.parts.begin() + 1);
    const auto merged = mergePartialResults(run.parts);
    ASSERT_FALSE(merged.ok());
    EXPECT_EQ(merged.error().text, "20 of 60 realisations are in no part (the first: 1)");
}

TEST(ProbabilityMerge, PartsOfAnotherRunOrNoPartAtAllAreRefusedByName) {
    ShardedRun run = shardedRun(ProbabilityMode::CriticalCircle, 2);
    ShardedRun other = shardedRun(ProbabilityMode::CriticalCircle, 2);
    other.parts[1].text =
        std::regex_replace(other.parts[1].text, std::regex(R"("seed": 1)"), R"("seed": 2)");
    other.parts[1].name = "other";
    auto merged = mergePartialResults({run.parts[0], other.parts[1]});
    ASSERT_FALSE(merged.ok());
    EXPECT_EQ(merged.error().text, "other: a part of another run than part0");
    merged = mergePartialResults({run.parts[0], {"result.json", run.whole}});
    ASSERT_FALSE(merged.ok());
    EXPECT_EQ(merged.error().text, "result.json: not a part of a probability run");
    PartText tampered = run.parts[0];
    tampered.text = std::regex_replace(tampered.text, std::regex(R"("fs": [0-9.]+(,\s*"i": 0\b))"),
                                       R"("fs": 0.5$1)");
    tampered.name = "tampered";
    merged = mergePartialResults({run.parts[0], run.parts[1], tampered});
    ASSERT_FALSE(merged.ok());
    EXPECT_NE(merged.error().text.find("differs from another part's"), std::string::npos);
}

}  // namespace
}  // namespace dorvo
