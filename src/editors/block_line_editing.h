// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editors/cell_navigation.h"
#include "editors/editor_table.h"
#include "editors/entry_check.h"
#include "editors/sorted_store.h"
#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"

namespace dorvo {

inline constexpr int kLineColumns = 3;  // Y-left, Y-right, layer number

/// The line list of a block: line i in row i, a line whose Y-left is not number-like as an
/// empty row, so the lines after it keep their rows.
EditorTable linesTable(std::string_view lines);

/// Enter moves along Y-left, Y-right and the layer number, then to the next row.
NavigationRules lineNavigation();

/// The layer numbers offered for a new line: the listed layers, then an empty choice unless
/// all twenty are listed.
std::vector<std::string> layerChoices(const Project& project);

/// A line of the block to the left, as its list shows it.
struct LeftBlockLine {
    double yLeft = 0.0;
    double yRight = 0.0;
    std::string layerNo;   // "%d" when number-like
    std::string listText;  // the Y-right in eight columns with two decimals, " , ", the layer
};

/// The lines of the left block up to the first whose Y-left is not number-like.
std::vector<LeftBlockLine> leftBlockLines(std::string_view leftLines);

/// The entry fields of a new line in stored text.
struct LineEntry {
    std::string yLeft;
    std::string yRight;
    std::string layerNo;
};

/// A click on a left-block line starts a new line where that one ends: its Y-right as the
/// Y-left, and its layer number when asked for and number-like.
LineEntry copyFromLeftBlock(const LeftBlockLine& line, bool copyLayerNo);

/// "↓ 追加 ": adds the entry after the last data row. Refuses an invalid entry and a full
/// list; a line already listed asks 4000, where Yes cancels (no row, no failure) and No adds
/// it all the same. Returns the row it filled.
Result<std::optional<int>> addLine(EditorTable& table, const LineEntry& entry,
                                   YesNoQuestion& question);

/// The first data row OK refuses: a Y-left that is not a coordinate, a Y-right that is
/// neither empty nor a coordinate, a layer number that is neither empty nor a number.
std::optional<RowProblem> findInvalidLineRow(const EditorTable& table);

/// The rows by Y-left, then Y-right, as "%.2f" (an empty Y-right as 0.00) and a number-like
/// layer number as "%d ", with the report of lines listed twice.
SortedRows sortLines(const EditorTable& table);

/// The lines text of a block: every field of every row joined by commas.
std::string joinLines(const std::vector<TableRow>& rows);

}  // namespace dorvo
