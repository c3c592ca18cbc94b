// SPDX-License-Identifier: GPL-3.0-or-later
// The pages of the design analyses and the figure's mark of the governing circle.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/calculation.h"
#include "app/design_analyses.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "render/design_pages.h"
#include "render/figure_page.h"
#include "render/pages.h"
#include "settings/working_files.h"
#include "support/memory_message_sink.h"
#include "support/project_builder.h"
#include "support/recording_canvas.h"
#include "support/render_fixture.h"

namespace dorvo {
namespace {

using test::Drawn;

/// The example computed, its figure laid out on A3 landscape as `dorvo-cli render` does.
struct ComputedExampleWithAnalyses : test::RenderFixture {
    ComputedExampleWithAnalyses() {
        std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
        std::ostringstream oldResults;
        test::MemoryMessageSink messages;
        if (readProjectLines(project, in, oldResults, "example", messages)) {
            const auto run = messages.valueOf(calculateInto(resultsFile, project, {}, nullptr));
            loaded = run && run->outcome == CalculationOutcome::Completed;
        }
        setup = makePageSetup(figureWindowWithDefaults(project), settings, 420, 297);
        state.view.figurePageLeftX = setup.figureLeftX;
        state.view.printing = true;
        applyPaperDefaults(setup, state.view);
    }

    RestraintForce restraint(double plannedFs) {
        auto force = restraintForceOfResults(project, resultsFile, plannedFs);
        EXPECT_TRUE(force.ok());
        return force.value();
    }

    test::RecordingCanvas draw() {
        test::RecordingCanvas canvas(600);
        drawPage(canvas, inputs(), state);
        return canvas;
    }

    bool loaded = false;
};

bool hasTextStarting(const test::RecordingCanvas& canvas, std::string_view start) {
    for (const Drawn& d : canvas.texts()) {
        if (d.text.starts_with(start)) return true;
    }
    return false;
}

TEST(RestraintMark, AddsTheDashedGoverningCircleAndItsForceToAnUnchangedFigure) {
    ComputedExampleWithAnalyses example;
    ASSERT_TRUE(example.loaded);
    const std::string plain = example.draw().transcript();

    const auto mark = restraintMarkOf(example.restraint(1.5));
    ASSERT_TRUE(mark.has_value());
    example.state.figure.restraint = mark;
    const test::RecordingCanvas marked = example.draw();
    const std::string withMark = marked.transcript();
    // Everything of the plain figure is drawn, in order, with the mark among it.
    std::size_t from = 0;
    std::istringstream lines(plain);
    for (std::string line; std::getline(lines, line);) {
        from = withMark.find(line + "\n", from);
        ASSERT_NE(from, std::string::npos) << line;
        from += line.size() + 1;
    }
    EXPECT_GT(withMark.size(), plain.size());
    EXPECT_TRUE(hasTextStarting(marked, "必要抑止力 P = "));
    int dashedArcs = 0;
    for (const Drawn& d : marked.drawn) dashedArcs += d.kind == Drawn::Kind::Arc ? 1 : 0;
    EXPECT_EQ(dashedArcs, 2);  // the critical circle and the governing one
}

TEST(RestraintPage, DrawsInsteadOfTheViewsPageAndPagesEveryCentre) {
    ComputedExampleWithAnalyses example;
    ASSERT_TRUE(example.loaded);
    const RestraintForce force = example.restraint(1.5);
    const RestraintPage page(force);
    example.state.analysis = &page;
    test::RecordingCanvas counter(600);
    const int pages = countPages(counter, example.inputs(), example.state);
    EXPECT_GT(pages, 1);  // 225 centres do not fit on one page
    int centreRows = 0;
    for (int p = 1; p <= pages; ++p) {
        example.state.view.currentPage = p;
        const test::RecordingCanvas canvas = example.draw();
        EXPECT_EQ(canvas.hasText("必要抑止力"), p == 1);
        if (p == 1) {
            EXPECT_TRUE(canvas.hasText("抑止力が最大の円"));
            EXPECT_TRUE(hasTextStarting(canvas, "P " + formatC("%.2f", force.governing->force)));
        }
        for (const Drawn& d : canvas.texts()) centreRows += d.text == formatC("%.2f", 40.0);
    }
    // The column of Rx holds 40.00 once per centre of the grid's first column.
    int firstColumn = 0;
    for (const RestraintCircle& centre : force.centreMaxima) firstColumn += centre.rx == 40.0;
    EXPECT_GT(firstColumn, 0);
    EXPECT_EQ(centreRows, firstColumn);
    // Without the page, the view's page is drawn again.
    example.state.analysis = nullptr;
    example.state.view.currentPage = 1;
    EXPECT_FALSE(example.draw().hasText("必要抑止力"));
}

TEST(BackAnalysisPage, ChartsTheLineAndListsItsTable) {
    ComputedExampleWithAnalyses example;
    ASSERT_TRUE(example.loaded);
    const Result<Section> prepared = prepareSection(example.project);
    const CriticalCircle& c = example.project.critical;
    const BackAnalysis analysis = backAnalyse(*prepared, {c.centreX, c.centreY, c.radius}, 3, 1.0);
    ASSERT_EQ(analysis.status, BackAnalysisStatus::Found);
    const BackAnalysisPage page(analysis, StrengthPair{10.0, analysis.coAt(10.0)});
    example.state.analysis = &page;
    const test::RecordingCanvas canvas = example.draw();
    EXPECT_TRUE(canvas.hasText("強度の逆算"));
    EXPECT_TRUE(canvas.hasText(formatC("%.2f", analysis.coAt(45.0))));
    int polylines = 0;
    for (const Drawn& d : canvas.drawn) polylines += d.kind == Drawn::Kind::Polyline ? 1 : 0;
    EXPECT_GE(polylines, 1);
    EXPECT_TRUE(hasTextStarting(canvas, "選んだ組"));
}

TEST(SensitivityPage, OrdersTheTornadoByTheSwingOfFs) {
    ComputedExampleWithAnalyses example;
    ASSERT_TRUE(example.loaded);
    const auto search = validCircleSearch(example.project.circleSearch);
    const Sensitivity sensitivity = analyseSensitivity(example.project, *search, {}, {});
    const SensitivityPage page(sensitivity, {});
    example.state.analysis = &page;
    const test::RecordingCanvas canvas = example.draw();
    EXPECT_TRUE(canvas.hasText("感度分析"));
    // The first label of the chart names the parameter of the largest swing.
    const std::string largest = describeParameter(
        example.project, sensitivity.bySwing().front()->parameter, WarningLanguage::Japanese);
    std::vector<std::string> labels;
    for (const Drawn& d : canvas.texts()) {
        if (d.text.starts_with("層") || d.text == "Kh" || d.text.starts_with("荷重")) {
            labels.push_back(d.text);
        }
    }
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), largest);
}

