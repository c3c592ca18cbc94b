// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/figure_page.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include <fstream>
#include <sstream>

#include "app/calculation.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "render/drawing.h"
#include "support/memory_message_sink.h"
#include "support/project_builder.h"
#include "support/recording_canvas.h"
#include "support/render_fixture.h"

namespace dorvo {
namespace {

using test::Drawn;

test::RecordingCanvas draw(test::RenderFixture& f) {
    test::RecordingCanvas canvas;
    drawFigurePage(canvas, f.inputs(), f.state);
    return canvas;
}

TEST(FigurePage, BlockWithoutLinesDrawsNothingAndCarriesNoLoads) {
    test::RenderFixture f;
    f.project.block(1).x = "10";
    f.project.block(1).lines = "5,5,1";
    f.project.block(2).x = "20";  // no lines
    f.project.load(1) = {"15", "10"};
    test::RecordingCanvas canvas = draw(f);
    EXPECT_EQ(canvas.ofColour(Drawn::Kind::Line, test::kBlockColour).size(), 4u);
    EXPECT_TRUE(canvas.ofColour(Drawn::Kind::Line, test::kLoadColour).empty());
}

TEST(FigurePage, LoadAtABlocksRightXBelongsToTheNextBlock) {
    test::RenderFixture f;
    f.project.block(1).x = "10";
    f.project.block(1).lines = "5,5,1";
    f.project.block(2).x = "20";
    f.project.block(2).lines = "8,8,1";
    f.project.load(1) = {"10", "10"};
    test::RecordingCanvas canvas = draw(f);
    auto loads = canvas.ofColour(Drawn::Kind::Line, test::kLoadColour);
    ASSERT_EQ(loads.size(), 1u);
    DeviceMapping m = makeDeviceMapping(96, 96, f.setup);
    m.topY = f.setup.figureTopY;
    EXPECT_EQ(loads[0].points[0], (DevicePoint{toDeviceX(m, 10), toDeviceY(m, 8)}));
    // Two millimetres up on paper.
    EXPECT_EQ(loads[0].points[1].y, toDeviceY(m, 8 + 500 * 2 * 0.001));
}

TEST(FigurePage, SingleRowCentreGridGetsMarksAtEachGridX) {
    test::RenderFixture f;
    test::ProjectBuilder builder;
    builder.search(10, 20, 14, 20, 2, 1, 15, 10, 1);
    f.project.circleSearch = builder.project().circleSearch;
    test::RecordingCanvas canvas = draw(f);
    DeviceMapping m = makeDeviceMapping(96, 96, f.setup);
    m.topY = f.setup.figureTopY;
    int marks = 0;
    for (const Drawn& line : canvas.ofColour(Drawn::Kind::Line, test::kCentreGridColour)) {
        if (line.points[0].y == toDeviceY(m, 20.8) && line.points[1].y == toDeviceY(m, 19.2)) {
            ++marks;
        }
    }
    EXPECT_EQ(marks, 3);
}

TEST(FigurePage, LaterPrintedPagesOmitYAxisHeadingAndPageNumberUnlessAsked) {
    test::RenderFixture f;
    f.project.block(1).x = "200";
    f.project.block(1).lines = "5,5,1";
    f.setSetting(21, "\x92\x66\x96\xca\x90\x7d");  // 断面図
    f.setSetting(41, "1");
    f.setSetting(59, "281");
    f.setSetting(49, "-");
    f.state.view.printing = true;
    f.state.view.currentPage = 2;
    test::RecordingCanvas second = draw(f);
    EXPECT_FALSE(second.hasText("断面図"));
    EXPECT_FALSE(second.hasText("-2-"));
    DeviceMapping m = makeDeviceMapping(96, 96, f.setup);
    const int leftEdge = toDeviceX(m, 0);  // the page's left edge, whatever page it is
    bool yAxis = false;
    bool xAxis = false;
    for (const Drawn& line : second.ofColour(Drawn::Kind::Line, test::kAxisColour)) {
        const bool vertical = line.points[0].x == leftEdge && line.points[1].x == leftEdge;
        yAxis = yAxis || (vertical && std::abs(line.points[1].y - line.points[0].y) > 20);
        xAxis = xAxis || line.points[0].y == line.points[1].y;
    }
    EXPECT_FALSE(yAxis);
    EXPECT_TRUE(xAxis);

    f.setSetting(27, "1");
    test::RecordingCanvas repeated = draw(f);
    EXPECT_TRUE(repeated.hasText("断面図"));
    EXPECT_TRUE(repeated.hasText("-2-"));
}

TEST(FigurePage, ZeroStepsHideTheGridAndTheTicks) {
    test::RenderFixture f;
    EXPECT_FALSE(draw(f).ofColour(Drawn::Kind::Line, test::kGridColour).empty());
    EXPECT_FALSE(draw(f).ofColour(Drawn::Kind::Line, test::kAxisColour).empty());
    f.settings.gridStepX = 0;
    f.settings.gridStepY = 0;
    f.settings.axisTickStep = 0;
    test::RecordingCanvas canvas = draw(f);
    EXPECT_TRUE(canvas.ofColour(Drawn::Kind::Line, test::kGridColour).empty());
    EXPECT_TRUE(canvas.ofColour(Drawn::Kind::Line, test::kAxisColour).empty());
}

/// The lowest number of the Y axis and the leftmost number of the X axis.
struct FirstAxisNumbers {
    std::string y;
    std::string x;
};

FirstAxisNumbers firstAxisNumbers(test::RenderFixture& f) {
    const int axisFontPx = fontHeightPx(f.inputs().font(font_slot::kFigureAxes), 96);
    FirstAxisNumbers first;
    for (const Drawn& text : draw(f).texts()) {
        if (text.font.heightPx != axisFontPx) continue;
        std::string& number = text.align == TextAlign::BottomCentre ? first.x : first.y;
        if (number.empty()) number = text.text;  // both axes count upward
    }
    return first;
}

TEST(FigurePage, AxisNumbersStandStrictlyAboveTheBottomEdgeAndRightOfTheLeftEdge) {
    test::RenderFixture f;
    ASSERT_EQ(f.settings.axisLabelStep, 10);
    struct Case {
        double edge;
        const char* first;
    };
    for (const Case& c : {Case{0, "10"}, Case{20, "30"}, Case{-20, "-10"}, Case{3, "10"},
                          Case{-3, "0"}, Case{-15, "-10"}}) {
        f.setup.figureTopY = c.edge + f.setup.pageDepthM;
        f.state.view.figurePageLeftX = c.edge;
        const FirstAxisNumbers numbers = firstAxisNumbers(f);
        EXPECT_EQ(numbers.y, c.first) << "bottom edge at " << c.edge;
        EXPECT_EQ(numbers.x, c.first) << "left edge at " << c.edge;
    }
}

TEST(FigurePage, StartPageFiveNumbersPageOneAsFive) {
    test::RenderFixture f;
    f.setSetting(41, "5");
    f.setSetting(59, "281");
    EXPECT_TRUE(draw(f).hasText("5"));
    f.setSetting(59, "");  // no position: no page number
    EXPECT_FALSE(draw(f).hasText("5"));
}

TEST(FigurePage, ScreenOnlyOutlineOfTheWindow) {
    test::RenderFixture f;
    auto outlines = [](const test::RecordingCanvas& canvas) {
        return canvas.ofColour(Drawn::Kind::Polyline, 0xffff80).size();
    };
    EXPECT_EQ(outlines(draw(f)), 1u);
    f.state.view.printing = true;
    EXPECT_EQ(outlines(draw(f)), 0u);
}

TEST(FigurePage, SoilBandsAreFilledInTheirLayerColours) {
    test::RenderFixture f;
    f.project.block(1).x = "10";
    f.project.block(1).lines = "5,5,1,8,9,2,12,12,9";
    f.project.layer(1) = {"1", "18", "18", "30", "5", "0", "0x0000ff", ""};
    f.project.layer(2) = {"2", "18", "18", "30", "5", "0", "255", ""};
    test::RecordingCanvas canvas = draw(f);
    auto bands = canvas.ofColour(Drawn::Kind::Polygon, 0x0000ff);
    EXPECT_EQ(canvas.ofColour(Drawn::Kind::Polygon, 0xff).size(), 2u);  // 255 names red too
    EXPECT_EQ(bands.at(0).fill, Fill::ForwardDiagonal);
    f.setSetting(14, "1");
    EXPECT_EQ(draw(f).ofColour(Drawn::Kind::Polygon, 0xff).at(0).fill, Fill::Solid);
    f.setSetting(14, "2");
    EXPECT_TRUE(draw(f).ofColour(Drawn::Kind::Polygon, 0xff).empty());
}

TEST(FigurePage, ExampleAfterACalculationShowsTheCriticalCircleAndEveryCentresFs) {
    test::RenderFixture f;
    std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
    std::ostringstream oldResults;
    test::MemoryMessageSink messages;
    ASSERT_TRUE(readProjectLines(f.project, in, oldResults, "example", messages));
    const auto calculation = messages.valueOf(calculateInto(f.resultsFile, f.project, {}, nullptr));
    ASSERT_TRUE(calculation);
    ASSERT_EQ(calculation->outcome, CalculationOutcome::Completed);
    const CircleResult& best = *calculation->summary.critical;
    f.setup.figureLeftX = 20;
    f.state.view.figurePageLeftX = 20;
    // At 1/100 the centres, 1 m apart, leave room for every label.
    f.setup.scaleX = 100;
    f.setup.scaleY = 100;

    test::RecordingCanvas canvas = draw(f);
    DeviceMapping m = makeDeviceMapping(96, 96, f.setup);
    m.shiftX = -20;
    m.topY = f.setup.figureTopY;
    auto arcs = canvas.ofColour(Drawn::Kind::Arc, test::kArcColour);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0].points[2], (DevicePoint{toDeviceX(m, best.p1x), toDeviceY(m, best.p1y)}));
    EXPECT_EQ(arcs[0].points[3], (DevicePoint{toDeviceX(m, best.p2x), toDeviceY(m, best.p2y)}));
    EXPECT_EQ(arcs[0].points[0],
              (DevicePoint{toDeviceX(m, best.rx - best.r), toDeviceY(m, best.ry + best.r)}));
    const auto radii = canvas.ofColour(Drawn::Kind::Line, test::kArcColour);
    ASSERT_EQ(radii.size(), 2u);
    EXPECT_EQ(radii[0].points[0], (DevicePoint{toDeviceX(m, best.rx), toDeviceY(m, best.ry)}));

