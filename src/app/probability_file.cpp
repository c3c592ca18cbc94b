// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/probability_file.h"

#include <array>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/line_io.h"

namespace dorvo {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr std::string_view kFormat = "dorvo-probability";
constexpr int kVersion = 1;
constexpr std::uintmax_t kLargestSpecFile = 16 * 1024 * 1024;

/// A refusal that names the field; thrown inside the reader only, caught at its door.
struct FieldProblem {
    std::string where;
    std::string why;
};

[[noreturn]] void refuse(std::string where, std::string why) {
    throw FieldProblem{std::move(where), std::move(why)};
}

template <class T>
struct Named {
    std::string_view name;
    T value;
};

constexpr std::array<Named<SamplingMethod>, 2> kSamplings{{
    {"monte-carlo", SamplingMethod::MonteCarlo},
    {"latin-hypercube", SamplingMethod::LatinHypercube},
}};
constexpr std::array<Named<ProbabilityMode>, 2> kModes{{
    {"circle", ProbabilityMode::CriticalCircle},
    {"search", ProbabilityMode::FullSearch},
}};
constexpr std::array<Named<DistributionKind>, 3> kDistributions{{
    {"normal", DistributionKind::Normal},
    {"lognormal", DistributionKind::Lognormal},
    {"uniform", DistributionKind::Uniform},
}};
constexpr std::array<Named<VariedQuantity>, 7> kQuantities{{
    {"gamma1", VariedQuantity::Gamma1},
    {"gamma2", VariedQuantity::Gamma2},
    {"phi", VariedQuantity::Phi},
    {"co", VariedQuantity::Co},
    {"k", VariedQuantity::K},
    {"kh", VariedQuantity::SeismicCoefficient},
    {"force", VariedQuantity::LoadForce},
}};

template <class T, std::size_t N>
std::string_view nameOf(const std::array<Named<T>, N>& names, T value) {
    for (const auto& named : names) {
        if (named.value == value) return named.name;
    }
    return {};
}

template <class T, std::size_t N>
std::string choices(const std::array<Named<T>, N>& names) {
    std::string text;
    for (const auto& named : names) {
        text += text.empty() ? "" : ", ";
        text += named.name;
    }
    return text;
}

template <class T, std::size_t N>
T named(const json& value, const std::string& where, const std::array<Named<T>, N>& names) {
    if (value.is_string()) {
        for (const auto& entry : names) {
            if (entry.name == value.get<std::string>()) return entry.value;
        }
    }
    refuse(where, "takes one of " + choices(names));
}

double number(const json& value, const std::string& where) {
    if (!value.is_number()) refuse(where, "takes a number");
    return value.get<double>();
}

std::int64_t wholeNumber(const json& value, const std::string& where) {
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= std::uint64_t(INT64_MAX)) {
        return static_cast<std::int64_t>(value.get<std::uint64_t>());
    }
    if (value.is_number_integer()) return value.get<std::int64_t>();
    refuse(where, "takes a whole number");
}

void onlyKnownFields(const json& object, const std::string& where,
                     std::initializer_list<std::string_view> known) {
    if (!object.is_object()) {
        if (where.empty()) refuse("the file", "must hold one JSON object {…}");
        refuse(where, "takes an object {…}");
    }
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end()) {
            refuse(where.empty() ? key : where + "." + key, "is not a field of this file");
        }
    }
}

UncertainParameterSpec readParameter(const json& object, const std::string& where) {
    onlyKnownFields(
        object, where,
        {"layer", "load", "property", "distribution", "mean", "sd", "cov", "min", "max"});
    UncertainParameterSpec spec;
    if (!object.contains("property")) refuse(where + ".property", "is missing");
    spec.parameter.quantity = named(object["property"], where + ".property", kQuantities);
    const VariedQuantity quantity = spec.parameter.quantity;
    const bool ofLoad = quantity == VariedQuantity::LoadForce;
    const bool ofLayer = !ofLoad && quantity != VariedQuantity::SeismicCoefficient;
    for (const char* owner : {"layer", "load"}) {
        const bool wanted = std::string_view(owner) == "layer" ? ofLayer : ofLoad;
        if (object.contains(owner) && !wanted) {
            refuse(where + "." + owner, "does not go with property \"" +
                                            std::string(nameOf(kQuantities, quantity)) + "\"");
        }
        if (!wanted) continue;
        if (!object.contains(owner)) refuse(where + "." + owner, "is missing");
        const std::int64_t number = wholeNumber(object[owner], where + "." + owner);
        if (number < 0 || number > 1'000'000) refuse(where + "." + owner, "is out of range");
        spec.parameter.number = static_cast<int>(number);
    }
    if (object.contains("distribution")) {
        spec.distribution = named(object["distribution"], where + ".distribution", kDistributions);
    }
    if (object.contains("mean")) spec.mean = number(object["mean"], where + ".mean");
    const bool sd = object.contains("sd");
    const bool cov = object.contains("cov");
    if (sd == cov) refuse(where, "takes exactly one of sd and cov");
    spec.spreadKind = sd ? SpreadKind::StandardDeviation : SpreadKind::CoefficientOfVariation;
    spec.spread = number(object[sd ? "sd" : "cov"], where + (sd ? ".sd" : ".cov"));
    if (object.contains("min")) spec.min = number(object["min"], where + ".min");
    if (object.contains("max")) spec.max = number(object["max"], where + ".max");
    return spec;
}

