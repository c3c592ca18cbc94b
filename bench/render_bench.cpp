// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the result table: the whole PDF of a results file, whose time must grow linearly
// with the records, and one page drawn from the page index, as the screen draws it. Speed of
// the example's figure with and without its optional layers.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/calculation.h"
#include "calc/result_records.h"
#include "canvas_qt/page_export.h"
#include "canvas_qt/qpainter_canvas.h"
#include "model/project_file.h"
#include "render/pages.h"
#include "settings/font_slots.h"
#include "settings/margins_table.h"
#include "settings/program_settings.h"
#include "settings/working_files.h"

namespace {

namespace fs = std::filesystem;

/// A results file of `centres` centres with 49 circles each, as a large search writes it.
fs::path resultsFileOf(int centres) {
    const fs::path file =
        fs::temp_directory_path() / ("dorvo-render-bench-" + std::to_string(centres) + ".tmp");
    std::ofstream out(file, std::ios::binary);
    out << "$$CSV\r\n018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS\r\n";
    for (int centre = 0; centre < centres; ++centre) {
        const double rx = 36.0 + 0.2 * (centre % 100);
        const double ry = 14.0 + 0.2 * (centre / 100);
        out << dorvo::firstCircleRecord(rx, ry, 5.0, 500.0, 1000.0, 250.0, 1250.0, 2.5, 3)
            << "\r\n";
        for (int k = 1; k < 49; ++k) {
            const double r = 5.0 + 0.155 * k;
            out << dorvo::nextCircleRecord(r, 100.0 * r, 200.0 * r, 50.0 * r, 250.0 * r,
                                           2.5 - r / 100.0, 3)
                << "\r\n";
        }
        out << dorvo::minimumRecord(rx, ry, 12.44, 2.376, 3) << "\r\n";
    }
    out << "801,----\r\n$$END\r\n";
    return file;
}

struct ResultTable {
    explicit ResultTable(int centres) : resultsFile(resultsFileOf(centres)) {
        state.view.page = dorvo::ViewPage::Results;
        state.view.printing = true;
    }
    ~ResultTable() { fs::remove(resultsFile); }

    dorvo::RenderInputs inputs() const {
        return {project, settings, margins, fonts, setup, resultsFile, nullptr};
    }

    fs::path resultsFile;
    dorvo::Project project;
    dorvo::ProgramSettings settings = dorvo::recommendedProgramSettings();
    dorvo::MarginsTable margins = dorvo::defaultMarginsTable();
    dorvo::FontSlots fonts = dorvo::defaultFontSlots();
    dorvo::PageSetup setup{500, 500, 210, 297, 25, 15, 0, 80, 0, 40.0, 40, 5};
    dorvo::PageState state;
};

void BM_ResultTablePdf(benchmark::State& bench) {
    ResultTable table(static_cast<int>(bench.range(0)));
    const dorvo::Paper a4{QPageSize(QPageSize::A4), QPageLayout::Portrait};
    const fs::path pdf = fs::temp_directory_path() / "dorvo-render-bench.pdf";
    std::int64_t records = 0;
    for (auto _ : bench) {
        table.state = {};
        table.state.view.page = dorvo::ViewPage::Results;
        table.state.view.printing = true;
        auto pages = dorvo::writePdf(pdf, a4, table.inputs(), table.state, 600);
        if (!pages) bench.SkipWithError("the PDF could not be written");
        records += bench.range(0) * 50;
    }
    fs::remove(pdf);
    bench.counters["records/s"] = benchmark::Counter(double(records), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ResultTablePdf)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

void BM_ResultTableLastPageOnScreen(benchmark::State& bench) {
    ResultTable table(static_cast<int>(bench.range(0)));
    table.state.view.printing = false;
    QImage screen(1240, 1754, QImage::Format_RGB32);
    QPainter painter(&screen);
    dorvo::QPainterCanvas canvas(painter, 96.0);
    const int pages = dorvo::countPages(canvas, table.inputs(), table.state);
    table.state.view.currentPage = pages;
    for (auto _ : bench) dorvo::drawPage(canvas, table.inputs(), table.state);
}
BENCHMARK(BM_ResultTableLastPageOnScreen)->Arg(10000)->Unit(benchmark::kMillisecond);

class IgnoreMessages : public dorvo::MessageSink {
  public:
    void report(const dorvo::Message&) override {}
};

/// The example's figure, computed, on a screen of A3 landscape: plain (0), with contours (1)
/// and annotated (2).
void BM_ExampleFigure(benchmark::State& bench) {
    IgnoreMessages messages;
    dorvo::Project project;
    std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
    std::ostringstream oldResults;
    if (!dorvo::readProjectLines(project, in, oldResults, "example", messages)) {
        bench.SkipWithError("the example could not be read");
        return;
    }
    const fs::path resultsFile = fs::temp_directory_path() / "dorvo-render-bench-example.tmp";
    if (!dorvo::calculateInto(resultsFile, project, {}, nullptr)) {
        bench.SkipWithError("the example could not be calculated");
        return;
    }
    const dorvo::ProgramSettings settings = dorvo::recommendedProgramSettings();
    const dorvo::MarginsTable margins = dorvo::defaultMarginsTable();
    const dorvo::FontSlots fonts = dorvo::defaultFontSlots();
    dorvo::PageSetup setup =
        dorvo::makePageSetup(dorvo::figureWindowWithDefaults(project), settings, 420, 297);
    dorvo::PageState state;
    state.view.figurePageLeftX = setup.figureLeftX;
    dorvo::applyPaperDefaults(setup, state.view);
    state.figure.contours = bench.range(0) == 1;
    state.figure.annotate = bench.range(0) == 2;
    const dorvo::RenderInputs inputs{project, settings,    margins,  fonts,
                                     setup,   resultsFile, &messages};
    QImage screen(1588, 1123, QImage::Format_RGB32);
    for (auto _ : bench) {
        screen.fill(Qt::white);
        QPainter painter(&screen);
        dorvo::QPainterCanvas canvas(painter, 96.0);
        dorvo::drawPage(canvas, inputs, state);
    }
    fs::remove(resultsFile);
}
BENCHMARK(BM_ExampleFigure)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