    int labels = 0;
    for (const Drawn& text : canvas.texts()) labels += text.text.find('.') != std::string::npos;
    EXPECT_EQ(labels, 15 * 15);
    EXPECT_DOUBLE_EQ(f.state.critical.radius, std::stod(formatC("%.2f", best.r)));
}

/// A results file whose centres, 1 m apart from (0, 2), give every one a label of five
/// characters; `columns` × `rows` of them.
std::string denseLabels(int columns, int rows) {
    std::string text = "$$CSV\r\n";
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            text += formatC("055,FS min.,( Rx:%8.2f,Ry:%8.2f,R:    7.00 ),=   1.%03d\r\n",
                            double(column), 2.0 + row, (row * columns + column) % 1000);
        }
    }
    return text;
}

TEST(FigurePage, FsLabelsThatWouldOverlapAnEarlierOneAreLeftOut) {
    test::RenderFixture f;  // 1/500 at 96 dpi: centres 7.5 pixels apart, labels 23 wide
    f.writeResults(denseLabels(60, 30));
    const test::RecordingCanvas canvas = draw(f);
    std::vector<DeviceRect> boxes;
    for (const Drawn& text : canvas.texts()) {
        if (!text.text.starts_with("1.")) continue;
        const int height = text.font.heightPx;
        boxes.push_back({text.points[0].x, text.points[0].y,
                         text.points[0].x + (5 * height + 1) / 2, text.points[0].y + height});
    }
    ASSERT_GT(boxes.size(), 20u);
    EXPECT_LT(boxes.size(), 60u * 30u / 4);
    EXPECT_TRUE(canvas.hasText("1.000"));  // the first centre keeps its place
    for (std::size_t a = 0; a < boxes.size(); ++a) {
        for (std::size_t b = a + 1; b < boxes.size(); ++b) {
            const bool apart = boxes[a].right <= boxes[b].left || boxes[b].right <= boxes[a].left ||
                               boxes[a].bottom <= boxes[b].top || boxes[b].bottom <= boxes[a].top;
            EXPECT_TRUE(apart) << a << " and " << b;
        }
    }
}

