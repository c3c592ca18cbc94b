// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/editor_table.h"

#include "model/text_cell.h"

namespace dorvo {

EditorTable emptyTable(int rowCount, int columnCount) {
    return {std::vector<TableRow>(static_cast<std::size_t>(rowCount),
                                  TableRow(static_cast<std::size_t>(columnCount)))};
}

bool isEmptyRow(const TableRow& row) {
    for (const std::string& cell : row) {
        if (!cell.empty()) return false;
    }
    return true;
}

int dataRowCount(const EditorTable& table) {
    for (int row = table.rowCount(); row >= 1; --row) {
        if (!isEmptyRow(table.row(row))) return row;
    }
    return 0;
}

void deleteRow(EditorTable& table, int row) {
    const std::size_t columns = table.row(row).size();
    table.rows.erase(table.rows.begin() + (row - 1));
    table.rows.emplace_back(columns);
}

int startingRow(const EditorTable& table) {
    int last = 0;
    for (int row = 1; row <= table.rowCount(); ++row) {
        if (isPresent(table.cell(row, 1))) last = row;
    }
    return last < table.rowCount() ? last + 1 : 0;
}

std::vector<TableRow> dataRows(const EditorTable& table) {
    return {table.rows.begin(), table.rows.begin() + dataRowCount(table)};
}

}  // namespace dorvo
