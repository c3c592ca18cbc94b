// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/text_cell.h"

#include <gtest/gtest.h>

namespace dorvo {
namespace {

TEST(ClassifyCell, EmptyAndBlankCellsAreEmpty) {
    EXPECT_EQ(classifyCell(""), CellKind::Empty);
    EXPECT_EQ(classifyCell("  \t\r\n"), CellKind::Empty);
}

TEST(ClassifyCell, PresenceDependsOnlyOnTheFirstNonBlankCharacter) {
    EXPECT_EQ(classifyCell("abc"), CellKind::Text);
    EXPECT_EQ(classifyCell("!5"), CellKind::Text);
    EXPECT_EQ(classifyCell(" -3.5"), CellKind::Number);
    EXPECT_EQ(classifyCell(".5"), CellKind::Number);
    EXPECT_EQ(classifyCell("+"), CellKind::Number);
    EXPECT_EQ(classifyCell("1abc"), CellKind::Number);
    EXPECT_EQ(classifyCell("nan"), CellKind::Text);
    EXPECT_EQ(classifyCell("\x82\x50"), CellKind::Text);  // a double-byte digit is not a number
}

TEST(SplitFirstField, CountIncludesTheEndingCommaAndIsZeroAtTheEnd) {
    FirstField first = splitFirstField("ab,cd");
    EXPECT_EQ(first.field, "ab");
    EXPECT_EQ(first.consumed, 3u);
    first = splitFirstField("ab");
    EXPECT_EQ(first.field, "ab");
    EXPECT_EQ(first.consumed, 0u);
    first = splitFirstField("ab\ncd,e");
    EXPECT_EQ(first.field, "ab");
    EXPECT_EQ(first.consumed, 0u);
}

TEST(CsvField, QuotesToggleAndAreDroppedWhileTheQuotedCommaIsKept) {
    const std::string line = "a,\"b,c\",d";
    CsvField second = csvField(line, 2);
    EXPECT_EQ(second.status, CsvStatus::Found);
    EXPECT_EQ(second.text, "b,c");
    EXPECT_EQ(csvField(line, 3).text, "d");
    CsvField fourth = csvField(line, 4);
    EXPECT_EQ(fourth.status, CsvStatus::Missing);
    EXPECT_EQ(fourth.text, "");
}

TEST(CsvField, EmptyLineSingleFieldAndEmptyFields) {
    EXPECT_EQ(csvField("", 1).status, CsvStatus::EmptyLine);
    EXPECT_EQ(csvField("", 7).status, CsvStatus::EmptyLine);
    EXPECT_EQ(csvField("5", 1).text, "5");
    EXPECT_EQ(csvField("5", 2).status, CsvStatus::Missing);
    CsvField empty = csvField("1,,3", 2);
    EXPECT_EQ(empty.status, CsvStatus::Found);
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(csvField("1,,3", 3).text, "3");
}

TEST(CsvField, TrailingCommaDoesNotMakeAnEmptyLastField) {
    EXPECT_EQ(csvField("1,2,", 2).status, CsvStatus::Found);
    EXPECT_EQ(csvField("1,2,", 3).status, CsvStatus::Missing);
}

TEST(CsvField, UnmatchedQuoteKeepsTheRestInOneField) {
    CsvField field = csvField("a,\"b,c,d", 2);
    EXPECT_EQ(field.text, "b,c,d");
    EXPECT_EQ(csvField("a,\"b,c,d", 3).status, CsvStatus::Missing);
}

TEST(CsvField, LinesBeyondTheLimitAreCutAndFlagged) {
    std::string line(2598, 'x');
    line += ",yz,w";
    CsvField second = csvField(line, 2);
    EXPECT_TRUE(second.truncated);
    EXPECT_EQ(second.text, "y");  // the line ends after 2600 characters
    EXPECT_EQ(csvField(line, 3).status, CsvStatus::Missing);
    EXPECT_FALSE(csvField("1,2", 1).truncated);
}

TEST(CsvField, DoubleByteTextPassesThrough) {
    const std::string line = "\x96\xbe\x92\xa9,\x83\x5c";  // 明朝,ソ (0x5c trail byte)
    EXPECT_EQ(csvField(line, 1).text, "\x96\xbe\x92\xa9");
    EXPECT_EQ(csvField(line, 2).text, "\x83\x5c");
}

TEST(TextAfter, PositionIsOneBasedAndEmptyWithoutSeparator) {
    TextAfter after = textAfter("12.5,1,2", ",");
    EXPECT_EQ(after.position, 5u);
    EXPECT_EQ(after.text, "1,2");
    after = textAfter("12.5", ",");
    EXPECT_EQ(after.position, 0u);
    EXPECT_EQ(after.text, "");
}

}  // namespace
}  // namespace dorvo