TEST(FigurePage, FsLabelsWhollyOutsideThePageAreNotDrawnThoseCutByItsEdgeAre) {
    test::RenderFixture f;
    f.state.view.figurePageLeftX = 100.0;  // the page shows X from 100 m to 180 m
    // Labels some 3 m wide at 1/500, each drawn from its top-left corner at its centre.
    std::string results = "$$CSV\r\n";
    const std::pair<double, const char*> centres[] = {
        {90.0, "1.001"}, {98.0, "1.002"}, {140.0, "1.003"}, {180.0, "1.004"}, {181.0, "1.005"}};
    for (const auto& [x, label] : centres) {
        results += formatC("055,FS min.,( Rx:%8.2f,Ry:   20.00,R:    7.00 ),=   %s\r\n", x, label);
    }
    f.writeResults(results);
    const test::RecordingCanvas canvas = draw(f);
    EXPECT_FALSE(canvas.hasText("1.001"));  // ends well left of the page
    EXPECT_TRUE(canvas.hasText("1.002"));   // runs into it
    EXPECT_TRUE(canvas.hasText("1.003"));
    EXPECT_TRUE(canvas.hasText("1.004"));  // starts on its right edge
    EXPECT_FALSE(canvas.hasText("1.005"));
}

TEST(FigurePage, RepaintsKeepTheLabelsPlacedForTheirPageAndPlaceThemAgainOnAnother) {
    test::RenderFixture f;
    f.writeResults(denseLabels(60, 30));
    const auto labelsOf = [](const test::RecordingCanvas& canvas) {
        std::vector<std::pair<DevicePoint, std::string>> labels;
        for (const Drawn& text : canvas.texts()) {
            if (text.text.starts_with("1.")) labels.emplace_back(text.points[0], text.text);
        }
        return labels;
    };
    const auto first = labelsOf(draw(f));
    EXPECT_EQ(labelsOf(draw(f)), first);
    f.state.view.figurePageLeftX = 30.0;  // half the grid is off this page
    const auto moved = labelsOf(draw(f));
    EXPECT_FALSE(moved.empty());
    EXPECT_LT(moved.size(), first.size());
    f.state.view.figurePageLeftX = 0.0;
    EXPECT_EQ(labelsOf(draw(f)), first);
}

