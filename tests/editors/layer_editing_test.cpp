// SPDX-License-Identifier: GPL-3.0-or-later
// The layer editor without its window: the γ2 default, the colour rule, OK and the general
// values.
#include <gtest/gtest.h>

#include "editors/layer_editing.h"
#include "model/number_text.h"

namespace dorvo {
namespace {

EditorTable layersOf(std::initializer_list<const char*> numbers) {
    EditorTable table = emptyTable(kMaxLayers, kLayerColumns);
    int row = 0;
    for (const char* number : numbers) {
        ++row;
        table.row(row) = {number, "18", "", "30", "5", "0", "0x0000ff"};
    }
    return table;
}

TEST(LayerCellEditor, EmptyGamma2OpensWithGamma1UnlessTheWaterLevelIsConsidered) {
    EditorTable table = layersOf({"1"});
    table.cell(1, 2) = "18.0";
    EXPECT_EQ(cellEditorText(table, {1, kGamma2Column}, false), "18.0");
    EXPECT_EQ(cellEditorText(table, {1, kGamma2Column}, true), "");
    table.cell(1, 3) = "17";
    EXPECT_EQ(cellEditorText(table, {1, kGamma2Column}, false), "17");
    EXPECT_EQ(cellEditorText(table, {1, 4}, false), "30");  // only γ2 has a default
}

TEST(LayerOk, RowsTyped312AreStoredAs123WithTheirCellsAsTypedAndNoSpare) {
    EditorTable table = layersOf({"3", "1", "2"});
    table.cell(1, 2) = "17.5";
    std::array<Layer, kMaxLayers> layers;
    layers[0].spare = "old";
    layers[5].layerNo = "9";
    const SortedRows sorted = sortLayers(table);
    EXPECT_FALSE(sorted.duplicates);
    storeLayers(layers, sorted.rows);
    EXPECT_EQ(layers[0].layerNo, "1");
    EXPECT_EQ(layers[1].layerNo, "2");
    EXPECT_EQ(layers[2].layerNo, "3");
    EXPECT_EQ(layers[2].gamma1, "17.5");
    EXPECT_EQ(layers[0].colour, "0x0000ff");
    EXPECT_EQ(layers[0].spare, "");
    EXPECT_EQ(layers[5].layerNo, "");
}

TEST(LayerOk, TwoRowsWithNumber2GiveOneReportLineAndBothAreStored) {
    const SortedRows sorted = sortLayers(layersOf({"2", "1", "2"}));
    EXPECT_EQ(sorted.rows.size(), 3u);
    ASSERT_TRUE(sorted.duplicates);
    EXPECT_EQ(sorted.duplicates->text, "同じデータがあります\nNo.2 \n");
}

TEST(LayerOk, RowWithoutNumberIsLeftOutWhereverItStands) {
    EditorTable table = layersOf({"", "2", "", "1"});
    EXPECT_FALSE(findInvalidLayerRow(table));
    const SortedRows sorted = sortLayers(table);
    ASSERT_EQ(sorted.rows.size(), 2u);
    EXPECT_EQ(sorted.rows[0][0], "1");
}

TEST(LayerOk, NumberThatIsTextIsRefusedWith903AndOutOfRangeWith4006) {
    EditorTable table = layersOf({"1", "two"});
    auto problem = findInvalidLayerRow(table);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->row, 2);
    EXPECT_EQ(problem->message.text, "データが無い、または不正です.");
    table.cell(2, 1) = "10000";
    EXPECT_EQ(findInvalidLayerRow(table)->message.text, "数値が異常です");
    table.cell(2, 1) = "-1";
    EXPECT_EQ(findInvalidLayerRow(table)->message.id, MessageId::AbnormalNumber);
}

TEST(LayerColour, PureRedIsWritten0x0000ffIntoTheRowTheFieldsCameFrom) {
    EXPECT_EQ(formatColour(colourValue(255, 0, 0)), "0x0000ff");
    EXPECT_EQ(formatColour(colourValue(0x12, 0x34, 0x56)), "0x563412");
    EditorTable table = layersOf({"1", "2"});
    const TableRow fields = table.row(2);
    EXPECT_TRUE(storeColour(table, 2, fields, "0x00ff00"));
    EXPECT_EQ(table.cell(2, kColourColumn), "0x00ff00");
    // Fields loaded from row 2 never colour row 1.
    EXPECT_FALSE(storeColour(table, 1, fields, "0x000000"));
    EXPECT_EQ(table.cell(1, kColourColumn), "0x0000ff");
}

TEST(LayerColour, IsNotWrittenWithoutALayerNumberInTheFields) {
    EditorTable table = layersOf({});
    EXPECT_FALSE(storeColour(table, 1, TableRow(kLayerColumns), "0x00ff00"));
    TableRow fields(kLayerColumns);
    fields[0] = "3";
    EXPECT_TRUE(storeColour(table, 1, fields, "0x00ff00"));  // a new row takes it
    EXPECT_FALSE(storeColour(table, 0, fields, "0x00ff00"));
}

TEST(LayerGeneralValues, ModesBelowZeroShowTheFirstChoiceAndAreStoredAsNumbers) {
    ProjectSettings settings;
    settings.line(settings_line::kYc) = "10";
    settings.line(settings_line::kLayerFill) = "-1";
    settings.line(settings_line::kUnitDisplay) = "2";
    LayerGeneralValues values = layerGeneralValues(settings);
    EXPECT_EQ(values.yc, "10");
    EXPECT_EQ(values.layerFill, 0);
    EXPECT_EQ(values.unitDisplay, 2);
    values.loadLayerNo = "3";
    values.layerFill = 1;
    storeLayerGeneralValues(settings, values);
    EXPECT_EQ(settings.line(settings_line::kLoadLayerNo), "3");
    EXPECT_EQ(settings.line(settings_line::kLayerFill), "1");
    EXPECT_EQ(settings.line(settings_line::kUnitDisplay), "2");
}

}  // namespace
}  // namespace dorvo
