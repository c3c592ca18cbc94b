#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "app/calculation.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "render/figure_page.h"
#include "render/fs_contour_layer.h"
#include "settings/working_files.h"
#include "support/memory_message_sink.h"
#include "support/project_builder.h"
#include "support/recording_canvas.h"
#include "support/render_fixture.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

/// The example computed, on A3 landscape at its own scale, as `dorvo-cli render` lays it out.
struct ComputedExample : test::RenderFixture {
    ComputedExample() {
        std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
        std::ostringstream oldResults;
        test::MemoryMessageSink messages;
        loaded = readProjectLines(project, in, oldResults, "example", messages) &&
                 calculateInto(resultsFile, project, {}, nullptr, messages).outcome ==
                     CalculationOutcome::Completed;
        setup = makePageSetup(figureWindowWithDefaults(project), settings, 420, 297);
        state.view.figurePageLeftX = setup.figureLeftX;
        applyPaperDefaults(setup, state.view);
    }

    test::RecordingCanvas draw(bool printing, int page) {
        state.view.printing = printing;
        state.view.currentPage = page;
        test::RecordingCanvas canvas(600);
        drawFigurePage(canvas, inputs(), state);
        return canvas;
    }

    bool loaded = false;
};

using test::Drawn;

/// Where the first primitive of a kind and colour was drawn, or the end.
std::size_t firstIndexOf(const test::RecordingCanvas& canvas, Drawn::Kind kind, Colour colour) {
    const auto at = std::find_if(canvas.drawn.begin(), canvas.drawn.end(), [&](const Drawn& d) {
        return d.kind == kind && d.colour == colour;
    });
    return std::size_t(at - canvas.drawn.begin());
}

std::size_t firstTextIndex(const test::RecordingCanvas& canvas, std::string_view text) {
    const auto at = std::find_if(canvas.drawn.begin(), canvas.drawn.end(), [&](const Drawn& d) {
        return d.kind == Drawn::Kind::Text && d.text == text;
    });
    return std::size_t(at - canvas.drawn.begin());
}

TEST(FigureOptions, OffDrawTheFigureExactlyAsBefore) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    const std::string drawn = example.draw(false, 1).transcript() +
                              example.draw(true, 1).transcript() +
                              example.draw(true, 2).transcript();
    const std::string golden = test::readBytes(DORVO_TEST_DATA_DIR "/embankment-figure.recording");
    if (drawn != golden) {
        const std::string actual = testing::TempDir() + "embankment-figure.recording";
        test::writeBytes(actual, drawn);
        std::istringstream a(drawn);
        std::istringstream b(golden);
        std::string lineA;
        std::string lineB;
        int line = 1;
        while (std::getline(a, lineA) && std::getline(b, lineB) && lineA == lineB) ++line;
        FAIL() << "the drawing differs from line " << line << ":\n  now    " << lineA
               << "\n  before " << lineB << "\nthe whole drawing is in " << actual;
    }
}

TEST(FigureOptions, ContoursFillTheBandsUnderTheLabelsWithTheirLegend) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    example.state.figure.contours = true;
    const test::RecordingCanvas canvas = example.draw(false, 1);
    const auto contours = fsContoursOf(example.project, example.state.overlay.labels);
    ASSERT_TRUE(contours);
    ASSERT_EQ(contours->bands.limits.size(), 10u);  // 1.00 to 1.45 by 0.05
    const std::size_t firstLabel = firstTextIndex(canvas, "1.162");
    for (int band = 0; band < 10; ++band) {
        const Colour colour = fsBandColour(contours->bands, band);
        EXPECT_LT(firstIndexOf(canvas, Drawn::Kind::Polygon, colour), firstLabel) << band;
    }
    EXPECT_TRUE(canvas.hasText("各中心の最小 Fs"));
    EXPECT_TRUE(canvas.hasText("1.00 〜 1.05"));
    EXPECT_TRUE(canvas.hasText("1.45 以上"));
    // Nothing is below 1.0 (the least is 1.013): no line of 1.0 and no hatch.
    EXPECT_FALSE(canvas.hasText("Fs = 1.0"));
    EXPECT_TRUE(canvas.ofColour(Drawn::Kind::Line, kFsBelowOneColour).empty());
}

TEST(FigureOptions, FsBelowOneIsHatchedAndBoundedByABoldLine) {
    test::RenderFixture f;
    test::ProjectBuilder builder;
    builder.search(10, 20, 14, 24, 2, 2, 15, 10, 1);
    f.project.circleSearch = builder.project().circleSearch;
    std::string results = "$$CSV\r\n";
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            results += formatC("055,FS min.,( Rx:%8.2f,Ry:%8.2f,R:    7.00 ),=%8.3f\r\n",
                               10.0 + 2 * column, 20.0 + 2 * row, 0.85 + 0.1 * column);
        }
    }
    f.writeResults(results);
    f.state.figure.contours = true;
    test::RecordingCanvas canvas;
    drawFigurePage(canvas, f.inputs(), f.state);

    bool hatched = false;
    for (const Drawn& d : canvas.ofColour(Drawn::Kind::Polygon, kFsBelowOneColour)) {
        hatched = hatched || d.fill != Fill::Solid;
    }
    EXPECT_TRUE(hatched);
    const auto unitLine = canvas.ofColour(Drawn::Kind::Line, kFsBelowOneColour);
    ASSERT_FALSE(unitLine.empty());
    DeviceMapping m = makeDeviceMapping(96, 96, f.setup);
    m.topY = f.setup.figureTopY;
    for (const Drawn& line : unitLine) {
        if (line.points[0].y == line.points[1].y) continue;  // the legend's sample
        EXPECT_EQ(line.width, 2);
        // Fs = 1.0 halfway between the columns of 0.95 and 1.05.
        EXPECT_EQ(line.points[0].x, toDeviceX(m, 13.0));
        EXPECT_EQ(line.points[1].x, toDeviceX(m, 13.0));
    }
    EXPECT_TRUE(canvas.hasText("Fs = 1.0"));
    EXPECT_TRUE(canvas.hasText("0.975 〜 1.000"));
}

}  // namespace
}  // namespace dorvo
