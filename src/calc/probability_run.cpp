// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/probability_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <streambuf>
#include <thread>

#include "calc/circle_search_run.h"

namespace dorvo {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

/// The search's records are not wanted here: every byte is accepted and dropped.
class DiscardingBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

class NoRecords : public RecordWriter {
  public:
    void writeRecord(std::string_view) override {}
};

/// MR / MD whenever something drives the slip: a realisation without strength fails with
/// Fs ≤ 0, where the records would print the no-solution value.
std::optional<double> factorOfSafety(const CircleResult& result) {
    if (result.fs < 9999.0) return result.fs;
    if (result.md > kEpsilon) return result.mr / result.md;
    return std::nullopt;
}

/// Sets the sampled values of a realisation in a thread's own copy of the section.
bool setRealisationValues(const ProbabilityModel& model, std::int64_t index,
                          std::vector<double>& values, Section& section) {
    sampleRealisation(model.plan, index, values);
    bool usable = true;
    for (std::size_t j = 0; j < model.slots.size(); ++j) {
        usable = setSectionValue(section, model.slots[j], values[j]) && usable;
    }
    return usable;
}

}  // namespace

std::optional<CircleResult> searchCriticalCircle(const Section& section,
                                                 const ValidCircleSearch& search, int threads,
                                                 const std::stop_token& stop) {
    DiscardingBuffer discard;
    std::ostream out(&discard);
    SearchOptions options;
    options.threads = threads;
    options.stop = stop;
    const SearchSummary summary = runCircleSearch(section, search, options, out, nullptr);
    if (!summary.completed) return std::nullopt;
    return summary.critical;
}

RealisationFs evaluateRealisation(const ProbabilityModel& model, const Section& section,
                                  std::int64_t index, EvaluationScratch& scratch,
                                  const std::stop_token& stop) {
    RealisationFs realisation{index, std::nullopt, std::nullopt};
    if (model.mode == ProbabilityMode::CriticalCircle) {
        const CircleResult& circle = model.deterministic;
        NoRecords records;
        const CircleOutcome outcome =
            evaluateCircle(section, circle.rx, circle.ry, circle.r, records, scratch);
        if (outcome.kind == OutcomeKind::Result) realisation.fs = factorOfSafety(outcome.result);
        return realisation;
    }
    const auto critical = searchCriticalCircle(section, *model.search, 1, stop);
    if (critical) {
        realisation.fs = factorOfSafety(*critical);
        realisation.circle = critical;
    }
    return realisation;
}

ProbabilityRun runRealisations(const ProbabilityModel& model,
                               const ProbabilityRunOptions& options) {
    const Shard shard = options.shard;
    const std::int64_t total =
        shard.index < model.plan.realisations
            ? (model.plan.realisations - shard.index + shard.count - 1) / shard.count
            : 0;
    const std::int64_t chunk = model.mode == ProbabilityMode::CriticalCircle ? 256 : 1;
    const int available = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    int threads = options.threads > 0 ? options.threads : available;
    threads = static_cast<int>(std::clamp<std::int64_t>(
        threads, 1, std::max<std::int64_t>(1, (total + chunk - 1) / chunk)));

    // Each worker keeps what it computed, so that memory grows with the realisations done
    // and not with the number asked for: a run of 10^8 that is stopped early holds little.
    std::vector<std::vector<RealisationFs>> computed(static_cast<std::size_t>(threads));
    std::atomic<int> nextWorker{0};
    std::atomic<std::int64_t> nextChunk{0};
    std::atomic<std::int64_t> done{0};
    std::mutex mutex;
    std::condition_variable allDone;
    int running = threads;

    auto work = [&] {
        std::vector<RealisationFs>& mine = computed[static_cast<std::size_t>(nextWorker++)];
        Section section = model.section;
        EvaluationScratch scratch;
        std::vector<double> values(model.slots.size());
        while (!options.stop.stop_requested()) {
            const std::int64_t first = nextChunk.fetch_add(chunk);
            if (first >= total) break;
            const std::int64_t end = std::min(total, first + chunk);
            for (std::int64_t k = first; k < end && !options.stop.stop_requested(); ++k) {
                const std::int64_t index = shard.index + k * shard.count;
                RealisationFs result{index, std::nullopt, std::nullopt};
                if (setRealisationValues(model, index, values, section)) {
                    result = evaluateRealisation(model, section, index, scratch, options.stop);
                }
                // A search cut short by the stop is not a result.
                if (options.stop.stop_requested()) break;
                mine.push_back(std::move(result));
                done.fetch_add(1, std::memory_order_relaxed);
            }
        }
        std::lock_guard lock(mutex);
        if (--running == 0) allDone.notify_all();
    };

    {
        std::vector<std::jthread> workers;
        for (int t = 1; t < threads; ++t) workers.emplace_back(work);
        if (options.progress == nullptr) {
            work();
        } else {
            workers.emplace_back(work);
            std::unique_lock lock(mutex);
            while (!allDone.wait_for(lock, kProgressInterval, [&] { return running == 0; })) {
                lock.unlock();
                options.progress->report(done.load(), total);
                lock.lock();
            }
            options.progress->report(done.load(), total);
        }
    }

    ProbabilityRun run;
    run.realisations.reserve(static_cast<std::size_t>(done.load()));
    for (std::vector<RealisationFs>& part : computed) {
        std::ranges::move(part, std::back_inserter(run.realisations));
        part = {};
    }
    std::ranges::sort(run.realisations, {}, &RealisationFs::index);
    run.completed = static_cast<std::int64_t>(run.realisations.size()) == total;
    return run;
}

}  // namespace dorvo
