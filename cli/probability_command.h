// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <stop_token>
#include <string>
#include <vector>

#include "model/messages.h"

namespace dorvo::cli {

/// The options of `probability` as typed; each is checked by runProbability.
struct ProbabilityRequest {
    std::filesystem::path project;
    std::optional<std::filesystem::path> spec;  // default: NAME.prob.json beside the project
    std::optional<std::string> realisations;
    std::optional<std::string> seed;
    std::optional<std::string> mode;      // circle or search
    std::optional<std::string> sampling;  // monte-carlo or latin-hypercube
    std::optional<std::string> shard;     // I/K
    std::optional<std::string> threads;
    std::string output;   // the JSON document goes here instead of standard output
    std::string plot;     // the histogram and cumulative curve: .pdf, .png or .svg
    std::string circles;  // the section with the failing realisations' circles
    bool json = false;
    bool showProgress = false;
    std::stop_token stop;
};

/// Runs a probabilistic analysis of a project, or one shard of it; returns the exit status:
/// 0 done, 1 a file could not be read or written, 2 the input was refused. A shard writes its
/// part (JSON) whatever `json` says. A stop request ends the run and writes nothing.
int runProbability(const ProbabilityRequest& request, std::ostream& out, MessageSink& messages);

struct ProbabilityMergeRequest {
    std::vector<std::filesystem::path> parts;
    std::string output;
    std::string plot;
    std::string circles;
    std::filesystem::path project;  // the project the parts come from, for `circles`
    bool json = false;
};

/// Merges the parts of a run split into shards into the result of the whole run.
int runProbabilityMerge(const ProbabilityMergeRequest& request, std::ostream& out,
                        MessageSink& messages);

}  // namespace dorvo::cli