TEST(FigurePage, ResultOverlayReadsLabelsCircleAndEndPoints) {
    test::RenderFixture f;
    f.writeResults(
        "$$CSV\r\n018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS\r\n"
        "055,FS min.,( Rx:    5.00,Ry:   12.00,R:    7.00 ),=   1.250\r\n"
        "073,    6.00,   12.00,    ---\r\n"
        "garbage without markers\r\n801,---\r\n$$ANS\r\n"
        "055,FS min.,( Rx:    5.00,Ry:   12.00,R:    7.00 ),=   1.250\r\n"
        "$$XY,P1(  1.5000,  8.0000),P2( 11.0000,  9.5000)\r\n$$END\r\n"
        "055,FS min.,( Rx:    9.00,Ry:   12.00,R:    7.00 ),=   0.500\r\n");
    CriticalCircle critical;
    auto labels = readResultOverlay(f.resultsFile, critical);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, "1.250");
    EXPECT_EQ(labels[0].x, 5.0);
    EXPECT_EQ(critical.radius, 7.0);
    EXPECT_EQ(critical.p1y, 8.0);
    EXPECT_EQ(critical.p2x, 11.0);

    CriticalCircle kept{1, 2, 3, 4, 5, 6, 7};
    EXPECT_TRUE(readResultOverlay(f.folder.path() / "missing", kept).empty());
    EXPECT_EQ(kept.radius, 3.0);
}

