// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "calc/best_circle.h"
#include "calc/circle_evaluation.h"
#include "calc/search_tasks.h"
#include "calc/section.h"

namespace dorvo {

/// The last layer number without a layer row met (a plain pair: GCC's -O3 flow analysis
/// misreads std::optional here).
struct MissingLayerMemory {
    bool any = false;
    int layerNo = 0;
};

/// The records and minimum of a task.
struct TaskResult {
    SearchTask task;
    std::string records;
    BestCircle best;
    MissingLayerMemory lastMissingLayer;
    std::int64_t radiiTried = 0;
    std::int64_t evaluated = 0;
    std::int64_t written = 0;
    double lastRx = 0.0;
    double lastRy = 0.0;
    double lastR = 0.0;
    bool complete = false;
    // A run of radii leaves its first written circle to the writer, which alone knows whether
    // an earlier run of the centre wrote one: a 038 record then, else the centre's 028. It
    // belongs at this offset of `records`.
    bool deferredCircle = false;
    std::size_t deferredAt = 0;
    CircleResult deferred;

    /// Empties the result for another task, keeping the memory of its records.
    void reset(const SearchTask& next) {
        std::string kept = std::move(records);
        kept.clear();
        *this = TaskResult{};
        records = std::move(kept);
        task = next;
        best.circle.fs = kNoSolutionFs;
    }
};

/// Computes tasks: tries their circles and buffers their records. Threads share one.
class SearchTaskWork {
  public:
    SearchTaskWork(const Section& section, const SearchGrid& grid, int decimals)
        : section_(section),
          sizes_(sectionSizes(section)),
          grid_(grid),
          values_(grid.values()),
          decimals_(decimals) {}

    /// Computes a task into `result`, which is incomplete when stopped on the way.
    void run(const SearchTask& task, TaskResult& result, EvaluationScratch& scratch,
             const std::stop_token& stop) const;

  private:
    /// Where a task's radii start and how many it may try at most.
    struct RadiusStart {
        double first;
        double previous;
        std::int64_t count;
    };

    bool runCentre(double rx, double ry, TaskResult& result, RecordWriter& records,
                   EvaluationScratch& scratch, const std::stop_token& stop) const;
    bool tryRadii(double rx, double ry, const RadiusStart& start, bool deferFirstCircle,
                  BestCircle& centre, TaskResult& result, RecordWriter& records,
                  EvaluationScratch& scratch, const std::stop_token& stop) const;
    /// The circle's outcome as the direct evaluation gives it, and how far its Fs may lie
    /// from that one's.
    CircleOutcome evaluate(double rx, double ry, double r, RecordWriter& records,
                           EvaluationScratch& scratch, double& fsBound) const;

    const Section& section_;
    SectionSizes sizes_;
    const SearchGrid& grid_;
    const CircleSearchValues& values_;
    int decimals_;
};

}  // namespace dorvo
