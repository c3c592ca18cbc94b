// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the probabilistic analysis of the bundled example with its side file: 100,000
// realisations on the deterministic critical circle, and 1,000 realisations each with a full
// search of the example's grid, on two threads.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "app/probability_analysis.h"
#include "app/probability_file.h"
#include "model/project_file.h"

namespace {

class IgnoreMessages : public dorvo::MessageSink {
  public:
    void report(const dorvo::Message&) override {}
};

dorvo::ProbabilityAnalysis exampleAnalysis(dorvo::ProbabilityMode mode, std::int64_t n) {
    dorvo::Project project;
    std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
    std::ostringstream results;
    IgnoreMessages messages;
    if (!dorvo::readProjectLines(project, in, results, "example", messages)) std::abort();
    auto spec = dorvo::readProbabilitySpec(DORVO_EXAMPLES_DIR "/embankment.prob.json");
    if (!spec) std::abort();
    spec.value().realisations = n;
    spec.value().mode = mode;
    auto analysis = dorvo::prepareProbabilityAnalysis(project, *spec, 2, {});
    if (!analysis) std::abort();
    return std::move(analysis).value();
}

void runAnalysis(benchmark::State& state, dorvo::ProbabilityMode mode, std::int64_t n) {
    const dorvo::ProbabilityAnalysis analysis = exampleAnalysis(mode, n);
    dorvo::ProbabilityRunOptions options;
    options.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto run = dorvo::runRealisations(analysis.model, options);
        benchmark::DoNotOptimize(run.realisations.data());
    }
    state.counters["realisations/s"] =
        benchmark::Counter(double(n) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_CriticalCircle100k(benchmark::State& state) {
    runAnalysis(state, dorvo::ProbabilityMode::CriticalCircle, 100'000);
}
BENCHMARK(BM_CriticalCircle100k)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullSearch1000(benchmark::State& state) {
    runAnalysis(state, dorvo::ProbabilityMode::FullSearch, 1000);
}
BENCHMARK(BM_FullSearch1000)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
