// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/block_editing.h"

#include <cmath>

#include "model/number_text.h"
#include "model/storable_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr const char* kBlockKeyName = "深度";
constexpr double kSameX = 0.0001;
constexpr double kSameSortedX = 1e-6;
constexpr double kLeastBlockX = 0.00001;

/// The listed rows: from row 1 up to the first whose X is not number-like.
int listedRows(const EditorTable& table, int upTo) {
    int row = 0;
    while (row < upTo && isPresent(table.cell(row + 1, 1))) ++row;
    return row;
}

std::optional<int> rowWithX(const EditorTable& table, double x, int upTo) {
    const int listed = listedRows(table, upTo);
    for (int row = 1; row <= listed; ++row) {
        if (std::fabs(readReal(table.cell(row, 1)) - x) < kSameX) return row;
    }
    return std::nullopt;
}

std::optional<Message> entryProblem(const BlockEntry& entry) {
    return checkEntryFields({entry.x, entry.lines}, KeyRange::Coordinate);
}

/// Two decimals unless the X was typed with more.
void normaliseX(TableRow& row) {
    std::string& x = row[0];
    const std::size_t point = x.find('.');
    if (point == std::string::npos || x.size() - point - 1 <= 2) x = twoDecimals(x);
}

}  // namespace

EditorTable blockTable(const Project& project) {
    EditorTable table = emptyTable(kMaxBlocks, kBlockColumns);
    for (int row = 1; row <= kMaxBlocks; ++row) {
        const Block& block = project.block(row);
        if (isPresent(block.x)) table.row(row) = {block.x, block.lines};
    }
    return table;
}

NavigationRules blockNavigation() {
    return {kMaxBlocks, kBlockColumns, 1, EnterMove::NextRow, {true, true}};
}

Result<int> addBlock(EditorTable& table, const BlockEntry& entry) {
    if (auto problem = entryProblem(entry)) return Failure{*problem};
    const int rows = dataRowCount(table);
    if (rows >= kMaxBlocks) return Failure{makeMessage(MessageId::TableFull)};
    const std::string x = twoDecimals(entry.x);
    if (rowWithX(table, readReal(x), rows)) {
        return Failure{makeMessage(MessageId::DuplicateKey, kBlockKeyName)};
    }
    table.row(rows + 1) = {x, entry.lines};
    return rows + 1;
}

Result<int> overwriteBlock(EditorTable& table, const BlockEntry& entry) {
    if (auto problem = entryProblem(entry)) return Failure{*problem};
    const int rows = dataRowCount(table);
    if (rows == 0) return Failure{makeMessage(MessageId::CannotOverwrite)};
    const auto target = rowWithX(table, readReal(entry.x), rows);
    if (!target) return Failure{makeMessage(MessageId::NothingToOverwrite, kBlockKeyName)};
    table.row(*target) = {entry.x, entry.lines};
    return *target;
}

bool updateCurrentBlock(EditorTable& table, int currentRow, const BlockEntry& entry) {
    if (checkEntryFields({entry.x, entry.lines}, KeyRange::Coordinate)) return false;
    const std::string x = twoDecimals(entry.x);
    const std::string& listed = table.cell(currentRow, 1);
    if (isPresent(listed) && std::fabs(readReal(listed) - readReal(x)) >= kSameX) return false;
    table.row(currentRow) = {x, entry.lines};
    return true;
}

Result<BlockLineEditorInputs> blockLineEditorInputs(const EditorTable& table,
                                                    const BlockEntry& entry) {
    const double x = readReal(entry.x);
    if (x <= kLeastBlockX) return Failure{makeMessage(MessageId::UnsuitableData)};
    int left = 0;
    double leftX = 0.0;
    const int listed = listedRows(table, table.rowCount());
    for (int row = 1; row <= listed; ++row) {
        const double rowX = readReal(table.cell(row, 1));
        if (rowX < x && rowX > 0.0 && (left == 0 || rowX > leftX)) {
            left = row;
            leftX = rowX;
        }
    }
    double farLeftX = 0.0;
    if (left > 1) {
        const double aboveX = readReal(table.cell(left - 1, 1));
        if (leftX - aboveX >= 1.0) farLeftX = aboveX;
    }
    return BlockLineEditorInputs{formatC("%.2f", leftX), entry.x, entry.lines,
                                 left > 0 ? table.cell(left, 2) : std::string(),
                                 formatC("%.2f", farLeftX)};
}

Result<int> storeReturnedLines(EditorTable& table, const BlockEntry& entry) {
    if (auto row = rowWithX(table, readReal(entry.x), dataRowCount(table))) {
        table.cell(*row, 2) = entry.lines;
        return *row;
    }
    return addBlock(table, entry);
}

std::optional<RowProblem> findInvalidBlockRow(const EditorTable& table) {
    const int rows = dataRowCount(table);
    for (int row = 1; row <= rows; ++row) {
        const TableRow& cells = table.row(row);
        if (isEmptyRow(cells)) continue;
        if (auto problem = checkKey(cells[0], KeyRange::Coordinate))
            return RowProblem{row, *problem};
        if (auto reason = unstorableReason(cells[0] + "," + cells[1], CellStorage::BlockLines)) {
            return RowProblem{row, literalMessage(formatC("ブロック %d 行目：", row) + *reason)};
        }
    }
    return std::nullopt;
}

SortedRows sortBlocks(const EditorTable& table) {
    SortRules rules;
    rules.key = [](const TableRow& row) -> std::optional<SortKey> {
        if (isEmptyRow(row)) return std::nullopt;
        return SortKey{readReal(row[0]), 0.0};
    };
    rules.tolerance = kSameSortedX;
    rules.normalise = normaliseX;
    rules.heading = "同じ深度があります";
    rules.entry = [](const TableRow& chosen) { return " " + chosen[0] + " m "; };
    return sortRows(dataRows(table), rules);
}

void storeBlocks(std::array<Block, kMaxBlocks>& blocks, const std::vector<TableRow>& rows) {
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        blocks[i] = i < rows.size() ? Block{rows[i][0], rows[i][1]} : Block{};
    }
}

}  // namespace dorvo
