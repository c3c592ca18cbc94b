// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editors/cell_navigation.h"
#include "editors/editor_table.h"
#include "editors/entry_check.h"
#include "editors/sorted_store.h"
#include "model/project.h"

namespace dorvo {

inline constexpr int kLayerColumns = 7;  // 層No., γ1, γ2, φ, Co, k, colour
inline constexpr int kGamma1Column = 2;
inline constexpr int kGamma2Column = 3;
inline constexpr int kColourColumn = 7;

/// The layer list: the first seven cells of each record whose number is number-like.
EditorTable layerTable(const Project& project);

/// Enter moves along the six numbers and skips the colour, then goes to the next row.
NavigationRules layerNavigation();

/// The text the cell editor opens with: an empty γ2 starts as the row's γ1 unless the water
/// level is considered.
std::string cellEditorText(const EditorTable& table, CellPosition cell, bool waterConsidered);

/// Writes a colour text into the current row, but only when the hidden entry fields hold a
/// layer number 0 to 9999 and the row has no number or that one, so that a colour never
/// lands in a row other than the one the fields were loaded from.
bool storeColour(EditorTable& table, int currentRow, const TableRow& entryFields,
                 std::string_view colour);

/// The colour chooser's value, 0x00BBGGRR, from its red, green and blue.
std::uint32_t colourValue(int red, int green, int blue);

/// The first data row OK refuses: a layer number that is given but is not a number 0 to
/// 9999. A row without a number is left out, not refused.
std::optional<RowProblem> findInvalidLayerRow(const EditorTable& table);

/// The rows with a layer number in ascending number, as typed, with the report of numbers
/// listed twice.
SortedRows sortLayers(const EditorTable& table);

/// Writes sorted rows into the layer records, spare cells emptied, and empties the records
/// after them.
void storeLayers(std::array<Layer, kMaxLayers>& layers, const std::vector<TableRow>& rows);

/// The general values the layer editor carries: Yc, the distributed-load layer, how layers
/// are coloured and which units are labelled.
struct LayerGeneralValues {
    std::string yc;
    std::string loadLayerNo;
    int layerFill = 0;    // 0 hatch, 1 fill, 2 none
    int unitDisplay = 0;  // 0 none, 1 kN-m, 2 t-m
};

/// A mode stored below 0 or above 2 shows the first choice.
LayerGeneralValues layerGeneralValues(const ProjectSettings& settings);

void storeLayerGeneralValues(ProjectSettings& settings, const LayerGeneralValues& values);

}  // namespace dorvo
