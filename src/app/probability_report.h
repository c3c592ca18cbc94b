// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/probability_analysis.h"
#include "calc/probability_run.h"
#include "calc/probability_summary.h"
#include "model/result.h"
#include "render/probability_page.h"

namespace dorvo {

// The JSON documents of a probabilistic run. The result of a run and the merge of its parts
// are written by one routine from the same numbers, so they are the same bytes but for
// "timing".

/// The result document: the run's description, the statistics and (for the search mode) the
/// critical circles of the failing realisations.
std::string probabilityResultJson(const ProbabilityAnalysis& analysis, std::string_view projectName,
                                  const ProbabilityRun& run, double seconds);

/// A part of a run split into shards: the run's description, the shard and the Fs (and the
/// critical circle in the search mode) of each realisation with its index.
std::string partialResultJson(const ProbabilityAnalysis& analysis, std::string_view projectName,
                              const Shard& shard, const ProbabilityRun& run, double seconds);

/// The page of a run's histogram and cumulative curve.
ProbabilityPageData probabilityPageData(const ProbabilityAnalysis& analysis,
                                        std::string_view projectName,
                                        const ProbabilitySummary& summary);

/// The critical circles of the failing realisations (those of the search mode), to draw over
/// the section.
std::vector<CriticalCircle> failingCircles(std::span<const RealisationFs> realisations);

/// What a merge gathered: the result document, the realisations it summarised and its page.
struct MergedParts {
    std::string resultJson;
    std::vector<RealisationFs> realisations;
    ProbabilityPageData page;
};

/// A named part as read from its file.
struct PartText {
    std::string name;
    std::string text;
};

/// Combines parts of one run into the result document of the whole run. Refuses, naming the
/// part, one that is not a part, one of another run, two parts that disagree on a
/// realisation, and a set that leaves realisations out (with how many and the first).
Result<MergedParts> mergePartialResults(const std::vector<PartText>& parts);

}  // namespace dorvo
