// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

#include "calc/circle_evaluation.h"
#include "calc/circle_search.h"
#include "calc/realisation_sampling.h"
#include "calc/section.h"
#include "calc/varied_section.h"

namespace dorvo {

enum class ProbabilityMode {
    CriticalCircle,  // each realisation on the deterministic critical circle: fast
    FullSearch,      // each realisation searches the whole grid: its critical circle may move
};

/// Everything the realisations read, checked and converted once.
struct ProbabilityModel {
    Section section;                 // the project's own values
    std::vector<SectionSlot> slots;  // where each of the plan's parameters goes
    SamplingPlan plan;
    ProbabilityMode mode = ProbabilityMode::CriticalCircle;
    CircleResult deterministic;               // the critical circle of the project's own values
    std::optional<ValidCircleSearch> search;  // for FullSearch
};

/// The factor of safety of one realisation; for FullSearch also its critical circle.
struct RealisationFs {
    std::int64_t index = 0;
    std::optional<double> fs;  // nothing: no driving moment, or no circle had a result
    std::optional<CircleResult> circle;
};

/// Which realisations a run computes: those whose index ≡ `index` (mod `count`).
struct Shard {
    std::int64_t index = 0;
    std::int64_t count = 1;
};

/// Receives how many of the run's realisations are done, from the calling thread.
class RealisationProgress {
  public:
    virtual ~RealisationProgress() = default;
    virtual void report(std::int64_t done, std::int64_t total) = 0;
};

struct ProbabilityRunOptions {
    Shard shard;
    int threads = 0;  // 0: one per core
    std::stop_token stop;
    RealisationProgress* progress = nullptr;
};

struct ProbabilityRun {
    std::vector<RealisationFs> realisations;  // those computed, by index
    bool completed = false;                   // false: stopped, with what was done
};

/// The critical circle of a whole search, without its records; nothing when no circle has a
/// factor of safety or the search was stopped.
std::optional<CircleResult> searchCriticalCircle(const Section& section,
                                                 const ValidCircleSearch& search, int threads,
                                                 const std::stop_token& stop);

/// The factor of safety of one realisation whose values have been set in `section`.
RealisationFs evaluateRealisation(const ProbabilityModel& model, const Section& section,
                                  std::int64_t index, EvaluationScratch& scratch,
                                  const std::stop_token& stop);

/// Computes the realisations of a shard on threads. Each depends on its index alone, so
/// the numbers are the same for any number of threads and any split into shards. A stop
/// request ends the run soon, keeping the realisations finished by then.
ProbabilityRun runRealisations(const ProbabilityModel& model, const ProbabilityRunOptions& options);

}  // namespace dorvo
