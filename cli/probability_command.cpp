// SPDX-License-Identifier: GPL-3.0-or-later
#include "probability_command.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/probability_analysis.h"
#include "app/probability_file.h"
#include "app/probability_report.h"
#include "calc/circle_search_run.h"
#include "calc/probability_summary.h"
#include "canvas_qt/page_export.h"
#include "gui_session.h"
#include "model/line_io.h"
#include "model/number_text.h"
#include "number_options.h"
#include "render_command.h"
#include "show_command.h"

namespace dorvo::cli {

namespace fs = std::filesystem;

namespace {

/// A bar on standard error, redrawn in place.
class RealisationBar : public RealisationProgress {
  public:
    void report(std::int64_t done, std::int64_t total) override {
        constexpr int kWidth = 40;
        const auto filled = static_cast<std::size_t>(total > 0 ? done * kWidth / total : 0);
        std::fprintf(stderr, "\r[%s%s] %lld / %lld realisations", std::string(filled, '#').c_str(),
                     std::string(kWidth - filled, ' ').c_str(), static_cast<long long>(done),
                     static_cast<long long>(total));
        std::fflush(stderr);
    }
    void finish() const { std::fprintf(stderr, "\r%75s\r", ""); }
};

bool refuse(MessageSink& messages, const std::string& text) {
    messages.report(literalMessage(text));
    return false;
}

std::optional<std::uint64_t> unsignedNumber(std::string_view text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

/// "I/K" with 0 ≤ I < K.
std::optional<Shard> shardOf(std::string_view text) {
    const auto slash = text.find('/');
    if (slash == text.npos) return std::nullopt;
    const auto index = unsignedNumber(text.substr(0, slash));
    const auto count = unsignedNumber(text.substr(slash + 1));
    if (!index || !count || *count == 0 || *index >= *count || *count > 1'000'000) {
        return std::nullopt;
    }
    return Shard{static_cast<std::int64_t>(*index), static_cast<std::int64_t>(*count)};
}

/// Applies the options that override the side file; false, with a message naming the
/// option, for a value it does not take.
bool applyOverrides(const ProbabilityRequest& request, ProbabilitySpec& spec,
                    MessageSink& messages) {
    if (request.realisations) {
        const auto n = wholeNumberIn(*request.realisations, 1, int(kMostRealisations));
        if (!n) {
            return refuse(messages, "--n takes a whole number from 1 to " +
                                        std::to_string(kMostRealisations));
        }
        spec.realisations = *n;
    }
    if (request.seed) {
        const auto seed = unsignedNumber(*request.seed);
        if (!seed) return refuse(messages, "--seed takes a whole number from 0 to 2^64 - 1");
        spec.seed = *seed;
    }
    if (request.mode) {
        spec.mode = *request.mode == "search" ? ProbabilityMode::FullSearch
                                              : ProbabilityMode::CriticalCircle;
    }
    if (request.sampling) {
        spec.sampling = *request.sampling == "latin-hypercube" ? SamplingMethod::LatinHypercube
                                                               : SamplingMethod::MonteCarlo;
    }
    return true;
}

bool writeOutput(const std::string& path, const std::string& text, std::ostream& out,
                 MessageSink& messages) {
    if (path.empty() || path == "-") {
        out << text;
        out.flush();
        return static_cast<bool>(out);
    }
    const Status written = writeFileAtomically(path, [&](std::ostream& file) {
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(file);
    });
    if (!written) messages.report(written.error());
    return written.ok();
}

std::string optionalFixed(const std::optional<double>& value, const char* format) {
    return value ? formatC(format, *value) : std::string("none");
}

void printSummary(const ProbabilitySummary& s, std::ostream& out) {
    out << formatC("mean Fs            %.4f\n", s.mean);
    out << formatC("sd of Fs           %.4f\n", s.sd);
    out << formatC("P(Fs < 1)          %.5f  (95 %% interval %.5f to %.5f; %lld of %lld)\n",
                   s.probabilityOfFailure, s.probabilityLow, s.probabilityHigh,
                   static_cast<long long>(s.failures), static_cast<long long>(s.withFs));
    out << "beta (normal)      " << optionalFixed(s.betaNormal, "%.3f") << "\n";
    out << "beta (lognormal)   " << optionalFixed(s.betaLognormal, "%.3f") << "\n";
    if (s.withFs < s.realisations) {
        out << "without Fs         " << s.realisations - s.withFs
            << " (no driving moment, or no circle with a result)\n";
    }
}

void printRun(const ProbabilityAnalysis& analysis, const ProbabilitySummary& summary,
              double seconds, std::ostream& out) {
    const ProbabilityModel& model = analysis.model;
    const CircleResult& c = model.deterministic;
    out << "realisations       " << model.plan.realisations << " ("
        << samplingName(model.plan.method) << ", seed " << model.plan.seed << "), mode "
        << modeName(model.mode) << "\n";
    out << formatC("deterministic Fs   %.4f on centre (%.2f, %.2f), radius %.2f\n", c.fs, c.rx,
                   c.ry, c.r);
    printSummary(summary, out);
    out << formatC("elapsed            %.3f s\n", seconds);
}

/// The histogram and cumulative curve on an A4 landscape page.
bool writePlot(const std::string& file, const ProbabilityPageData& page, MessageSink& messages) {
    const std::string extension = fs::path(file).extension().string();
    const int dpi = extension == ".png" ? 150 : extension == ".svg" ? 96 : 600;
    if (extension != ".pdf" && extension != ".png" && extension != ".svg") {
        return refuse(messages, "--plot writes .pdf, .png or .svg");
    }
    GuiSession gui;
    const bool written = writeDrawing(
        file, *paperNamed("A4", true), dpi,
        [&](Canvas& canvas, DeviceRect area) { drawProbabilityPage(canvas, page, area); });
    if (!written) messages.report(cannotWriteMessage(file));
    return written;
}

/// The project's figure with the failing realisations' circles, A3 landscape.
bool writeCircles(const fs::path& project, const std::string& file,
                  std::span<const RealisationFs> realisations, MessageSink& messages) {
    RenderRequest render;
    render.project = project;
    render.output = file;
    render.paper = "A3";
    render.landscape = true;
    render.figure.failingCircles = failingCircles(realisations);
    std::ostringstream ignored;
    return runRender(render, ignored, messages) == 0;
}

}  // namespace

int runProbability(const ProbabilityRequest& request, std::ostream& out, MessageSink& messages) {
    std::optional<Shard> shard;
    if (request.shard) {
        shard = shardOf(*request.shard);
        if (!shard) {
            refuse(messages, "--shard takes I/K: a part I of K, 0 <= I < K <= 1000000");
            return 2;
        }
    }
    int threads = 0;
    if (request.threads) {
        const auto count = wholeNumberIn(*request.threads, 0, maxSearchThreads());
        if (!count) {
            refuse(messages, "--threads takes a whole number from 0 (one per core) to " +
                                 std::to_string(maxSearchThreads()));
            return 2;
        }
        threads = *count;
    }
    Project project;
    std::ostringstream oldResults;
    if (!loadForCommandLine(request.project, project, oldResults, messages)) return 1;
    const fs::path specFile = request.spec.value_or(probabilitySpecPath(request.project));
    Result<ProbabilitySpec> spec = readProbabilitySpec(specFile);
    if (!spec) {
        messages.report(spec.error());
        return fs::exists(specFile) ? 2 : 1;
    }
    if (!applyOverrides(request, spec.value(), messages)) return 2;

    const auto start = std::chrono::steady_clock::now();
    Result<ProbabilityAnalysis> analysis =
        prepareProbabilityAnalysis(project, *spec, threads, request.stop);
    if (request.stop.stop_requested()) return 1;
    if (!analysis) {
        messages.report(analysis.error());
        return 2;
    }
    RealisationBar bar;
    ProbabilityRunOptions options;
    options.shard = shard.value_or(Shard{});
    options.threads = threads;
    options.stop = request.stop;
    options.progress = request.showProgress ? &bar : nullptr;
    const ProbabilityRun run = runRealisations(analysis->model, options);
    if (request.showProgress) bar.finish();
    if (!run.completed) return 1;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    const std::string name = request.project.filename().string();
    if (!shard) {
        const ProbabilitySummary summary = summariseRealisations(run.realisations);
        if (!request.plot.empty() &&
            !writePlot(request.plot, probabilityPageData(*analysis, name, summary), messages)) {
            return 1;
        }
        if (!request.circles.empty() &&
            !writeCircles(request.project, request.circles, run.realisations, messages)) {
            return 1;
        }
    }
    if (shard) {
        const std::string part = partialResultJson(*analysis, name, *shard, run, elapsed.count());
        return writeOutput(request.output, part, out, messages) ? 0 : 1;
    }
    if (request.json || !request.output.empty()) {
        const std::string document = probabilityResultJson(*analysis, name, run, elapsed.count());
        if (!writeOutput(request.output, document, out, messages)) return 1;
        if (request.json) return 0;
    }
    printRun(*analysis, summariseRealisations(run.realisations), elapsed.count(), out);
    return 0;
}

int runProbabilityMerge(const ProbabilityMergeRequest& request, std::ostream& out,
                        MessageSink& messages) {
    std::vector<PartText> parts;
    for (const fs::path& file : request.parts) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in) {
            messages.report(makeMessage(MessageId::FileNotFound, file.string()));
            return 1;
        }
        parts.push_back({file.string(), text.str()});
    }
    Result<MergedParts> merged = mergePartialResults(parts);
    if (!merged) {
        messages.report(merged.error());
        return 2;
    }
    if (!request.plot.empty() && !writePlot(request.plot, merged->page, messages)) return 1;
    if (!request.circles.empty()) {
        if (request.project.empty()) {
            refuse(messages, "--circles needs the project: --project FILE.slw");
            return 2;
        }
        if (!writeCircles(request.project, request.circles, merged->realisations, messages)) {
            return 1;
        }
    }
    if (request.json || !request.output.empty()) {
        if (!writeOutput(request.output, merged->resultJson, out, messages)) return 1;
        if (request.json) return 0;
    }
    out << merged->page.title << "\n";
    out << "parts              " << parts.size() << "\n";
    printSummary(merged->page.summary, out);
    return 0;
}

}  // namespace dorvo::cli
