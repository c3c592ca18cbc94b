// SPDX-License-Identifier: GPL-3.0-or-later
// The block line editor without its window: the lines text, the left block, Add and OK, and
// the preview's scene.
#include <gtest/gtest.h>

#include "editors/block_line_editing.h"
#include "editors/block_preview.h"
#include "scripted_question.h"
#include "support/memory_message_sink.h"
#include "support/recording_canvas.h"

namespace dorvo {
namespace {

/// Add as the editor runs it: a refused entry is reported; a cancelled one adds no row.
std::optional<int> add(EditorTable& table, const LineEntry& entry,
                       test::MemoryMessageSink& messages, YesNoQuestion& question) {
    const auto added = messages.valueOf(addLine(table, entry, question));
    return added ? *added : std::nullopt;
}

std::string okText(const EditorTable& table) {
    return joinLines(sortLines(table).rows);
}

TEST(BlockLineText, AnEmptyYLeftBetweenTwoLinesOpensAsAnEmptyRowThatOkDrops) {
    const EditorTable table = linesTable("1,1,1,,2,2,3,3,3");
    EXPECT_EQ(table.row(1), (TableRow{"1", "1", "1"}));
    EXPECT_EQ(table.row(2), (TableRow{"", "", ""}));
    EXPECT_EQ(table.row(3), (TableRow{"3", "3", "3"}));
    EXPECT_EQ(dataRowCount(table), 3);
    EXPECT_FALSE(findInvalidLineRow(table));
    EXPECT_EQ(okText(table), "1.00,1.00,1 ,3.00,3.00,3 ");
}

TEST(BlockLineText, OkOrdersByYLeftThenYRightAndWritesAnEmptyYRightAs000) {
    EditorTable table = emptyTable(kMaxBlockLines, kLineColumns);
    table.row(1) = {"10", "12", "1"};
    table.row(2) = {"5", "7", ""};
    table.row(3) = {"5", "6", "2"};
    table.row(4) = {"11", "", "abc"};
    EXPECT_EQ(findInvalidLineRow(table)->row, 4);  // a layer number that is not a number
    table.row(4)[2] = "2.7";
    EXPECT_EQ(okText(table), "5.00,6.00,2 ,5.00,7.00,,10.00,12.00,1 ,11.00,0.00,2 ");
}

TEST(BlockLineText, OkRefusesAYRightThatIsTextOrOutOfRange) {
    EditorTable table = emptyTable(kMaxBlockLines, kLineColumns);
    table.row(1) = {"1", "x", "1"};
    EXPECT_EQ(findInvalidLineRow(table)->message.id, MessageId::NoValidData);
    table.row(1) = {"1", "100000", "1"};
    EXPECT_EQ(findInvalidLineRow(table)->message.id, MessageId::AbnormalNumber);
}

TEST(BlockLineAdd, SameLineTwiceAsks4000AndNoAddsItTwiceThenOkReportsOne) {
    EditorTable table = emptyTable(kMaxBlockLines, kLineColumns);
    test::MemoryMessageSink messages;
    test::ScriptedQuestion question;
    EXPECT_EQ(add(table, {"5", "6", "2.0"}, messages, question), 1);
    EXPECT_EQ(table.row(1), (TableRow{"5.00", "6.00", "2"}));
    question.answers = {false};
    EXPECT_EQ(add(table, {"5", "6", "2"}, messages, question), 2);
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0].id, MessageId::DuplicateLine);
    EXPECT_NE(question.asked[0].text.find("同じ Y座標(左、右)データがあります."),
              std::string::npos);

    const SortedRows sorted = sortLines(table);
    EXPECT_EQ(sorted.rows.size(), 2u);
    ASSERT_TRUE(sorted.duplicates);
    EXPECT_EQ(sorted.duplicates->text, "同じY座標右、Y座標左があります\n 5.00m  6.00m \n");

    question.answers = {true};  // Yes cancels the Add
    EXPECT_FALSE(add(table, {"5.000001", "6", ""}, messages, question));
    EXPECT_EQ(dataRowCount(table), 2);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(BlockLineAdd, RefusesInvalidEntriesAndAFullListWithTheirMessages) {
    EditorTable table = emptyTable(kMaxBlockLines, kLineColumns);
    test::MemoryMessageSink messages;
    test::ScriptedQuestion question;
    EXPECT_FALSE(add(table, {"", "", ""}, messages, question));
    EXPECT_FALSE(add(table, {"5", "100000", ""}, messages, question));
    table.cell(kMaxBlockLines, 1) = "1";
    EXPECT_FALSE(add(table, {"5", "", ""}, messages, question));
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].id, MessageId::NoValidData);
    EXPECT_EQ(messages.messages[1].id, MessageId::AbnormalNumber);
    EXPECT_EQ(messages.messages[2].id, MessageId::TableFull);
}

