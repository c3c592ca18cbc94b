// SPDX-License-Identifier: GPL-3.0-or-later
// The table-editing pattern every editor shares: the list, the entry-field check, the
// cell editor's keys and the order OK stores in.
#include <gtest/gtest.h>

#include "editors/block_editing.h"
#include "editors/cell_navigation.h"
#include "editors/entry_check.h"
#include "editors/layer_editing.h"

namespace dorvo {
namespace {

TEST(EditorTable, DataRowCountReachesTheLastRowWithTextAndCountsEmptyRowsAbove) {
    EditorTable table = emptyTable(20, 3);
    EXPECT_EQ(dataRowCount(table), 0);
    table.cell(5, 3) = "x";  // any cell, not only the key
    EXPECT_EQ(dataRowCount(table), 5);
}

TEST(EditorTable, DeletingARowKeepsTheCapacityWithAnEmptyRowAtTheBottom) {
    EditorTable table = emptyTable(3, 2);
    table.row(1) = {"1", "a"};
    table.row(2) = {"2", "b"};
    table.row(3) = {"3", "c"};
    deleteRow(table, 1);
    EXPECT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.cell(1, 1), "2");
    EXPECT_EQ(table.row(3), (TableRow{"", ""}));
}

TEST(EditorTable, StartsOnTheRowAfterTheLastKeyAndOnNoRowWhenAllAreFilled) {
    Project project;
    project.block(1).x = "10";
    project.block(3).x = "30";
    project.block(4).x = "abc";  // not number-like: an empty placeholder row
    const EditorTable table = blockTable(project);
    EXPECT_EQ(table.cell(4, 1), "");
    EXPECT_EQ(startingRow(table), 4);
    for (int row = 1; row <= kMaxBlocks; ++row) project.block(row).x = "1";
    EXPECT_EQ(startingRow(blockTable(project)), 0);
}

TEST(EntryCheck, EmptyFieldsAndTextKeysAre903AndKeysOutOfRange4006) {
    EXPECT_EQ(checkEntryFields({"", ""}, KeyRange::Coordinate)->id, MessageId::NoValidData);
    EXPECT_EQ(checkEntryFields({"abc", "1"}, KeyRange::Coordinate)->id, MessageId::NoValidData);
    EXPECT_EQ(checkEntryFields({"", "1,1,1"}, KeyRange::Coordinate)->id, MessageId::NoValidData);
    EXPECT_EQ(checkKey("0.00009", KeyRange::Coordinate)->id, MessageId::AbnormalNumber);
    EXPECT_EQ(checkKey("100000", KeyRange::Coordinate)->id, MessageId::AbnormalNumber);
    EXPECT_FALSE(checkKey("0.0001", KeyRange::Coordinate));
    EXPECT_FALSE(checkKey("99999.9", KeyRange::Coordinate));
    EXPECT_FALSE(checkKey("0", KeyRange::LayerNumber));
    EXPECT_EQ(checkKey("-1", KeyRange::LayerNumber)->id, MessageId::AbnormalNumber);
    EXPECT_EQ(checkKey("10000", KeyRange::LayerNumber)->id, MessageId::AbnormalNumber);
    EXPECT_EQ(checkKey("1e999", KeyRange::Coordinate)->id, MessageId::AbnormalNumber);
}

TEST(EntryCheck, AnOptionalCoordinateMayBeEmptyOrZeroButNotTextOrTooLarge) {
    EXPECT_FALSE(checkOptionalCoordinate(""));
    EXPECT_FALSE(checkOptionalCoordinate("0"));
    EXPECT_EQ(checkOptionalCoordinate("x")->id, MessageId::NoValidData);
    EXPECT_EQ(checkOptionalCoordinate("100000")->id, MessageId::AbnormalNumber);
    EXPECT_EQ(checkOptionalCoordinate("-1")->id, MessageId::AbnormalNumber);
}

TEST(CellNavigation, DoubleClickOpensTheCellAndMarksTheTableChanged) {
    NavigationState state;
    EXPECT_TRUE(openCell(state, layerNavigation(), {4, 2}));
    EXPECT_EQ(state.currentRow, 4);
    EXPECT_EQ(state.currentColumn, 2);
    EXPECT_TRUE(state.editOpen);
    EXPECT_TRUE(state.changed);
    EXPECT_FALSE(openCell(state, layerNavigation(), {21, 1}));
}

TEST(CellNavigation, EnterInTheLayerEditorSkipsTheColourAndWrapsToTheNextRow) {
    const NavigationRules rules = layerNavigation();
    NavigationState state;
    openCell(state, rules, {1, 5});
    KeyStep step = keyInCell(state, rules, CellKey::Enter);
    EXPECT_EQ(step.next, (CellPosition{1, 6}));
    EXPECT_FALSE(step.rowEntered);
    step = keyInCell(state, rules, CellKey::Enter);
    EXPECT_EQ(step.next, (CellPosition{2, 1}));
    EXPECT_TRUE(step.rowEntered);
    // From the colour column itself Enter also goes on to the next row.
    openCell(state, rules, {2, 7});
    EXPECT_EQ(keyInCell(state, rules, CellKey::Enter).next, (CellPosition{3, 1}));
}

TEST(CellNavigation, EnterInTheBlockEditorGoesDownTheXColumnAndEndsAfterTheLastRow) {
    const NavigationRules rules = blockNavigation();
    NavigationState state;
    openCell(state, rules, {1, 2});
    EXPECT_EQ(keyInCell(state, rules, CellKey::Enter).next, (CellPosition{2, 1}));
    openCell(state, rules, {kMaxBlocks, 1});
    const KeyStep last = keyInCell(state, rules, CellKey::Enter);
    EXPECT_FALSE(last.next);
    EXPECT_FALSE(state.editOpen);
}

TEST(CellNavigation, UpAndDownKeepTheColumnAndEndTheEditAtTheEdgesOrOutsideTheLimit) {
    const NavigationRules rules = blockNavigation();
    NavigationState state;
    openCell(state, rules, {3, 1});
    EXPECT_EQ(keyInCell(state, rules, CellKey::Up).next, (CellPosition{2, 1}));
    EXPECT_EQ(keyInCell(state, rules, CellKey::Down).next, (CellPosition{3, 1}));
    openCell(state, rules, {1, 1});
    EXPECT_FALSE(keyInCell(state, rules, CellKey::Up).next);
    EXPECT_FALSE(state.editOpen);
    // The lines column of a block is left by Up and Down, which move along X only.
    openCell(state, rules, {3, 2});
    const KeyStep down = keyInCell(state, rules, CellKey::Down);
    EXPECT_FALSE(down.next);
    EXPECT_TRUE(down.rowEntered);
    EXPECT_FALSE(state.editOpen);
}

TEST(CellNavigation, TabAndEscapeGoOnToTheDialogAndKeepTheEditOpen) {
    const NavigationRules rules = layerNavigation();
    NavigationState state;
    openCell(state, rules, {2, 2});
    const KeyStep tab = keyInCell(state, rules, CellKey::Tab);
    EXPECT_TRUE(tab.passOn);
    EXPECT_FALSE(tab.next);
    EXPECT_TRUE(state.editOpen);
}

TEST(CellNavigation, FirstOkAfterACellEditOnlyEndsTheEdit) {
    NavigationState state;
    openCell(state, layerNavigation(), {1, 1});
    EXPECT_TRUE(okEndsEdit(state));
    EXPECT_FALSE(okEndsEdit(state));
}

TEST(CellNavigation, CancelAsksOnlyWhenSomethingChangedAndTheListHoldsData) {
    EditorTable table = emptyTable(20, 7);
    NavigationState state;
    state.changed = true;
    EXPECT_FALSE(cancelAsks(state, table));
    table.cell(1, 1) = "1";
    EXPECT_TRUE(cancelAsks(state, table));
    state.changed = false;
    EXPECT_FALSE(cancelAsks(state, table));
}

}  // namespace
}  // namespace dorvo
