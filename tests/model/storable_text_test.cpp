// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/storable_text.h"

#include <gtest/gtest.h>

namespace dorvo {
namespace {

TEST(StorableText, TypedTextBecomesCodePage932Bytes) {
    Result<std::string> stored = toStorableText("盛土 12.5", CellStorage::JoinedField);
    ASSERT_TRUE(stored.ok());
    EXPECT_EQ(*stored, "\x90\xb7\x93\x79 12.5");
}

TEST(StorableText, EachKindOfUnstorableTextGetsItsReason) {
    EXPECT_FALSE(toStorableText("😀", CellStorage::WholeLine).ok());
    EXPECT_EQ(toStorableText("a$$b", CellStorage::WholeLine).error().text,
              "「$$」を含む文字は保存できません");
    EXPECT_EQ(toStorableText("a\rb", CellStorage::WholeLine).error().text,
              "改行を含む文字は保存できません");
    EXPECT_EQ(toStorableText("1,5", CellStorage::JoinedField).error().text,
              "カンマ（,）や引用符（\"）を含む値は保存できません");
    EXPECT_FALSE(toStorableText("\"x", CellStorage::BlockLines).ok());
    EXPECT_FALSE(toStorableText(std::string(2601, '1'), CellStorage::BlockLines).ok());
}

TEST(StorableText, CommasAreFineWhereTheCellIsNotJoined) {
    EXPECT_TRUE(toStorableText("断面図, 盛土", CellStorage::WholeLine).ok());
    EXPECT_TRUE(toStorableText("0,0,1,5,5,2", CellStorage::BlockLines).ok());
}

TEST(StorableText, WholeLineCellMayEndWithTheLineEndTheWriterWouldAdd) {
    EXPECT_FALSE(unstorableReason("heading\r\n", CellStorage::WholeLine).has_value());
    EXPECT_TRUE(unstorableReason("head\r\ning", CellStorage::WholeLine).has_value());
}

TEST(StorableText, BlockRowLongerThanTheReaderTakesIsFoundWithItsPlace) {
    Project project;
    project.block(1).x = "10";
    project.block(1).lines = "0,0,1";
    project.block(2).x = "20";
    project.block(2).lines = std::string(2598, '1');  // "20," makes 2601 bytes
    auto problem = findUnstorableCell(project);
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->text.starts_with("ブロック 2：")) << problem->text;
    project.block(2).lines.pop_back();
    EXPECT_FALSE(findUnstorableCell(project).has_value());
}

}  // namespace
}  // namespace dorvo