TEST(LeftBlock, ListShowsYRightInEightColumnsAndAClickCopiesItWithTheLayer) {
    const auto lines = leftBlockLines("10,12.5,3.0,20,20,4,abc,1,1");
    ASSERT_EQ(lines.size(), 2u);  // ends at the first Y-left that is not a number
    EXPECT_EQ(lines[0].listText, "   12.50 , 3");
    EXPECT_EQ(lines[0].yLeft, 10.0);
    const LineEntry copied = copyFromLeftBlock(lines[0], true);
    EXPECT_EQ(copied.yLeft, "12.50");
    EXPECT_EQ(copied.yRight, "");
    EXPECT_EQ(copied.layerNo, "3");
    EXPECT_EQ(copyFromLeftBlock(lines[0], false).layerNo, "");
}

TEST(LayerChoices, ListedLayerNumbersThenAnEmptyChoiceUnlessAllTwentyAreListed) {
    Project project;
    project.layer(1).layerNo = "1";
    project.layer(2).layerNo = "2";
    project.layer(4).layerNo = "4";  // after the first absent row: not listed
    EXPECT_EQ(layerChoices(project), (std::vector<std::string>{"1", "2", ""}));
    for (int row = 1; row <= kMaxLayers; ++row) project.layer(row).layerNo = "9";
    EXPECT_EQ(layerChoices(project).size(), std::size_t(kMaxLayers));
}

TEST(BlockPreview, MappingIsLinearAndZeroForANarrowRange) {
    EXPECT_EQ(mapToPixel(5.0, 0.0, 10.0, 0, 100), 50);
    EXPECT_EQ(mapToPixel(0.0, 0.0, 10.0, 200, 0), 200);  // Y runs upward
    EXPECT_EQ(mapToPixel(5.0, 1.0, 1.005, 0, 100), 0);
}

TEST(BlockPreview, FrameTakesItsYRangeFromTheBlockAndTheLeftBlock) {
    const PreviewFrame frame = previewFrame("20.00", "30", "10.00", linesTable("3,4,1,8,9,2"),
                                            leftBlockLines("2,2.5,1,11,12,2"));
    EXPECT_EQ(frame.xLeft, 20.0);
    EXPECT_EQ(frame.xRight, 30.0);
    EXPECT_EQ(frame.farLeftX, 10.0);
    EXPECT_EQ(frame.top, 12.0);
    EXPECT_EQ(frame.bottom, 2.5);
}

TEST(BlockPreview, EqualEdgesUseTheXRange0To100) {
    PreviewFrame frame = previewFrame("50.00", "50", "0.00", linesTable(""), {});
    const auto shapes = previewScene(frame, linesTable("10,10,1"), {}, {0, 0, 100, 100});
    ASSERT_FALSE(shapes.empty());
    EXPECT_EQ(shapes[0].kind, PreviewShape::Kind::Circle);
    EXPECT_EQ(shapes[0].from.x, 50);  // 50 on 0..100 over 100 pixels
}

TEST(BlockPreview, ListedLineIsTwoRedCirclesABlackLineItsVerticalsAndItsLayerInBlue) {
    // No far left, so the line is drawn on from the left; top - bottom < 1 gives Y 0..100.
    PreviewFrame frame;
    frame.xLeft = 0.0;
    frame.xRight = 10.0;
    frame.farLeftX = -1.0;
    const auto shapes = previewScene(frame, linesTable("5,5,3 "), {}, {0, 0, 200, 100});
    EXPECT_EQ(frame.bottom, 5.0);  // the first row's Y-left, in the Y range from now on
    // X range -6..14 over 200 pixels.
    const int left = 60;
    const int right = 160;
    const int y5 = 95;
    const int base = 96;  // the pixel of 5 - 1.7
    const std::vector<PreviewShape> expected = {
        {PreviewShape::Kind::Circle, {left, y5}, {left, y5}, kPreviewRed, ""},
        {PreviewShape::Kind::Circle, {right, y5}, {right, y5}, kPreviewRed, ""},
        {PreviewShape::Kind::Line, {left, y5}, {right, y5}, kPreviewBlack, ""},
        {PreviewShape::Kind::Line, {left - 12, y5}, {left, y5}, kPreviewGrey, ""},
        {PreviewShape::Kind::Line, {left, base}, {left, y5}, kPreviewBlack, ""},
        {PreviewShape::Kind::Line, {right, base}, {right, y5}, kPreviewBlack, ""},
        {PreviewShape::Kind::Label, {109, y5}, {109, y5}, kPreviewBlue, "3 "},
    };
    EXPECT_EQ(shapes, expected);

    test::RecordingCanvas canvas;
    drawPreview(canvas, shapes);
    ASSERT_EQ(canvas.drawn.size(), expected.size());
    EXPECT_EQ(canvas.drawn[0].width, 2);
    EXPECT_EQ(canvas.drawn[2].width, 1);
    EXPECT_EQ(canvas.drawn[6].font.heightPx, 10);
}

TEST(BlockPreview, PendingLineWithoutYRightIsAGreyStub) {
    PreviewFrame frame = previewFrame("0.00", "10", "0.00", linesTable(""), {});
    const auto shapes = previewScene(frame, linesTable(""), {"5", "", ""}, {0, 0, 200, 100});
    ASSERT_GE(shapes.size(), 2u);
    EXPECT_EQ(shapes[1].colour, kPreviewGrey);
    EXPECT_EQ(shapes[1].to.x, 60 + 25);  // a quarter of the block
}

}  // namespace
}  // namespace dorvo
