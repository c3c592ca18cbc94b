// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's calculation of a 2-million-circle search with its records written to a
// file, on one thread and on two, as a user waits for it: the search, the records on disk
// and the summary. Each run's records must be those of the first run, byte for byte.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A folder of the benchmark's own, with the example's section searched over 100 × 100
/// centres and 201 radii each (a radius step of 0.038 m): 2,010,000 circles.
struct LargeProject {
    LargeProject() {
        fs::create_directories(folder);
        std::string text = readBytes(DORVO_EXAMPLES_DIR "/embankment.slw");
        const std::size_t search = text.find("$$R\r\n");
        const std::size_t end = text.find("\r\n0.4\r\n", search);
        if (search == text.npos || end == text.npos) std::abort();
        text.replace(search, end + 7 - search,
                     "$$R\r\n36\r\n14\r\n55.8\r\n33.8\r\n0.2\r\n0.2\r\n9\r\n1.4\r\n0.038\r\n");
        std::ofstream(project, std::ios::binary) << text;
    }
    ~LargeProject() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    /// Runs `dorvo-cli calc` with its records to `records`; the seconds it took.
    double calculate(int threads, const fs::path& records) const {
        const std::string config = "XDG_CONFIG_HOME=" + (folder / "config").string();
        const std::string data = "XDG_DATA_HOME=" + (folder / "data").string();
        const std::string threadCount = std::to_string(threads);
        std::vector<std::string> arguments = {DORVO_CLI_PATH, "calc",           project.string(),
                                              "--records",    records.string(), "--threads",
                                              threadCount};
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<std::string> environment = {config, data};
        for (char** variable = environ; *variable != nullptr; ++variable) {
            environment.emplace_back(*variable);
        }
        std::vector<char*> envp;
        for (std::string& variable : environment) envp.push_back(variable.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
            std::abort();
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        posix_spawn_file_actions_destroy(&actions);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
        return elapsed.count();
    }

    fs::path folder = fs::temp_directory_path() / "dorvo-cli-bench";
    fs::path project = folder / "large.slw";
    fs::path firstRecords = folder / "first-records.txt";
};

const LargeProject& largeProject() {
    static const LargeProject project;
    return project;
}

void BM_CalcRecordsToFile(benchmark::State& state) {
    const LargeProject& large = largeProject();
    const fs::path records = large.folder / "records.txt";
    for (auto _ : state) {
        state.SetIterationTime(large.calculate(static_cast<int>(state.range(0)), records));
        if (!fs::exists(large.firstRecords)) {
            fs::copy_file(records, large.firstRecords);
        } else if (readBytes(records) != readBytes(large.firstRecords)) {
            state.SkipWithError("the records differ from the first run's");
        }
    }
    state.counters["circles/s"] =
        benchmark::Counter(2010000.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CalcRecordsToFile)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("min",
                        [](const std::vector<double>& times) {
                            return *std::min_element(times.begin(), times.end());
                        })
    ->DisplayAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