ProbabilitySpec readSpec(const json& document) {
    onlyKnownFields(document, "",
                    {"format", "version", "realisations", "seed", "sampling", "mode", "parameters",
                     "correlations"});
    if (!document.contains("format") || document["format"] != kFormat) {
        refuse("format", "must be \"" + std::string(kFormat) + "\"");
    }
    if (!document.contains("version") || document["version"] != kVersion) {
        refuse("version", "must be " + std::to_string(kVersion));
    }
    ProbabilitySpec spec;
    if (document.contains("realisations")) {
        spec.realisations = wholeNumber(document["realisations"], "realisations");
    }
    if (document.contains("seed")) {
        if (!document["seed"].is_number_unsigned()) {
            refuse("seed", "takes a whole number from 0 to 18446744073709551615");
        }
        spec.seed = document["seed"].get<std::uint64_t>();
    }
    if (document.contains("sampling")) {
        spec.sampling = named(document["sampling"], "sampling", kSamplings);
    }
    if (document.contains("mode")) spec.mode = named(document["mode"], "mode", kModes);
    if (document.contains("parameters")) {
        const json& list = document["parameters"];
        if (!list.is_array()) refuse("parameters", "takes a list […]");
        for (std::size_t j = 0; j < list.size(); ++j) {
            spec.parameters.push_back(
                readParameter(list[j], "parameters[" + std::to_string(j) + "]"));
        }
    }
    if (document.contains("correlations")) {
        const json& list = document["correlations"];
        if (!list.is_array()) refuse("correlations", "takes a list […]");
        for (std::size_t k = 0; k < list.size(); ++k) {
            const std::string where = "correlations[" + std::to_string(k) + "]";
            onlyKnownFields(list[k], where, {"layer", "correlation"});
            for (const char* required : {"layer", "correlation"}) {
                if (!list[k].contains(required)) refuse(where + "." + required, "is missing");
            }
            const std::int64_t layer = wholeNumber(list[k]["layer"], where + ".layer");
            if (layer < 0 || layer > 1'000'000) refuse(where + ".layer", "is out of range");
            spec.correlations.push_back(
                {static_cast<int>(layer), number(list[k]["correlation"], where + ".correlation")});
        }
    }
    return spec;
}

ordered_json parameterJson(const UncertainParameterSpec& spec) {
    ordered_json object;
    const VariedQuantity quantity = spec.parameter.quantity;
    if (quantity == VariedQuantity::LoadForce) {
        object["load"] = spec.parameter.number;
    } else if (quantity != VariedQuantity::SeismicCoefficient) {
        object["layer"] = spec.parameter.number;
    }
    object["property"] = nameOf(kQuantities, quantity);
    object["distribution"] = distributionName(spec.distribution);
    if (spec.mean) object["mean"] = *spec.mean;
    object[spec.spreadKind == SpreadKind::StandardDeviation ? "sd" : "cov"] = spec.spread;
    if (spec.min) object["min"] = *spec.min;
    if (spec.max) object["max"] = *spec.max;
    return object;
}

}  // namespace

std::filesystem::path probabilitySpecPath(const std::filesystem::path& project) {
    std::filesystem::path path = project;
    path.replace_extension(".prob.json");
    return path;
}

std::string_view samplingName(SamplingMethod method) {
    return nameOf(kSamplings, method);
}
std::string_view modeName(ProbabilityMode mode) {
    return nameOf(kModes, mode);
}
std::string_view distributionName(DistributionKind kind) {
    return nameOf(kDistributions, kind);
}

Result<ProbabilitySpec> parseProbabilitySpec(std::string_view text) {
    json document;
    try {
        document = json::parse(text);
    } catch (const json::parse_error& error) {
        return Failure{literalMessage(std::string("not JSON: ") + error.what())};
    }
    try {
        return readSpec(document);
    } catch (const FieldProblem& problem) {
        return Failure{literalMessage(problem.where + ": " + problem.why)};
    }
}

Result<ProbabilitySpec> readProbabilitySpec(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error) return Failure{makeMessage(MessageId::FileNotFound, file.string())};
    if (size > kLargestSpecFile) {
        return Failure{literalMessage(file.string() + ": larger than a probability file can be")};
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) return Failure{makeMessage(MessageId::FileNotFound, file.string())};
    Result<ProbabilitySpec> spec = parseProbabilitySpec(text.str());
    if (!spec) return Failure{literalMessage(file.string() + ": " + spec.error().text)};
    return spec;
}

std::string probabilitySpecJson(const ProbabilitySpec& spec) {
    ordered_json document;
    document["format"] = kFormat;
    document["version"] = kVersion;
    document["realisations"] = spec.realisations;
    document["seed"] = spec.seed;
    document["sampling"] = samplingName(spec.sampling);
    document["mode"] = modeName(spec.mode);
    document["parameters"] = ordered_json::array();
    for (const UncertainParameterSpec& parameter : spec.parameters) {
        document["parameters"].push_back(parameterJson(parameter));
    }
    document["correlations"] = ordered_json::array();
    for (const CohesionFrictionCorrelation& correlation : spec.correlations) {
        document["correlations"].push_back(
            {{"layer", correlation.layerNo}, {"correlation", correlation.correlation}});
    }
    return document.dump(2) + "\n";
}

Status writeProbabilitySpec(const std::filesystem::path& file, const ProbabilitySpec& spec) {
    const std::string text = probabilitySpecJson(spec);
    return writeFileAtomically(file, [&](std::ostream& out) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(out);
    });
}

}  // namespace dorvo
