// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/page_setup.h"

#include <gtest/gtest.h>

#include <climits>

#include "render/drawing.h"
#include "render/pages.h"
#include "support/recording_canvas.h"
#include "support/render_fixture.h"

namespace dorvo {
namespace {

TEST(PageSetup, PageSizesInMetres) {
    EXPECT_EQ(pageMetresX(500, 210, 10), 95);
    EXPECT_EQ(pageMetresY(500, 297, 10), 133);
    EXPECT_EQ(pageMetresX(2000, 10, 25), -50);  // nothing left to draw on
}

TEST(PageSetup, ExtremeNumbersFromAProjectFileDoNotOverflow) {
    // Values a project or settings file can hold; the arithmetic must stay defined.
    EXPECT_EQ(pageMetresX(INT_MAX, INT_MIN, INT_MAX), INT_MIN);
    EXPECT_EQ(pageMetresY(INT_MAX, INT_MAX, INT_MIN), INT_MAX);
    PageSetup setup;
    setup.pageWidthM = INT_MAX;
    setup.pageOverlapM = INT_MIN;
    EXPECT_DOUBLE_EQ(pageStepM(setup), 2.0 * INT_MAX + 1.0);
    ViewState view;
    view.printing = true;
    view.currentPage = 3;
    EXPECT_GT(figureWindowOf(setup, view).left, 1e9);
    EXPECT_EQ(formatPageNumber(static_cast<long long>(INT_MAX) + INT_MAX - 1, "", ""),
              "4294967293");
}

TEST(PageSetup, FigurePagesCountOnlyTheSectionInX) {
    test::RenderFixture f;
    f.setup.figureLeftX = 10;
    f.setup.pageWidthM = 95;
    f.setup.pageOverlapM = 0;
    f.project.block(1).x = "105";  // exactly one page step beyond the left edge
    EXPECT_EQ(countFigurePages(f.project, f.setup), 2);
    f.project.block(1).x = "104.9";
    EXPECT_EQ(countFigurePages(f.project, f.setup), 2);  // the 0.01 before truncating
    f.project.block(1).x = "104";
    EXPECT_EQ(countFigurePages(f.project, f.setup), 1);
    f.project.circleSearch.line(3) = "500";  // a centre grid reaching further adds no page
    EXPECT_EQ(countFigurePages(f.project, f.setup), 1);
}

TEST(PageSetup, PrintedPagesStepByWidthLessOverlap) {
    PageSetup setup;
    setup.figureLeftX = 7;
    setup.pageWidthM = 95;
    setup.pageOverlapM = 10;
    ViewState view;
    view.printing = true;
    view.currentPage = 3;
    FigureWindowOnPage window = figureWindowOf(setup, view);
    EXPECT_EQ(window.left, 7 + 170);
    EXPECT_EQ(window.right, 7 + 170 + 95);
    view.printing = false;
    view.figurePageLeftX = 12.5;
    EXPECT_EQ(figureWindowOf(setup, view).left, 12.5);
}

TEST(PageSetup, DeviceConversionTruncatesAndClamps) {
    PageSetup setup;
    setup.leftMarginMm = 10;
    setup.topMarginMm = 10;
    DeviceMapping mapping = makeDeviceMapping(96, 96, setup);
    const int marginLine = toDeviceX(mapping, 0.0);
    EXPECT_EQ(marginLine, 37);                            // 10 mm at 96 dpi
    EXPECT_EQ(toDeviceX(mapping, -1.0), marginLine - 7);  // 7.56 px left, truncated
    EXPECT_EQ(toDeviceX(mapping, 1e9), 32767);
    EXPECT_EQ(toDeviceX(mapping, -1e9), -32767);
    EXPECT_EQ(toDeviceY(mapping, -1e9), 32767);
    EXPECT_EQ(toDeviceY(mapping, std::numeric_limits<double>::infinity()), -32767);
}

TEST(PageSetup, PageNumberForms) {
    EXPECT_EQ(formatPageNumber(3, "(", "II-"), "(II-3)");
    EXPECT_EQ(formatPageNumber(3, "-", ""), "-3-");
    EXPECT_EQ(formatPageNumber(12, "<>", "A"), "<A12>");
    EXPECT_EQ(formatPageNumber(3, "x", ""), "x3");
    EXPECT_EQ(formatPageNumber(3, "", "p"), "p3");
    EXPECT_EQ(formatPageNumber(0, "(", "II-"), "");
}

TEST(PageSetup, ReturningToTheFirstPageStopsAtTheLeftEdge) {
    FigureWindow setup;
    setup.figureLeftX = 10;
    setup.pageWidthM = 50;
    setup.pageOverlapM = 5;
    EXPECT_EQ(returnToFirstPage(100, setup), 10);  // 55, then 10
    EXPECT_EQ(returnToFirstPage(10, setup), 10);
    setup.pageWidthM = 5;
    setup.pageOverlapM = 5;  // no step: at most 50 tries
    EXPECT_EQ(returnToFirstPage(100, setup), 100);
}

TEST(PageSetup, PaperDefaultsFillAnUnsetWindow) {
    PageSetup setup;
    setup.scaleX = 500;
    setup.scaleY = 500;
    setup.paperWidthMm = 210;
    setup.paperHeightMm = 297;
    setup.leftMarginMm = 10;
    setup.topMarginMm = 10;
    setup.pageWidthM = 0;
    setup.pageDepthM = -1;
    setup.figureLeftX = 30;
    ViewState view;
    view.figurePageLeftX = 30;
    applyPaperDefaults(setup, view);
    EXPECT_EQ(setup.pageWidthM, 95);
    EXPECT_EQ(setup.pageDepthM, 133);
    EXPECT_EQ(setup.figureTopY, 5.0);
    EXPECT_EQ(setup.figureLeftX, 0);
    EXPECT_EQ(view.figurePageLeftX, 0.0);
}

TEST(PageSetup, FigureExtentsTakeBlocksLinesAndTheGrid) {
    Project project;
    project.block(1).x = "30";
    project.block(1).lines = "5,12,1";
    project.circleSearch.line(3) = "45";
    project.circleSearch.line(4) = "8";
    FigureExtents extents = figureExtents(project);
    EXPECT_EQ(extents.x, 45.0);
    EXPECT_EQ(extents.y, 12.0);
}

TEST(PageSetup, CountingBringsACurrentPageBeyondTheCountBackToOne) {
    test::RenderFixture f;
    f.project.block(1).x = "10";
    f.state.view.page = ViewPage::Results;
    f.state.view.currentPage = 4;
    test::RecordingCanvas canvas;
    EXPECT_EQ(countPages(canvas, f.inputs(), f.state), 1);
    EXPECT_EQ(f.state.view.currentPage, 1);
}

TEST(DashedLine, WidthDashAndGapRules) {
    test::RecordingCanvas canvas;
    drawDashedLine(canvas, {0, 0}, {100, 0}, 8, 4, 0, 1);
    EXPECT_TRUE(canvas.drawn.empty());
    drawDashedLine(canvas, {0, 0}, {100, 0}, 0, 4, 1, 1);
    EXPECT_TRUE(canvas.drawn.empty());
    drawDashedLine(canvas, {0, 0}, {100, 0}, 8, 0, 1, 1);
    ASSERT_EQ(canvas.drawn.size(), 1u);
    EXPECT_EQ(canvas.drawn[0].points[1], (DevicePoint{100, 0}));
    canvas.drawn.clear();
    drawDashedLine(canvas, {0, 0}, {0, 100}, 8, 2, 1, 1);
    ASSERT_EQ(canvas.drawn.size(), 10u);
    EXPECT_EQ(canvas.drawn[1].points[0], (DevicePoint{0, 10}));
    EXPECT_EQ(canvas.drawn[1].points[1], (DevicePoint{0, 18}));
}

}  // namespace
}  // namespace dorvo
