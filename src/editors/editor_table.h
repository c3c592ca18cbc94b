// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace dorvo {

/// The cells of one row of an editor's list, in code page 932 as the project stores them.
using TableRow = std::vector<std::string>;

/// The list of a table editor: always its full number of rows, rows without data empty.
/// Rows and columns are numbered from 1.
struct EditorTable {
    std::vector<TableRow> rows;

    int rowCount() const { return static_cast<int>(rows.size()); }
    TableRow& row(int number) { return rows.at(static_cast<std::size_t>(number - 1)); }
    const TableRow& row(int number) const { return rows.at(static_cast<std::size_t>(number - 1)); }
    std::string& cell(int rowNumber, int column) {
        return row(rowNumber).at(static_cast<std::size_t>(column - 1));
    }
    const std::string& cell(int rowNumber, int column) const {
        return row(rowNumber).at(static_cast<std::size_t>(column - 1));
    }
};

EditorTable emptyTable(int rowCount, int columnCount);

bool isEmptyRow(const TableRow& row);

/// The number of the last row with a non-empty cell, or 0; empty rows above it count.
int dataRowCount(const EditorTable& table);

/// Deletes a row: the rows below move up and an empty row is added at the bottom.
void deleteRow(EditorTable& table, int row);

/// The row an editor starts on: the one after the last row whose key cell is number-like,
/// or 0 when that is past the end.
int startingRow(const EditorTable& table);

/// The rows up to the last one with data, the rows that OK sorts.
std::vector<TableRow> dataRows(const EditorTable& table);

}  // namespace dorvo
