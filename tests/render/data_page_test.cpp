// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/data_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/recording_canvas.h"
#include "support/render_fixture.h"

namespace dorvo {
namespace {

int count(test::RenderFixture& f) {
    test::RecordingCanvas canvas;
    return layOutDataPage(canvas, f.inputs(), f.state, PageMode::Counting);
}

test::RecordingCanvas drawDataPage(test::RenderFixture& f, int page) {
    f.state.view.currentPage = page;
    test::RecordingCanvas canvas;
    layOutDataPage(canvas, f.inputs(), f.state, PageMode::Drawing);
    return canvas;
}

/// The distinct row positions (device Y) of the texts drawn in the data font.
std::set<int> dataRowsOf(const test::RecordingCanvas& canvas, int heightPx) {
    std::set<int> rows;
    for (const test::Drawn& text : canvas.texts()) {
        if (text.font.heightPx == heightPx) rows.insert(text.points[0].y);
    }
    return rows;
}

/// The texts of the row that holds `text`, from left to right.
std::vector<std::string> rowHolding(const test::RecordingCanvas& canvas, std::string_view text) {
    std::optional<int> y;
    for (const test::Drawn& drawn : canvas.texts()) {
        if (drawn.text == text) y = drawn.points[0].y;
    }
    std::vector<test::Drawn> row;
    for (const test::Drawn& drawn : canvas.texts()) {
        if (y && drawn.points[0].y == *y) row.push_back(drawn);
    }
    std::ranges::stable_sort(row, {}, [](const test::Drawn& d) { return d.points[0].x; });
    std::vector<std::string> texts;
    for (const test::Drawn& drawn : row) texts.push_back(drawn.text);
    return texts;
}

void addBlock(test::RenderFixture& f, int row, int lines) {
    f.project.block(row).x = std::to_string(row * 10);
    std::string text;
    for (int i = 1; i <= lines; ++i) text += std::to_string(i) + "," + std::to_string(i) + ",1,";
    f.project.block(row).lines = text;
}

TEST(DataPage, WithoutBlocksTheLayersStillBeginOnPageTwo) {
    test::RenderFixture f;
    f.setSetting(22, "BLOCKS");
    f.setSetting(23, "LAYERS");
    f.project.layer(1) = {"1", "18", "18", "30", "5", "0", "", ""};
    EXPECT_EQ(count(f), 2);
    EXPECT_FALSE(drawDataPage(f, 1).hasText("BLOCKS"));
    EXPECT_TRUE(drawDataPage(f, 2).hasText("LAYERS"));
}

TEST(DataPage, BlockOfTwentyLinesTakesTwentyTwoRows) {
    test::RenderFixture f;
    addBlock(f, 1, 20);
    test::RecordingCanvas canvas = drawDataPage(f, 1);
    EXPECT_EQ(dataRowsOf(canvas, 12).size(), 22u);  // 9 pt at 96 dpi
    EXPECT_TRUE(canvas.hasText("ブロックNo.1"));
    EXPECT_TRUE(canvas.hasText("      20"));
}

TEST(DataPage, RowsPerPageStayBetweenTwoAndTwoHundred) {
    test::RenderFixture f;
    auto rowsPerPage = [&](double points) {
        f.fonts[3].sizePoints = points;
        test::RecordingCanvas canvas;
        return RowEngine(canvas, f.inputs(), f.state.view, PageMode::Counting,
                         font_slot::kDataTables, f.state.remembered.dataRow,
                         f.state.remembered.dataHeading)
            .rowsPerPage();
    };
    EXPECT_EQ(rowsPerPage(200), 2);    // fewer than four rows fit
    EXPECT_EQ(rowsPerPage(9), 66);     // 26 cm of rows 0.38 cm high, less two
    EXPECT_EQ(rowsPerPage(1.5), 200);  // 409 rows would fit

    for (int row = 1; row <= 10; ++row) addBlock(f, row, 20);
    f.fonts[3].sizePoints = 1.5;
    EXPECT_EQ(count(f), 3);  // 220 rows of blocks, then the layers
}

TEST(DataPage, EmptyCellsPrintAsDashOrBlank) {
    test::RenderFixture f;
    f.project.block(1).x = "10";
    f.project.block(1).lines = "1,1,,2,2,3";
    f.project.circleSearch.line(1) = "5";
    f.project.circleSearch.line(8) = "1.5";
    test::RecordingCanvas first = drawDataPage(f, 1);
    EXPECT_TRUE(first.hasText("  -"));
    EXPECT_TRUE(first.hasText("   3"));
    test::RecordingCanvas second = drawDataPage(f, 2);
    EXPECT_TRUE(second.hasText("    5.00"));
    EXPECT_EQ(rowHolding(second, "上部すべり面座標"),
              (std::vector<std::string>{"半径設定", "上部すべり面座標", " Y=", ""}));
    EXPECT_EQ(rowHolding(second, "下部すべり面座標"),
              (std::vector<std::string>{"", "下部すべり面座標", " Y=", "    1.50"}));
}

TEST(DataPage, NewPageFlagStartsTheLoadsOnTheirOwnPage) {
    test::RenderFixture f;
    f.setSetting(24, "LOADS");
    f.project.load(2) = {"4", "30"};
    EXPECT_EQ(count(f), 2);
    EXPECT_TRUE(drawDataPage(f, 2).hasText("LOADS"));
    f.setSetting(39, "1");
    EXPECT_EQ(count(f), 3);
    EXPECT_TRUE(drawDataPage(f, 3).hasText("LOADS"));
    EXPECT_TRUE(drawDataPage(f, 3).hasText("  2"));
}

TEST(DataPage, UnitsAndSettingsLines) {
    test::RenderFixture f;
    f.setSetting(15, "1");
    f.setSetting(12, "10");
    f.setSetting(13, "3");
    f.setSetting(11, "0.15");
    f.project.layer(1) = {"1", "18", "18", "30", "5", "0", "", ""};
    test::RecordingCanvas canvas = drawDataPage(f, 2);
    EXPECT_TRUE(canvas.hasText("kN/m2"));
    EXPECT_TRUE(canvas.hasText("粘着力の基準面 Yc =  10.00  m"));
    EXPECT_TRUE(canvas.hasText("等分布荷重の層No. =   3"));
    EXPECT_TRUE(canvas.hasText("地震時水平震度 Kh =   0.15"));
    EXPECT_TRUE(canvas.hasText("中心点 m"));
    EXPECT_EQ(rowHolding(canvas, "終点座標").front(), " m");  // a row without a caption
}

TEST(DataPage, ConcentratedLoadIsAForcePerMetreOfSlopeWhileDensitiesArePerCubicMetre) {
    test::RenderFixture f;
    f.project.layer(1) = {"1", "18", "18", "30", "5", "0", "", ""};
    f.project.load(1) = {"4", "30"};
    f.setSetting(15, "1");
    test::RecordingCanvas kilonewtons = drawDataPage(f, 2);
    EXPECT_EQ(rowHolding(kilonewtons, "kN/m"), (std::vector<std::string>{"m", "kN/m"}));
    EXPECT_EQ(rowHolding(kilonewtons, "度"),
              (std::vector<std::string>{"kN/m3", "kN/m3", "度", "kN/m2"}));
    f.setSetting(15, "2");
    test::RecordingCanvas tonnesForce = drawDataPage(f, 2);
    EXPECT_EQ(rowHolding(tonnesForce, "tf/m"), (std::vector<std::string>{"m", "tf/m"}));
    EXPECT_EQ(rowHolding(tonnesForce, "度"),
              (std::vector<std::string>{"tf/m3", "tf/m3", "度", "tf/m2"}));
}

TEST(DataPage, CountingAndDrawingBreakAtTheSameRows) {
    test::RenderFixture f;
    for (int row = 1; row <= 12; ++row) addBlock(f, row, 3 + row % 5);
    for (int row = 1; row <= 20; ++row) {
        f.project.layer(row) = {std::to_string(row), "18", "18", "30", "5", "0", "", ""};
    }
    f.project.load(1) = {"4", "30"};
    f.setSetting(40, "0");
    const int pages = count(f);
    ASSERT_GT(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        EXPECT_FALSE(dataRowsOf(drawDataPage(f, page), 12).empty()) << "page " << page;
    }
    EXPECT_TRUE(dataRowsOf(drawDataPage(f, pages + 1), 12).empty());
}

TEST(DataPage, PrinterTakesTheScreensRowHeightWhenTheyNearlyAgree) {
    test::RenderFixture f;
    for (int row = 1; row <= 8; ++row) addBlock(f, row, 20);
    drawDataPage(f, 1);  // the screen draws first and remembers its heights
    const double screenRow = f.state.remembered.dataRow;
    ASSERT_GT(screenRow, 0.0);
    f.state.view.printing = true;
    f.state.view.currentPage = 1;
    test::RecordingCanvas printer(100.0);  // within 3 %: rows break as on the screen
    const int printed = layOutDataPage(printer, f.inputs(), f.state, PageMode::Counting);
    f.state.view.printing = false;
    EXPECT_EQ(printed, count(f));
    EXPECT_EQ(f.state.remembered.dataRow, screenRow);
}

}  // namespace
}  // namespace dorvo
