// SPDX-License-Identifier: GPL-3.0-or-later
// The block editor without its window: Add, Overwrite, the neighbours of "入力" and OK.
#include <gtest/gtest.h>

#include "editors/block_editing.h"
#include "support/memory_message_sink.h"

namespace dorvo {
namespace {

EditorTable tableOf(std::initializer_list<const char*> xs) {
    EditorTable table = emptyTable(kMaxBlocks, kBlockColumns);
    int row = 0;
    for (const char* x : xs) table.row(++row) = {x, std::string("lines ") + x};
    return table;
}

std::vector<std::string> storedXs(const SortedRows& sorted) {
    std::vector<std::string> xs;
    for (const TableRow& row : sorted.rows) xs.push_back(row[0]);
    return xs;
}

TEST(BlockAdd, StoresXWithTwoDecimalsAndRefusesTheSameXWithin00001As908) {
    EditorTable table = emptyTable(kMaxBlocks, kBlockColumns);
    test::MemoryMessageSink messages;
    EXPECT_EQ(messages.valueOf(addBlock(table, {"12", "1,1,1"})), 1);
    EXPECT_EQ(table.row(1), (TableRow{"12.00", "1,1,1"}));
    EXPECT_FALSE(messages.valueOf(addBlock(table, {"12.00001", ""})));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].id, MessageId::DuplicateKey);
    EXPECT_EQ(messages.messages[0].text, "同じ 深度データがあります.\n修正なら上書きしてください.");
    EXPECT_EQ(dataRowCount(table), 1);
}

TEST(BlockAdd, RefusesAFullListWith902AndAnInvalidXWith903Or4006) {
    test::MemoryMessageSink messages;
    EditorTable table = emptyTable(kMaxBlocks, kBlockColumns);
    table.cell(kMaxBlocks, 2) = "x";  // the last row holds text, so the list is full
    EXPECT_FALSE(messages.valueOf(addBlock(table, {"5", ""})));
    EXPECT_FALSE(messages.valueOf(addBlock(table, {"", ""})));
    EXPECT_FALSE(messages.valueOf(addBlock(table, {"0", ""})));
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].id, MessageId::TableFull);
    EXPECT_EQ(messages.messages[1].id, MessageId::NoValidData);
    EXPECT_EQ(messages.messages[2].id, MessageId::AbnormalNumber);
}

TEST(BlockOverwrite, FindsItsRowByXNotBySelectionAndWritesTheXAsTyped) {
    EditorTable table = tableOf({"10.00", "12.00", "20.00"});
    test::MemoryMessageSink messages;
    EXPECT_EQ(messages.valueOf(overwriteBlock(table, {"12", "new"})), 2);
    EXPECT_EQ(table.row(2), (TableRow{"12", "new"}));
    EXPECT_EQ(storedXs(sortBlocks(table))[1], "12.00");

    EXPECT_FALSE(messages.valueOf(overwriteBlock(table, {"13", ""})));
    EditorTable empty = emptyTable(kMaxBlocks, kBlockColumns);
    EXPECT_FALSE(messages.valueOf(overwriteBlock(empty, {"13", ""})));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "上書きできません、同じ 深度 がありません.");
    EXPECT_EQ(messages.messages[1].id, MessageId::CannotOverwrite);
}

TEST(BlockQuietUpdate, WritesTheCurrentRowOnlyWhenItsXIsAbsentOrTheSame) {
    EditorTable table = tableOf({"10.00", "20.00"});
    EXPECT_TRUE(updateCurrentBlock(table, 2, {"20", "a"}));
    EXPECT_EQ(table.row(2), (TableRow{"20.00", "a"}));
    EXPECT_FALSE(updateCurrentBlock(table, 2, {"25", "b"}));
    EXPECT_FALSE(updateCurrentBlock(table, 3, {"", "b"}));  // a failing check writes nothing
    EXPECT_TRUE(updateCurrentBlock(table, 3, {"30", "c"}));
}

TEST(BlockLineInputs, LeftNeighbourIsTheLargestXBelowAndFarLeftTheRowAboveIt) {
    const EditorTable table = tableOf({"10.00", "20.00", "40.00"});
    test::MemoryMessageSink messages;
    auto inputs = messages.valueOf(blockLineEditorInputs(table, {"30", "5,5,1"}));
    ASSERT_TRUE(inputs);
    EXPECT_EQ(inputs->xLeft, "20.00");
    EXPECT_EQ(inputs->xRight, "30");
    EXPECT_EQ(inputs->farLeftX, "10.00");
    EXPECT_EQ(inputs->leftLines, "lines 20.00");
    EXPECT_EQ(inputs->lines, "5,5,1");

    inputs = messages.valueOf(blockLineEditorInputs(table, {"15", ""}));
    ASSERT_TRUE(inputs);
    EXPECT_EQ(inputs->xLeft, "10.00");
    EXPECT_EQ(inputs->farLeftX, "0.00");  // the neighbour is the first row

    inputs = messages.valueOf(blockLineEditorInputs(table, {"5", ""}));
    ASSERT_TRUE(inputs);
    EXPECT_EQ(inputs->xLeft, "0.00");
    EXPECT_EQ(inputs->leftLines, "");
    EXPECT_TRUE(messages.messages.empty());
}