TEST(FigurePage, RepaintsReadTheResultsAgainOnlyWhenANewFileTookTheirPlace) {
    test::RenderFixture f;
    const std::string first =
        "$$CSV\r\n055,FS min.,( Rx:    5.00,Ry:   12.00,R:    7.00 ),=   1.250\r\n";
    f.writeResults(first);
    test::RecordingCanvas canvas;
    drawFigurePage(canvas, f.inputs(), f.state);
    EXPECT_TRUE(canvas.hasText("1.250"));
    ASSERT_EQ(f.state.overlay.labels.size(), 1u);

    // The same file, its time put back: a repaint keeps what it read.
    struct stat before {};
    ASSERT_EQ(::stat(f.resultsFile.c_str(), &before), 0);
    std::string changed = first;
    changed.replace(changed.find("1.250"), 5, "9.999");
    { std::ofstream(f.resultsFile, std::ios::binary | std::ios::in | std::ios::out) << changed; }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, f.resultsFile.c_str(), times, 0), 0);
    test::RecordingCanvas again;
    drawFigurePage(again, f.inputs(), f.state);
    EXPECT_TRUE(again.hasText("1.250"));

    // A calculation writes a new file: the figure reads it.
    const std::filesystem::path replacement = f.folder.path() / "new.tmp";
    test::writeBytes(replacement, changed + "073,    6.00,   12.00,    ---\r\n");
    std::filesystem::rename(replacement, f.resultsFile);
    test::RecordingCanvas after;
    drawFigurePage(after, f.inputs(), f.state);
    EXPECT_TRUE(after.hasText("9.999"));
}

TEST(FigurePage, AwkwardInputDrawsWithoutCrashing) {
    test::RenderFixture f;
    std::string lines;
    for (int i = 0; i < 20; ++i) lines += std::to_string(i) + "," + std::to_string(i + 1) + ",1,";
    for (int row = 1; row <= kMaxBlocks; ++row) {
        f.project.block(row).x = std::to_string(row * 3);
        f.project.block(row).lines = lines;
    }
    f.project.layer(1) = {"1", "18", "18", "30", "5", "0", "not a colour", ""};
    f.setSetting(21, std::string(300, 'H'));
    f.writeResults("$$CSV\r\n055,FS min.,( Rx:\r\n$$ANS\r\nRx:1e999,Ry:nan,R:-5\r\n\xff\xfe\r\n");
    f.settings.gridColour = "blue";
    f.fonts[1].face = "No Such Face";
    for (int scale : {0, 1, 100000}) {
        for (double left : {-1e7, 0.0, 1e9}) {
            f.setup.scaleX = scale > 0 ? scale : 500;
            f.setup.scaleY = scale > 0 ? scale : 500;
            f.state.view.figurePageLeftX = left;
            test::RecordingCanvas canvas = draw(f);
            EXPECT_FALSE(canvas.drawn.empty());
        }
    }
}

}  // namespace
}  // namespace dorvo
