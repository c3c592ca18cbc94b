// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the calculation on the bundled example's section: one circle at a time, evaluated
// directly and stepped, one circle record, and a whole search of a large grid (100 × 100
// centres × 50 radii) with its records on one thread and on two, the same grid searched by the
// simplified Bishop method, and the example's sensitivity (every parameter ±10 %, 35 whole
// searches).
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <streambuf>

#include "calc/bishop_search.h"
#include "calc/circle_evaluation.h"
#include "calc/circle_search_run.h"
#include "calc/result_records.h"
#include "calc/sensitivity.h"
#include "model/project_file.h"

namespace {

class IgnoreMessages : public dorvo::MessageSink {
  public:
    void report(const dorvo::Message&) override {}
};

class CountingRecords : public dorvo::RecordWriter {
  public:
    void writeRecord(std::string_view) override { ++count; }
    long count = 0;
};

/// Counts the bytes written and throws them away, as a fast disk would take them.
class NullBuffer : public std::streambuf {
  public:
    std::streamsize bytes = 0;

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        bytes += n;
        return n;
    }
    int overflow(int c) override {
        ++bytes;
        return c;
    }
};

dorvo::Project loadExample() {
    std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
    std::ostringstream results;
    IgnoreMessages messages;
    dorvo::Project project;
    if (!dorvo::readProjectLines(project, in, results, "example", messages)) std::abort();
    return project;
}

const dorvo::Section& exampleSection() {
    static const dorvo::Section section = dorvo::prepareSection(loadExample()).value();
    return section;
}

/// 100 × 100 centres and 50 radii over the example's section.
dorvo::ValidCircleSearch largeGrid() {
    dorvo::CircleSearch search;
    const char* const fields[] = {
        "36", "14", "55.8", "33.8", "0.2", "0.2", "9", "1.4", "0.15510204081632653"};
    for (int line = 1; line <= 9; ++line) search.line(line) = fields[line - 1];
    auto valid = dorvo::validCircleSearch(search);
    if (!valid) std::abort();
    return *valid;
}

void BM_EvaluateCircle(benchmark::State& state) {
    const dorvo::Section& section = exampleSection();
    dorvo::EvaluationScratch scratch;
    CountingRecords records;
    const double radius = static_cast<double>(state.range(0));
    for (auto _ : state) {
        auto outcome =
            dorvo::evaluateCircle(section, 47.0, 18.0 + radius - 10.0, radius, records, scratch);
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateCircle)->Arg(10)->Arg(17)->Arg(25);

void BM_EvaluateCircleStepped(benchmark::State& state) {
    const dorvo::Section& section = exampleSection();
    const dorvo::SectionSizes sizes = dorvo::sectionSizes(section);
    dorvo::EvaluationScratch scratch;
    const double radius = static_cast<double>(state.range(0));
    for (auto _ : state) {
        auto outcome = dorvo::evaluateCircleStepped(section, sizes, 47.0, 18.0 + radius - 10.0,
                                                    radius, scratch);
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateCircleStepped)->Arg(10)->Arg(17)->Arg(25);

void BM_FormatCircleRecord(benchmark::State& state) {
    double fs = 1.234;
    for (auto _ : state) {
        std::string record =
            dorvo::nextCircleRecord(16.6, 12345.67, 2345.6, 10234.5, 12580.1, fs, 3);
        benchmark::DoNotOptimize(record);
        fs += 1e-6;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatCircleRecord);

void BM_SearchLargeGrid(benchmark::State& state) {
    const dorvo::Section& section = exampleSection();
    const dorvo::ValidCircleSearch search = largeGrid();
    dorvo::SearchOptions options;
    options.threads = static_cast<int>(state.range(0));
    std::int64_t circles = 0;
    std::streamsize bytes = 0;
    for (auto _ : state) {
        NullBuffer buffer;
        std::ostream out(&buffer);
        auto summary = dorvo::runCircleSearch(section, search, options, out, nullptr);
        circles += summary.radiiTried;
        bytes += buffer.bytes;
    }
    state.SetItemsProcessed(circles);
    state.SetBytesProcessed(bytes);
    state.counters["circles/s"] = benchmark::Counter(double(circles), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SearchLargeGrid)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same grid searched by the simplified Bishop method: every circle evaluated with its
// elements and its Bishop Fs solved, no records.
void BM_BishopSearchLargeGrid(benchmark::State& state) {
    const dorvo::Section& section = exampleSection();
    const dorvo::ValidCircleSearch search = largeGrid();
    std::int64_t circles = 0;
    for (auto _ : state) {
        auto result = dorvo::runBishopSearch(section, search, static_cast<int>(state.range(0)), {});
        circles += result.circlesSolved + result.circlesUnsolved;
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(circles);
}
BENCHMARK(BM_BishopSearchLargeGrid)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

/// The sensitivity of the example: the plain search and two searches per parameter (three
/// layers of five, Kh and the load: 34), each on the given number of threads.
void BM_SensitivityOfExample(benchmark::State& state) {
    const dorvo::Project project = loadExample();
    const auto search = dorvo::validCircleSearch(project.circleSearch);
    dorvo::SearchOptions options;
    options.threads = static_cast<int>(state.range(0));
    std::size_t searches = 0;
    for (auto _ : state) {
        const dorvo::Sensitivity result = dorvo::analyseSensitivity(project, *search, {}, options);
        searches = 1 + 2 * result.rows.size();
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["searches"] = double(searches);
}
BENCHMARK(BM_SensitivityOfExample)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
