// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/layer_editing.h"

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr int kModes = 3;

int modeOf(std::string_view text) {
    const int mode = readInteger(text);
    return mode >= 0 && mode < kModes ? mode : 0;
}

}  // namespace

EditorTable layerTable(const Project& project) {
    EditorTable table = emptyTable(kMaxLayers, kLayerColumns);
    for (int row = 1; row <= kMaxLayers; ++row) {
        const auto cells = layerCells(project.layer(row));
        if (!isPresent(*cells[0])) continue;
        for (int column = 1; column <= kLayerColumns; ++column) {
            table.cell(row, column) = *cells[static_cast<std::size_t>(column - 1)];
        }
    }
    return table;
}

NavigationRules layerNavigation() {
    return {kMaxLayers,
            kLayerColumns,
            kLayerColumns,
            EnterMove::NextColumnThenRow,
            {true, true, true, true, true, true, false}};
}

std::string cellEditorText(const EditorTable& table, CellPosition cell, bool waterConsidered) {
    const std::string& text = table.cell(cell.row, cell.column);
    if (cell.column == kGamma2Column && text.empty() && !waterConsidered) {
        return table.cell(cell.row, kGamma1Column);
    }
    return text;
}

bool storeColour(EditorTable& table, int currentRow, const TableRow& entryFields,
                 std::string_view colour) {
    if (currentRow < 1 || currentRow > table.rowCount()) return false;
    if (checkEntryFields(entryFields, KeyRange::LayerNumber)) return false;
    const std::string& number = table.cell(currentRow, 1);
    if (isPresent(number) && readInteger(number) != readInteger(entryFields[0])) return false;
    table.cell(currentRow, kColourColumn) = colour;
    return true;
}

std::uint32_t colourValue(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

std::optional<RowProblem> findInvalidLayerRow(const EditorTable& table) {
    const int rows = dataRowCount(table);
    for (int row = 1; row <= rows; ++row) {
        const std::string& number = table.cell(row, 1);
        if (number.empty()) continue;
        if (auto problem = checkKey(number, KeyRange::LayerNumber)) {
            return RowProblem{row, *problem};
        }
    }
    return std::nullopt;
}

SortedRows sortLayers(const EditorTable& table) {
    SortRules rules;
    rules.key = [](const TableRow& row) -> std::optional<SortKey> {
        if (row[0].empty()) return std::nullopt;
        return SortKey{readInteger(row[0]), 0.0};
    };
    rules.tolerance = 0.5;  // equal integers
    rules.normalise = [](TableRow&) {};
    rules.heading = "同じデータがあります";
    rules.entry = [](const TableRow& chosen) { return "No." + chosen[0] + " "; };
    return sortRows(dataRows(table), rules);
}

void storeLayers(std::array<Layer, kMaxLayers>& layers, const std::vector<TableRow>& rows) {
    for (std::size_t i = 0; i < layers.size(); ++i) {
        layers[i] = {};
        if (i >= rows.size()) continue;
        const auto cells = layerCells(layers[i]);
        for (std::size_t column = 0; column < kLayerColumns; ++column) {
            *cells[column] = rows[i][column];
        }
    }
}

LayerGeneralValues layerGeneralValues(const ProjectSettings& settings) {
    return {settings.line(settings_line::kYc), settings.line(settings_line::kLoadLayerNo),
            modeOf(settings.line(settings_line::kLayerFill)),
            modeOf(settings.line(settings_line::kUnitDisplay))};
}

void storeLayerGeneralValues(ProjectSettings& settings, const LayerGeneralValues& values) {
    settings.line(settings_line::kYc) = values.yc;
    settings.line(settings_line::kLoadLayerNo) = values.loadLayerNo;
    settings.line(settings_line::kLayerFill) = formatInt(values.layerFill);
    settings.line(settings_line::kUnitDisplay) = formatInt(values.unitDisplay);
}

}  // namespace dorvo
