// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/probability_inputs.h"
#include "model/result.h"

namespace dorvo {

/// NAME.prob.json beside NAME.slw: where a project's probabilistic analysis is kept.
std::filesystem::path probabilitySpecPath(const std::filesystem::path& project);

/// Reads a spec from JSON text. Refuses text that is not JSON, a field of the wrong type or
/// an unknown one, naming the field ("parameters[0].sd"); the values themselves are checked
/// against the project by resolveProbabilitySpec.
Result<ProbabilitySpec> parseProbabilitySpec(std::string_view json);

/// Reads a spec file; a failure names the file.
Result<ProbabilitySpec> readProbabilitySpec(const std::filesystem::path& file);

/// The spec as the file holds it: JSON, fields in a fixed order, defaults written out.
std::string probabilitySpecJson(const ProbabilitySpec& spec);

/// Writes a spec file through the atomic writer.
Status writeProbabilitySpec(const std::filesystem::path& file, const ProbabilitySpec& spec);

/// The names the file and the command line use.
std::string_view samplingName(SamplingMethod method);
std::string_view modeName(ProbabilityMode mode);
std::string_view distributionName(DistributionKind kind);

}  // namespace dorvo
