// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation as the desktop program runs it, beside the same search run directly, and
// a repaint of the view on a large results file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/calculation.h"
#include "canvas_qt/qpainter_canvas.h"
#include "gui/calculation_dialog.h"
#include "model/project_file.h"
#include "render/pages.h"
#include "settings/working_files.h"

namespace {

namespace fs = std::filesystem;

class IgnoreMessages : public dorvo::MessageSink {
  public:
    void report(const dorvo::Message&) override {}
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
    IgnoreMessages messages;
    for (auto _ : state) {
        auto calculation = dorvo::calculateInto(resultsFile(), project, {}, nullptr, messages);
        if (calculation.outcome != dorvo::CalculationOutcome::Completed) std::abort();
    }
}
BENCHMARK(BM_CalculationDirect)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_CalculationDialog(benchmark::State& state) {
    const dorvo::Project project = largeSearch();
    IgnoreMessages messages;
    for (auto _ : state) {
        dorvo::CalculationDialog dialog(project, resultsFile(), {}, messages);
        dialog.show();
        dialog.accept();
        while (dialog.isVisible()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!dialog.calculation()) std::abort();
    }
}
BENCHMARK(BM_CalculationDialog)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

/// The figure of the large search redrawn on a screen-sized image, after the first paint:
/// without results (0) and with the Fs of its 10,000 centres (1).
void BM_FigureRepaint(benchmark::State& state) {
    dorvo::Project project = largeSearch();
    IgnoreMessages messages;
    fs::remove(resultsFile());
    if (state.range(0) == 1) dorvo::calculateInto(resultsFile(), project, {}, nullptr, messages);
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
