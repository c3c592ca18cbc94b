// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "app/calculation.h"
#include "app/search_insight.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "render/figure_annotations.h"
#include "render/figure_legend.h"
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
        if (readProjectLines(project, in, oldResults, "example", messages)) {
            const auto run = messages.valueOf(calculateInto(resultsFile, project, {}, nullptr));
            loaded = run && run->outcome == CalculationOutcome::Completed;
        }
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

const Drawn* textNamed(const test::RecordingCanvas& canvas, std::string_view text) {
    for (const Drawn& d : canvas.drawn) {
        if (d.kind == Drawn::Kind::Text && d.text == text) return &d;
    }
    return nullptr;
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
    EXPECT_FALSE(canvas.hasText("縮尺  1 : 150"));  // the annotations stay off
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

TEST(FigureOptions, TheAnnotationLayerIsDrawnOnlyWhenAskedFor) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    const std::vector<std::string> annotations = {"Fs = 1.013",  "中心 (47.00, 18.00)",
                                                  "R = 16.60 m", "縮尺  1 : 150",
                                                  "5 m",         "30.0 kN/m",
                                                  "層No.",       "kN/m³",
                                                  "kN/m²/m",     "19.00",
                                                  "30.00"};
    const test::RecordingCanvas plain = example.draw(false, 1);
    for (const std::string& text : annotations) EXPECT_FALSE(plain.hasText(text)) << text;

    example.state.figure.annotate = true;
    const test::RecordingCanvas annotated = example.draw(false, 1);
    for (const std::string& text : annotations) EXPECT_TRUE(annotated.hasText(text)) << text;
    EXPECT_FALSE(annotated.hasText("各中心の最小 Fs"));  // the contours stay off

    example.setSetting(settings_line::kUnitDisplay, "2");
    const test::RecordingCanvas tonnes = example.draw(false, 1);
    EXPECT_TRUE(tonnes.hasText("tf/m³"));
    EXPECT_TRUE(tonnes.hasText("30.0 tf/m"));
}

TEST(FigureOptions, TheCriticalCircleLabelSitsInsideTheCircleAboveTheMiddleOfItsArc) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    example.state.figure.annotate = true;
    const test::RecordingCanvas canvas = example.draw(false, 1);
    const Drawn* label = textNamed(canvas, "Fs = 1.013");
    ASSERT_NE(label, nullptr);
    const CriticalCircle& c = example.state.critical;
    DeviceMapping m = makeDeviceMapping(600, 600, example.setup);
    m.shiftX = -example.state.view.figurePageLeftX;
    m.topY = example.setup.figureTopY;
    const double dx = label->points[0].x - toDeviceX(m, c.centreX);
    const double dy = label->points[0].y - toDeviceY(m, c.centreY);
    const double radius = c.radius * m.pxPerMetreY;
    EXPECT_LT(std::hypot(dx, dy), radius);
    EXPECT_GT(dy, radius / 2);  // in the lower half, near the arc
}

// A search by another method writes no records; the figure drawn for it draws and labels
// that method's critical circle with its own Fs, not the records' one.
TEST(FigureOptions, UnderAnotherMethodTheCriticalCircleAndItsLabelAreThatMethods) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    const std::optional<BishopSearch> bishop = searchByBishop(example.project, 1, {});
    ASSERT_TRUE(bishop && bishop->critical);
    example.state.figure.annotate = true;
    example.state.figure.methodCritical = bishopCriticalOf(*bishop);
    const test::RecordingCanvas canvas = example.draw(false, 1);
    for (const char* text : {"簡易ビショップ法 Fs = 1.275", "中心 (46.00, 24.00)", "R = 22.60 m"}) {
        EXPECT_TRUE(canvas.hasText(text)) << text;
    }
    for (const char* text : {"Fs = 1.013", "中心 (47.00, 18.00)", "R = 16.60 m"}) {
        EXPECT_FALSE(canvas.hasText(text)) << text;
    }
    const auto arcs = canvas.ofColour(Drawn::Kind::Arc, test::kArcColour);
    ASSERT_EQ(arcs.size(), 1u);
    DeviceMapping m = makeDeviceMapping(600, 600, example.setup);
    m.shiftX = -example.state.view.figurePageLeftX;
    m.topY = example.setup.figureTopY;
    const CriticalCircle& c = example.state.figure.methodCritical->circle;
    EXPECT_EQ(arcs[0].points[0],
              (DevicePoint{toDeviceX(m, 46.0 - 22.6), toDeviceY(m, 24.0 + 22.6)}));
    EXPECT_EQ(arcs[0].points[2], (DevicePoint{toDeviceX(m, c.p1x), toDeviceY(m, c.p1y)}));

    // A search that found no circle with a value leaves the figure without a critical circle.
    example.state.figure.methodCritical = bishopCriticalOf(BishopSearch{});
    const test::RecordingCanvas none = example.draw(false, 1);
    EXPECT_TRUE(none.ofColour(Drawn::Kind::Arc, test::kArcColour).empty());
    EXPECT_FALSE(none.hasText("R = 16.60 m"));
}