TEST(SensitivityPage, TheTornadoShowsTheTwentyLargestSwingsAndTheTableEveryParameter) {
    test::RenderFixture fixture;
    fixture.setup.paperHeightMm = 420;  // A3: the chart and the table on one page
    test::ProjectBuilder builder;
    for (int layer = 1; layer <= 5; ++layer) builder.layer(layer, 18, 30, 10);
    fixture.project = builder.project();
    Sensitivity sensitivity;
    CircleResult plain;
    plain.fs = 1.2;
    sensitivity.plain = plain;
    sensitivity.completed = true;
    double swing = 0.5;
    for (const ProjectParameter& parameter : variableParameters(fixture.project)) {
        if (parameter.kind == ParameterKind::SeismicCoefficient) continue;
        CircleResult lower = plain, upper = plain;
        lower.fs -= swing;
        upper.fs += swing;
        swing *= 0.9;
        sensitivity.rows.push_back({parameter, 10.0, {9.0, false, lower}, {11.0, false, upper}});
    }
    ASSERT_EQ(sensitivity.rows.size(), 25u);
    const SensitivityPage page(sensitivity, {});
    fixture.state.analysis = &page;
    test::RecordingCanvas canvas(600);
    drawPage(canvas, fixture.inputs(), fixture.state);
    for (std::size_t i = 0; i < sensitivity.rows.size(); ++i) {
        const std::string label = describeParameter(fixture.project, sensitivity.rows[i].parameter,
                                                    WarningLanguage::Japanese);
        int drawn = 0;
        for (const Drawn& d : canvas.texts()) drawn += d.text == label ? 1 : 0;
        EXPECT_EQ(drawn, i < 20 ? 2 : 1) << label;  // in the chart and in the table
    }
}

}  // namespace
}  // namespace dorvo
