// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/results_page.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/margins_table.h"
#include "support/recording_canvas.h"
#include "support/render_fixture.h"

namespace dorvo {
namespace {

test::RecordingCanvas drawResultsPage(test::RenderFixture& f, int page) {
    f.state.view.currentPage = page;
    test::RecordingCanvas canvas;
    layOutResultsPage(canvas, f.inputs(), f.state, PageMode::Drawing);
    return canvas;
}

std::set<int> resultRowsOf(const test::RecordingCanvas& canvas) {
    std::set<int> rows;
    for (const test::Drawn& text : canvas.texts()) {
        if (text.font.heightPx == 12) rows.insert(text.points[0].y);  // 9 pt result font
    }
    return rows;
}

const char* const kShortStream =
    "$$CSV\r\n018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS\r\n"
    "028,    1.00,    2.00,    3.00,       4.00,       5.00,       6.00,       7.00,    1.250\r\n"
    "801,----\r\n$$END\r\n";

TEST(ResultsPage, ShortStreamTakesThreeRowsAndFourWithUnits) {
    test::RenderFixture f;
    f.writeResults(kShortStream);
    EXPECT_EQ(resultRowsOf(drawResultsPage(f, 1)).size(), 3u);
    f.setSetting(16, "1");
    f.setSetting(15, "1");
    test::RecordingCanvas withUnits = drawResultsPage(f, 1);
    EXPECT_EQ(resultRowsOf(withUnits).size(), 4u);
    EXPECT_TRUE(withUnits.hasText("  kNm"));
    f.setSetting(15, "0");
    EXPECT_EQ(resultRowsOf(drawResultsPage(f, 1)).size(), 3u);
}

TEST(ResultsPage, FieldsStandAtTheColumnsTheirCodeSelects) {
    test::RenderFixture f;
    f.writeResults(
        "$$CSV\r\n055,FS min.,( Rx:    5.00,Ry:   12.00,R:    7.00 ),=   1.250\r\n"
        "801,----\r\n$$ANS\r\n"
        "055,FS min.,( Rx:    5.00,Ry:   12.00,R:    7.00 ),=   1.250\r\n$$END\r\n");
    test::RecordingCanvas canvas = drawResultsPage(f, 1);
    const DeviceMapping paper =
        paperMapping(makeDeviceMapping(96, 96, f.setup), pageMetresY(100, 297, 15));
    std::vector<int> minimumColumns;
    for (const test::Drawn& text : canvas.texts()) {
        if (text.text == "=   1.250") minimumColumns.push_back(text.points[0].x);
    }
    ASSERT_EQ(minimumColumns.size(), 2u);  // the answer's 055 is laid out like the others
    const int fifth = toDeviceX(paper, marginPosition(f.margins, 13, 5) * 0.1);
    EXPECT_EQ(minimumColumns[0], fifth);
    EXPECT_EQ(minimumColumns[1], fifth);
}

TEST(ResultsPage, ThirdCharacterNineDrawsEightFields) {
    test::RenderFixture f;
    f.writeResults("$$CSV\r\n029,a,b,c,d,e,f,g,h,i,j\r\n$$END\r\n");
    test::RecordingCanvas canvas = drawResultsPage(f, 1);
    EXPECT_TRUE(canvas.hasText("h"));
    EXPECT_FALSE(canvas.hasText("i"));
}

TEST(ResultsPage, ErrorLinesTakeNoRow) {
    test::RenderFixture f;
    f.writeResults(
        "$$CSV\r\n073,    5.00,   12.00,    ---\r\nerror  R-Over (next Ic)\r\n"
        "073,    6.00,   12.00,    ---\r\n$$END\r\n");
    test::RecordingCanvas canvas = drawResultsPage(f, 1);
    std::set<int> rows = resultRowsOf(canvas);
    ASSERT_EQ(rows.size(), 2u);
    const int gap = *rows.rbegin() - *rows.begin();
    EXPECT_LT(gap, 20);  // adjacent rows: one row height (about 14 pixels) apart
}

TEST(ResultsPage, WithoutAResultsFileOnlyTheHeading) {
    test::RenderFixture f;
    f.setSetting(26, "RESULTS");
    f.setSetting(43, "1");
    f.setSetting(59, "281");
    test::RecordingCanvas canvas = drawResultsPage(f, 1);
    ASSERT_EQ(canvas.texts().size(), 1u);
    EXPECT_EQ(canvas.texts()[0].text, "RESULTS");
    test::RecordingCanvas counter;
    EXPECT_EQ(layOutResultsPage(counter, f.inputs(), f.state, PageMode::Counting), 1);
}

TEST(ResultsPage, LongStreamsPageAndNumberEveryPage) {
    test::RenderFixture f;
    std::string stream = "$$CSV\r\n";
    for (int i = 0; i < 150; ++i) stream += "073,    5.00,   12.00,    ---\r\n";
    f.writeResults(stream + "$$END\r\n");
    f.setSetting(43, "3");
    f.setSetting(59, "281");
    f.setSetting(54, "(");
    test::RecordingCanvas counter;
    const int pages = layOutResultsPage(counter, f.inputs(), f.state, PageMode::Counting);
    EXPECT_EQ(pages, 3);
    EXPECT_TRUE(drawResultsPage(f, 2).hasText("(4)"));
    EXPECT_FALSE(resultRowsOf(drawResultsPage(f, 3)).empty());
}

/// The texts of a page with their places, to compare two draws of the same page.
std::vector<std::pair<std::string, DevicePoint>> textsOf(const test::RecordingCanvas& canvas) {
    std::vector<std::pair<std::string, DevicePoint>> texts;
    for (const test::Drawn& text : canvas.texts()) texts.emplace_back(text.text, text.points[0]);
    return texts;
}

std::string mixedStream(int centres) {
    std::string stream = "$$CSV\r\n018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS\r\n";
    for (int i = 0; i < centres; ++i) {
        stream +=
            "028,    1.00,    2.00,    3.00,       4.00,       5.00,       6.00,       "
            "7.00,    1.250\r\n";
        stream +=
            "038,     ,     ,    3.50,       4.00,       5.00,       6.00,       7.00,    "
            "1.300\r\n";
        stream += "055,FS min.,( Rx:    1.00,Ry:    2.00,R:    3.00 ),=   1.250\r\n";
        if (i % 7 == 0) stream += "073,    5.00,   12.00,    ---\r\n";
    }
    return stream +
           "801,----\r\n$$ANS\r\n055,FS min.,( Rx:    1.00,Ry:    2.00,R:    3.00 ),=   "
           "1.250\r\n$$END\r\n";
}

TEST(ResultsPage, PageIndexDrawsEveryPageAsALayoutFromTheStartDoes) {
    test::RenderFixture f;
    f.writeResults(mixedStream(200));
    f.setSetting(16, "1");  // the units row after the column heads
    f.setSetting(settings_line::kUnitDisplay, "1");
    f.setSetting(43, "1");
    f.setSetting(59, "281");
    test::RecordingCanvas counter;
    const int pages = layOutResultsPage(counter, f.inputs(), f.state, PageMode::Counting);
    ASSERT_GT(pages, 5);
    EXPECT_EQ(f.state.resultPages.starts.size(), std::size_t(pages - 1));
    // Backwards, so that every page comes from the index, never from the page before it.
    for (int page = pages; page >= 1; --page) {
        test::RenderFixture fresh;
        fresh.writeResults(mixedStream(200));
        fresh.project = f.project;
        fresh.state.view.currentPage = page;
        test::RecordingCanvas fromStart;
        layOutResultsPage(fromStart, fresh.inputs(), fresh.state, PageMode::Drawing);
        EXPECT_EQ(textsOf(drawResultsPage(f, page)), textsOf(fromStart)) << "page " << page;
    }
}

TEST(ResultsPage, LastPageDrawnFirstFindsItsPlaceAndCountingThenReusesIt) {
    test::RenderFixture f;
    f.writeResults(mixedStream(200));
    test::RecordingCanvas counter;
    const int pages = layOutResultsPage(counter, f.inputs(), f.state, PageMode::Counting);
    test::RenderFixture g;
    g.writeResults(mixedStream(200));
    const test::RecordingCanvas last =
        drawResultsPage(g, pages);  // lays out up to it, noting starts
    EXPECT_FALSE(resultRowsOf(last).empty());
    EXPECT_EQ(g.state.resultPages.starts.size(), std::size_t(pages - 1));
    EXPECT_EQ(layOutResultsPage(counter, g.inputs(), g.state, PageMode::Counting), pages);
}

TEST(ResultsPage, NewResultsFileReplacesThePageIndex) {
    test::RenderFixture f;
    f.writeResults(mixedStream(200));
    test::RecordingCanvas counter;
    const int longPages = layOutResultsPage(counter, f.inputs(), f.state, PageMode::Counting);
    f.writeResults(kShortStream);
    EXPECT_LT(layOutResultsPage(counter, f.inputs(), f.state, PageMode::Counting), longPages);
    EXPECT_EQ(resultRowsOf(drawResultsPage(f, 1)).size(), 3u);
}

// A count is told of each page once, as it reaches it; stopped, it gives no count, and a later
// count goes on to the end with the page index it left.
TEST(ResultsPage, ACountAsksAtEachNewPageAndStopsWhenTold) {
    test::RenderFixture f;
    f.writeResults(mixedStream(200));
    test::RecordingCanvas counter;
    std::vector<int> asked;
    const std::optional<int> stopped =
        countResultPages(counter, f.inputs(), f.state, [&](int counted) {
            asked.push_back(counted);
            return counted < 4;
        });
    EXPECT_FALSE(stopped.has_value());
    EXPECT_EQ(asked, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(f.state.resultPages.pageCount, 0);

    asked.clear();
    const std::optional<int> pages =
        countResultPages(counter, f.inputs(), f.state, [&](int counted) {
            asked.push_back(counted);
            return true;
        });
    ASSERT_TRUE(pages.has_value());
    test::RenderFixture g;
    g.writeResults(mixedStream(200));
    EXPECT_EQ(*pages, layOutResultsPage(counter, g.inputs(), g.state, PageMode::Counting));
    ASSERT_EQ(asked.size(), std::size_t(*pages - 1));
    EXPECT_EQ(asked.back(), *pages);
    EXPECT_EQ(f.state.resultPages.starts.size(), std::size_t(*pages - 1));
}

}  // namespace
}  // namespace dorvo