TEST(BlockLineInputs, FarLeftIsTheRowAboveInListOrderAndOnlyAtLeastOneMetreAway) {
    test::MemoryMessageSink messages;
    // The row above the neighbour in the list counts, even when its X is larger.
    auto inputs = messages.valueOf(blockLineEditorInputs(tableOf({"35.00", "20.00"}), {"30", ""}));
    EXPECT_EQ(inputs->farLeftX, "0.00");
    inputs = messages.valueOf(blockLineEditorInputs(tableOf({"19.50", "20.00"}), {"30", ""}));
    EXPECT_EQ(inputs->farLeftX, "0.00");
}

TEST(BlockLineInputs, AMissingOrZeroXIs4005) {
    test::MemoryMessageSink messages;
    EXPECT_FALSE(messages.valueOf(blockLineEditorInputs(tableOf({"10.00"}), {"", ""})));
    EXPECT_FALSE(messages.valueOf(blockLineEditorInputs(tableOf({"10.00"}), {"0.00001", ""})));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "不適当なデータです");
}

TEST(BlockReturnedLines, GoIntoTheRowWithTheSameXOrIntoANewRow) {
    EditorTable table = tableOf({"10.00"});
    test::MemoryMessageSink messages;
    EXPECT_EQ(messages.valueOf(storeReturnedLines(table, {"10", "1.00,1.00,1 "})), 1);
    EXPECT_EQ(table.row(1), (TableRow{"10.00", "1.00,1.00,1 "}));
    EXPECT_EQ(messages.valueOf(storeReturnedLines(table, {"20", "2.00,2.00,1 "})), 2);
    EXPECT_EQ(table.row(2), (TableRow{"20.00", "2.00,2.00,1 "}));
}

TEST(BlockOk, SortsByXAndRewritesOnlyXsWithAtMostTwoDecimals) {
    EXPECT_EQ(storedXs(sortBlocks(tableOf({"40", "10", "20"}))),
              (std::vector<std::string>{"10.00", "20.00", "40.00"}));
    EXPECT_EQ(storedXs(sortBlocks(tableOf({"5.5", "5.125", "7"}))),
              (std::vector<std::string>{"5.125", "5.50", "7.00"}));
}

TEST(BlockOk, ThreeEqualXsGiveThreeReportLinesAndAreAllStored) {
    const SortedRows sorted = sortBlocks(tableOf({"5", "5", "5", "1"}));
    EXPECT_EQ(sorted.rows.size(), 4u);
    ASSERT_TRUE(sorted.duplicates);
    EXPECT_EQ(sorted.duplicates->text, "同じ深度があります\n 5.00 m \n 5.00 m \n 5.00 m \n");
}

TEST(BlockOk, ReportListsAtMostSixDuplicates) {
    const SortedRows sorted = sortBlocks(tableOf({"5", "5", "5", "5", "5", "5", "5", "5"}));
    EXPECT_EQ(sorted.rows.size(), 8u);
    const std::string& text = sorted.duplicates->text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
}

TEST(BlockOk, EmptyRowsBetweenBlocksAreDroppedAndRowsWithoutXRefused) {
    EditorTable table = tableOf({"10", "", "20"});
    table.row(2) = {"", ""};
    EXPECT_FALSE(findInvalidBlockRow(table));
    EXPECT_EQ(storedXs(sortBlocks(table)), (std::vector<std::string>{"10.00", "20.00"}));

    table.row(2) = {"", "1,1,1"};
    const auto problem = findInvalidBlockRow(table);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->row, 2);
    EXPECT_EQ(problem->message.id, MessageId::NoValidData);
    table.row(2) = {"100000", ""};
    EXPECT_EQ(findInvalidBlockRow(table)->message.id, MessageId::AbnormalNumber);
}

TEST(BlockOk, StoresTheSortedRowsAndEmptiesTheRecordsAfterThem) {
    std::array<Block, kMaxBlocks> blocks;
    blocks[2] = {"99", "old"};
    storeBlocks(blocks, sortBlocks(tableOf({"20", "10"})).rows);
    EXPECT_EQ(blocks[0].x, "10.00");
    EXPECT_EQ(blocks[0].lines, "lines 10");
    EXPECT_EQ(blocks[1].x, "20.00");
    EXPECT_EQ(blocks[2].x, "");
    EXPECT_EQ(blocks[2].lines, "");
}

}  // namespace
}  // namespace dorvo
