// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/probability_report.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "app/probability_file.h"
#include "calc/probability_summary.h"

namespace dorvo {

namespace {

using nlohmann::json;

constexpr std::string_view kPartFormat = "dorvo-probability-part";
constexpr int kPartVersion = 1;

json optionalNumber(const std::optional<double>& value) {
    return value ? json(*value) : json();
}

json circleJson(const CircleResult& c) {
    return json::array({c.rx, c.ry, c.r, c.p1x, c.p1y, c.p2x, c.p2y});
}

std::optional<CircleResult> circleFrom(const json& value) {
    if (!value.is_array() || value.size() != 7) return std::nullopt;
    for (const json& number : value) {
        if (!number.is_number()) return std::nullopt;
    }
    CircleResult c;
    c.rx = value[0].get<double>();
    c.ry = value[1].get<double>();
    c.r = value[2].get<double>();
    c.p1x = value[3].get<double>();
    c.p1y = value[4].get<double>();
    c.p2x = value[5].get<double>();
    c.p2y = value[6].get<double>();
    return c;
}

/// Everything that makes two runs the same run; shards of one run carry it unchanged.
json runDescription(const ProbabilityAnalysis& analysis, std::string_view projectName) {
    const ProbabilityModel& model = analysis.model;
    json parameters = json::array();
    for (std::size_t j = 0; j < analysis.parameters.size(); ++j) {
        const Distribution& d = model.plan.distributions[j];
        json parameter = {{"name", parameterName(analysis.parameters[j])},
                          {"distribution", distributionName(d.kind)},
                          {"mean", d.mean},
                          {"sd", d.sd}};
        if (d.lower) parameter["min"] = *d.lower;
        if (d.upper) parameter["max"] = *d.upper;
        parameters.push_back(std::move(parameter));
    }
    json correlations = json::array();
    for (const CohesionFrictionCorrelation& c : analysis.spec.correlations) {
        correlations.push_back({{"layer", c.layerNo}, {"correlation", c.correlation}});
    }
    const CircleResult& critical = model.deterministic;
    return {{"project", std::string(projectName)},
            {"realisations", model.plan.realisations},
            {"seed", model.plan.seed},
            {"sampling", samplingName(model.plan.method)},
            {"mode", modeName(model.mode)},
            {"parameters", std::move(parameters)},
            {"correlations", std::move(correlations)},
            {"deterministic", {{"fs", critical.fs}, {"circle", circleJson(critical)}}}};
}

json statisticsJson(const ProbabilitySummary& s) {
    json convergence = json::array();
    for (const ConvergencePoint& point : s.convergence) {
        convergence.push_back({{"realisations", point.realisations},
                               {"probabilityOfFailure", point.probabilityOfFailure},
                               {"betaNormal", optionalNumber(point.betaNormal)}});
    }
    return {{"realisations", s.realisations},
            {"withFs", s.withFs},
            {"failures", s.failures},
            {"meanFs", s.mean},
            {"sdFs", s.sd},
            {"minFs", s.minFs},
            {"maxFs", s.maxFs},
            {"probabilityOfFailure", s.probabilityOfFailure},
            {"confidenceInterval95", {s.probabilityLow, s.probabilityHigh}},
            {"betaNormal", optionalNumber(s.betaNormal)},
            {"betaLognormal", optionalNumber(s.betaLognormal)},
            {"convergence", std::move(convergence)},
            {"histogram",
             {{"start", s.histogram.start},
              {"width", s.histogram.width},
              {"counts", s.histogram.counts}}}};
}

std::string dumped(const json& document) {
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

/// The one routine that writes a result document, for a run and for a merge alike.
std::string resultDocument(const json& description, std::span<const RealisationFs> realisations,
                           double seconds) {
    json statistics = statisticsJson(summariseRealisations(realisations));
    json failing = json::array();
    for (const RealisationFs& r : realisations) {
        if (r.fs && *r.fs < 1.0 && r.circle) {
            failing.push_back({{"i", r.index}, {"fs", *r.fs}, {"circle", circleJson(*r.circle)}});
        }
    }
    statistics["failingCircles"] = std::move(failing);
    return dumped({{"run", description},
                   {"results", std::move(statistics)},
                   {"timing", {{"seconds", seconds}}}});
}

std::string pageTitle(std::string_view projectName, std::int64_t realisations,
                      std::string_view sampling, std::uint64_t seed, std::string_view mode) {
    return std::string(projectName) + ": " + std::to_string(realisations) + " realisations (" +
           std::string(sampling) + ", seed " + std::to_string(seed) + "), mode " +
           std::string(mode);
}

Failure partProblem(const std::string& name, const std::string& why) {
    return Failure{literalMessage(name + ": " + why)};
}

}  // namespace

std::string probabilityResultJson(const ProbabilityAnalysis& analysis, std::string_view projectName,
                                  const ProbabilityRun& run, double seconds) {
    return resultDocument(runDescription(analysis, projectName), run.realisations, seconds);
}

std::string partialResultJson(const ProbabilityAnalysis& analysis, std::string_view projectName,
                              const Shard& shard, const ProbabilityRun& run, double seconds) {
    json realisations = json::array();
    for (const RealisationFs& r : run.realisations) {
        json entry = {{"i", r.index}, {"fs", optionalNumber(r.fs)}};
        if (r.circle) entry["circle"] = circleJson(*r.circle);
        realisations.push_back(std::move(entry));
    }
    return dumped({{"format", kPartFormat},
                   {"version", kPartVersion},
                   {"run", runDescription(analysis, projectName)},
                   {"shard", {shard.index, shard.count}},
                   {"realisations", std::move(realisations)},
                   {"timing", {{"seconds", seconds}}}});
}

ProbabilityPageData probabilityPageData(const ProbabilityAnalysis& analysis,
                                        std::string_view projectName,
                                        const ProbabilitySummary& summary) {
    const ProbabilityModel& model = analysis.model;
    return {pageTitle(projectName, model.plan.realisations, samplingName(model.plan.method),
                      model.plan.seed, modeName(model.mode)),
            summary, model.deterministic.fs};
}

std::vector<CriticalCircle> failingCircles(std::span<const RealisationFs> realisations) {
    std::vector<CriticalCircle> circles;
    for (const RealisationFs& r : realisations) {
        if (!r.fs || *r.fs >= 1.0 || !r.circle) continue;
        const CircleResult& c = *r.circle;
        circles.push_back({c.rx, c.ry, c.r, c.p1x, c.p1y, c.p2x, c.p2y});
    }
    return circles;
}

Result<MergedParts> mergePartialResults(const std::vector<PartText>& parts) {
    if (parts.empty()) return Failure{literalMessage("no parts to merge")};
    json description;
    std::vector<std::optional<RealisationFs>> gathered;
    double seconds = 0.0;
    for (const PartText& part : parts) {
        const json document = json::parse(part.text, nullptr, false);
        if (document.is_discarded() || !document.is_object() ||
            document.value("format", "") != kPartFormat) {
            return partProblem(part.name, "not a part of a probability run");
        }
        if (document.value("version", 0) != kPartVersion || !document.contains("run") ||
            !document.contains("realisations") || !document["realisations"].is_array()) {
            return partProblem(part.name, "a part of another version");
        }
        if (description.is_null()) {
            description = document["run"];
            const json& count = description["realisations"];
            if (!count.is_number_unsigned() || count.get<std::uint64_t>() > kMostRealisations) {
                return partProblem(part.name, "run.realisations is not a usable count");
            }
            gathered.resize(count.get<std::size_t>());
        } else if (document["run"] != description) {
            return partProblem(part.name, "a part of another run than " + parts.front().name);
        }
        if (document.contains("timing") && document["timing"].value("seconds", 0.0) > 0.0) {
            seconds += document["timing"]["seconds"].get<double>();
        }
        for (const json& entry : document["realisations"]) {
            const json* index = entry.is_object() && entry.contains("i") ? &entry["i"] : nullptr;
            if (index == nullptr || !index->is_number_unsigned() ||
                index->get<std::uint64_t>() >= gathered.size() || !entry.contains("fs") ||
                !(entry["fs"].is_number() || entry["fs"].is_null())) {
                return partProblem(part.name, "a realisation without a usable index or Fs");
            }
            RealisationFs r;
            r.index = index->get<std::int64_t>();
            if (entry["fs"].is_number()) r.fs = entry["fs"].get<double>();
            if (entry.contains("circle")) {
                r.circle = circleFrom(entry["circle"]);
                if (!r.circle) return partProblem(part.name, "a realisation's circle is unusable");
                r.circle->fs = r.fs.value_or(kNoSolutionFs);
            }
            auto& slot = gathered[static_cast<std::size_t>(r.index)];
            if (slot && (slot->fs != r.fs || slot->circle.has_value() != r.circle.has_value())) {
                return partProblem(part.name, "realisation " + std::to_string(r.index) +
                                                  " differs from another part's");
            }
            slot = r;
        }
    }
    MergedParts merged;
    std::size_t missing = 0;
    std::optional<std::size_t> firstMissing;
    for (std::size_t i = 0; i < gathered.size(); ++i) {
        if (gathered[i]) {
            merged.realisations.push_back(*gathered[i]);
        } else {
            ++missing;
            if (!firstMissing) firstMissing = i;
        }
    }
    if (missing > 0) {
        return Failure{literalMessage(
            std::to_string(missing) + " of " + std::to_string(gathered.size()) +
            " realisations are in no part (the first: " + std::to_string(*firstMissing) + ")")};
    }
    const json& deterministic = description["deterministic"];
    merged.page = {
        pageTitle(description.value("project", ""),
                  description.value("realisations", std::int64_t{0}),
                  description.value("sampling", ""), description.value("seed", std::uint64_t{0}),
                  description.value("mode", "")),
        summariseRealisations(merged.realisations),
        deterministic.is_object() ? deterministic.value("fs", 0.0) : 0.0};
    merged.resultJson = resultDocument(description, merged.realisations, seconds);
    return merged;
}

}  // namespace dorvo
