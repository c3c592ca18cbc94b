// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation as the desktop program runs it, beside the same search run directly, and
// repaints of the figure on large results files: 10,000 centres computed, and a million
// centres written as a search of 1000 × 1000 centres would write their minima.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/calculation.h"
#include "app/calculation_job.h"
#include "calc/result_records.h"
#include "canvas_qt/qpainter_canvas.h"
#include "model/project_file.h"
#include "render/pages.h"
#include "settings/working_files.h"

namespace {

namespace fs = std::filesystem;

class IgnoreMessages : public dorvo::MessageSink {
  public:
    void report(const dorvo::Message&) override {}
};

/// Counts the progress reports, as a dialog would show them.
class ProgressCount : public dorvo::SearchProgress {
  public:
    void report(int, std::string_view) override { ++reports; }
    std::atomic<int> reports = 0;
};

/// The example's section with 100 × 100 centres and 50 radii: 500,000 circles.
dorvo::Project largeSearch() {
    std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
    std::ostringstream results;
    IgnoreMessages messages;
    dorvo::Project project;
    if (!dorvo::readProjectLines(project, in, results, "example", messages)) std::abort();
    const char* const fields[] = {
        "36", "14", "55.8", "33.8", "0.2", "0.2", "9", "1.4", "0.15510204081632653"};
    for (int line = 1; line <= 9; ++line) project.circleSearch.line(line) = fields[line - 1];
    return project;
}

const fs::path& resultsFile() {
    static const fs::path file = fs::temp_directory_path() / "dorvo-gui-bench.tmp";
    return file;
}

void BM_CalculationDirect(benchmark::State& state) {
    dorvo::Project project = largeSearch();
    for (auto _ : state) {
        auto calculation = dorvo::calculateInto(resultsFile(), project, {}, nullptr);
        if (!calculation || calculation->outcome != dorvo::CalculationOutcome::Completed) {
            std::abort();
        }
    }
}
BENCHMARK(BM_CalculationDirect)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

/// The calculation as the desktop program runs it: a job on its worker thread, reporting its
/// progress, with the collection of its messages.
void BM_CalculationJob(benchmark::State& state) {
    const dorvo::Project project = largeSearch();
    ProgressCount progress;
    for (auto _ : state) {
        dorvo::CalculationJob job(project, resultsFile(), {}, dorvo::SearchMethod::Ordinary);
        job.start(&progress, {});
        if (!job.take().calculation) std::abort();
    }
}
BENCHMARK(BM_CalculationJob)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

/// The figure of the large search redrawn on a screen-sized image, after the first paint:
/// without results (0) and with the Fs of its 10,000 centres (1).
void BM_FigureRepaint(benchmark::State& state) {
    dorvo::Project project = largeSearch();
    IgnoreMessages messages;
    fs::remove(resultsFile());
    if (state.range(0) == 1 && !dorvo::calculateInto(resultsFile(), project, {}, nullptr)) {
        std::abort();
    }
    const dorvo::Installation installation = dorvo::readInstallationSettings(
        dorvo::Environment{"/nonexistent", "/nonexistent", "/nonexistent"}, messages);
    dorvo::PageSetup setup = dorvo::makePageSetup(dorvo::figureWindowWithDefaults(project),
                                                  installation.settings, 420, 297);
    dorvo::PageState pages;
    const dorvo::RenderInputs inputs{project,
                                     installation.settings,
                                     installation.margins,
                                     installation.fonts,
                                     setup,
                                     resultsFile(),
                                     &messages};
    QImage screen(1600, 1100, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&screen);
        dorvo::QPainterCanvas canvas(painter, 96.0);
        dorvo::drawPage(canvas, inputs, pages);
    }
}
BENCHMARK(BM_FigureRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

/// The example's section with 1000 × 1000 centres 0.02 m apart, and a results file that
/// gives every centre its minimum.
struct MillionCentres {
    MillionCentres() {
        std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
        std::ostringstream oldResults;
        IgnoreMessages messages;
        if (!dorvo::readProjectLines(project, in, oldResults, "example", messages)) std::abort();
        const char* const fields[] = {"36",   "14", "55.98", "33.98", "0.02",
                                      "0.02", "9",  "1.4",   "1"};
        for (int line = 1; line <= 9; ++line) project.circleSearch.line(line) = fields[line - 1];
        std::ofstream out(file, std::ios::binary);
        out << "$$CSV\r\n018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS\r\n";
        for (int row = 0; row < 1000; ++row) {
            for (int column = 0; column < 1000; ++column) {
                const double rx = 36.0 + 0.02 * column;
                const double ry = 14.0 + 0.02 * row;
                const double fs = 1.2 + 0.001 * ((row * 7 + column * 3) % 800);
                out << dorvo::minimumRecord(rx, ry, ry - 5.0, fs, 3) << "\r\n";
            }
        }
        out << "801,----\r\n$$ANS\r\n"
            << dorvo::minimumRecord(45.0, 24.0, 19.0, 1.2, 3)
            << "\r\n$$XY,P1(  30.0000,  12.0000),P2(  60.0000,   8.0000)\r\n$$END\r\n";
    }
    ~MillionCentres() { fs::remove(file); }

    dorvo::Project project;
    fs::path file = fs::temp_directory_path() / "dorvo-gui-bench-million.tmp";
};

/// The figure of a million centres redrawn after its first drawing, as zooming and paging
/// redraw it: on the page that shows the grid (0) and on a page beside it (1).
void BM_FigureRepaintMillionCentres(benchmark::State& state) {
    static const MillionCentres large;
    IgnoreMessages messages;
    const dorvo::Installation installation = dorvo::readInstallationSettings(
        dorvo::Environment{"/nonexistent", "/nonexistent", "/nonexistent"}, messages);
    dorvo::PageSetup setup = dorvo::makePageSetup(dorvo::figureWindowWithDefaults(large.project),
                                                  installation.settings, 420, 297);
    dorvo::PageState pages;
    pages.view.figurePageLeftX = setup.figureLeftX;
    dorvo::applyPaperDefaults(setup, pages.view);
    pages.view.figurePageLeftX += double(state.range(0)) * setup.pageWidthM;
    const dorvo::RenderInputs inputs{large.project,
                                     installation.settings,
                                     installation.margins,
                                     installation.fonts,
                                     setup,
                                     large.file,
                                     &messages};
    QImage screen(1600, 1100, QImage::Format_RGB32);
    const auto paint = [&] {
        QPainter painter(&screen);
        dorvo::QPainterCanvas canvas(painter, 96.0);
        dorvo::drawPage(canvas, inputs, pages);
    };
    const auto start = std::chrono::steady_clock::now();
    paint();
    const std::chrono::duration<double, std::milli> first =
        std::chrono::steady_clock::now() - start;
    for (auto _ : state) paint();
    state.counters["first ms"] = first.count();
}
BENCHMARK(BM_FigureRepaintMillionCentres)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove(resultsFile());
    return 0;
}