TEST(FigureOptions, EachLoadIsAnArrowPointingDownOntoTheGround) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    example.state.figure.annotate = true;
    const test::RecordingCanvas canvas = example.draw(false, 1);
    DeviceMapping m = makeDeviceMapping(600, 600, example.setup);
    m.shiftX = -example.state.view.figurePageLeftX;
    m.topY = example.setup.figureTopY;
    const DevicePoint ground{toDeviceX(m, 54.0), toDeviceY(m, 16.0)};
    int heads = 0;
    int shafts = 0;
    for (const Drawn& line : canvas.ofColour(Drawn::Kind::Line, test::kLoadColour)) {
        if (line.points[0] != ground) continue;
        EXPECT_LT(line.points[1].y, ground.y);  // up from the ground
        if (line.points[1].x == ground.x) {
            ++shafts;
        } else {
            ++heads;
        }
    }
    EXPECT_EQ(shafts, 2);  // the figure's own mark and the arrow
    EXPECT_EQ(heads, 2);
}

TEST(FigureOptions, LegendsStandRightToLeftAlongTheTopAndOnlyWhereTheyFit) {
    LegendShelf shelf({100, 50, 1000, 600}, 10);
    const auto first = shelf.place(300, 200);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->right, 990);
    EXPECT_EQ(first->top, 60);
    const auto second = shelf.place(300, 500);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->right, 680);
    EXPECT_FALSE(shelf.place(300, 100));                              // no room left of the two
    EXPECT_FALSE(LegendShelf({0, 0, 400, 100}, 10).place(100, 200));  // taller than the window
}

TEST(FigureOptions, TheScaleBarIsTheLongestRoundLengthUpToFiftyMillimetres) {
    EXPECT_DOUBLE_EQ(scaleBarMetres(150), 5.0);
    EXPECT_DOUBLE_EQ(scaleBarMetres(200), 10.0);
    EXPECT_DOUBLE_EQ(scaleBarMetres(500), 20.0);
    EXPECT_DOUBLE_EQ(scaleBarMetres(1000), 50.0);
    EXPECT_DOUBLE_EQ(scaleBarMetres(100), 5.0);
    EXPECT_DOUBLE_EQ(scaleBarMetres(30), 1.0);
}

}  // namespace
}  // namespace dorvo

namespace dorvo {
namespace {

TEST(FigureOptions, FailingRealisationsCirclesAreDrawnThinUnderTheCriticalCircle) {
    ComputedExample f;
    ASSERT_TRUE(f.loaded);
    const std::size_t plainArcs = [&] {
        const test::RecordingCanvas plain = f.draw(true, 1);
        return std::size_t(
            std::count_if(plain.drawn.begin(), plain.drawn.end(),
                          [](const Drawn& d) { return d.kind == Drawn::Kind::Arc; }));
    }();
    const CriticalCircle& c = f.project.critical;
    f.state.figure.failingCircles = {
        c, {c.centreX + 1, c.centreY, c.radius + 1, c.p1x - 1, c.p1y, c.p2x + 1, c.p2y}};
    const test::RecordingCanvas canvas = f.draw(true, 1);
    std::vector<std::size_t> arcs;
    for (std::size_t i = 0; i < canvas.drawn.size(); ++i) {
        if (canvas.drawn[i].kind == Drawn::Kind::Arc) arcs.push_back(i);
    }
    ASSERT_EQ(arcs.size(), plainArcs + 2);
    EXPECT_EQ(canvas.drawn[arcs[arcs.size() - 3]].colour, 0x4040e0u);
    EXPECT_EQ(canvas.drawn[arcs[arcs.size() - 2]].colour, 0x4040e0u);
    EXPECT_NE(canvas.drawn[arcs.back()].colour, 0x4040e0u);  // the critical circle last, on top
}

}  // namespace
}  // namespace dorvo
