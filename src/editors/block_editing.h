// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "editors/cell_navigation.h"
#include "editors/editor_table.h"
#include "editors/entry_check.h"
#include "editors/sorted_store.h"
#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"

namespace dorvo {

inline constexpr int kBlockColumns = 2;  // X, the lines text

/// The block list: the X and lines of each record whose X is number-like, else empty rows.
EditorTable blockTable(const Project& project);

/// Up, Down and Enter move the cell editor along the X column only.
NavigationRules blockNavigation();

/// The block editor's entry fields in stored text.
struct BlockEntry {
    std::string x;
    std::string lines;
};

/// "データ追加↓": adds the entry after the last data row with its X as "%.2f". Refuses an
/// invalid X, a full list and an X already listed (within 0.0001). Returns the row it filled.
Result<int> addBlock(EditorTable& table, const BlockEntry& entry);

/// "上書き↓": writes the entry as typed into the first row with the same X (within 0.0001),
/// whichever row is selected. Returns that row.
Result<int> overwriteBlock(EditorTable& table, const BlockEntry& entry);

/// When the focus leaves an entry field with a row current: writes the entry, X as "%.2f",
/// into that row when its X is absent or the same. Silent; false when nothing was written.
bool updateCurrentBlock(EditorTable& table, int currentRow, const BlockEntry& entry);

/// What the block line editor is opened with for the block in the entry fields.
struct BlockLineEditorInputs {
    std::string xLeft;      // the X of the left neighbour as "%.2f", 0.00 when there is none
    std::string xRight;     // the entry's X as typed
    std::string lines;      // the entry's lines
    std::string leftLines;  // the lines of the left neighbour
    std::string farLeftX;   // the left neighbour's own left X as "%.2f", or 0.00
};

/// "入力": finds the left neighbour of the entry's X among the listed rows (the largest X
/// below it, the first listed among equal ones). 4005 when the X is missing or not positive.
Result<BlockLineEditorInputs> blockLineEditorInputs(const EditorTable& table,
                                                    const BlockEntry& entry);

/// The lines the block line editor returned go with their block at once: into the row with
/// the entry's X, or into a new row as Add would. Returns the row.
Result<int> storeReturnedLines(EditorTable& table, const BlockEntry& entry);

/// The first data row OK refuses: an X that is missing or outside its range, or a row the
/// project file cannot hold.
std::optional<RowProblem> findInvalidBlockRow(const EditorTable& table);

/// The rows in ascending X, X as "%.2f" unless typed with more decimals, with the report of
/// duplicate X values.
SortedRows sortBlocks(const EditorTable& table);

/// Writes sorted rows into the block records and empties the records after them.
void storeBlocks(std::array<Block, kMaxBlocks>& blocks, const std::vector<TableRow>& rows);

}  // namespace dorvo
