// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "editors/editor_table.h"

namespace dorvo {

struct CellPosition {
    int row = 0;
    int column = 0;
    bool operator==(const CellPosition&) const = default;
};

/// Where Enter takes the cell editor: the block editor goes down the X column, the other
/// editors along the row first.
enum class EnterMove { NextRow, NextColumnThenRow };

/// How the keys move the cell editor of one editor.
struct NavigationRules {
    int rows = 0;
    int columns = 0;
    int columnLimit = 0;  // Up, Down and Enter open cells only up to this column
    EnterMove enter = EnterMove::NextColumnThenRow;
    std::vector<bool> enterVisits;  // per column from 1: whether Enter stops there
};

/// The state of an open editor's list. Rows and columns from 1; row 0 is none.
struct NavigationState {
    int currentRow = 0;
    int currentColumn = 1;
    bool editOpen = false;  // a cell edit began and has not been ended
    bool changed = false;   // asked about on Cancel
};

/// The keys the cell editor hands to its editor instead of handling them itself.
enum class CellKey { Tab, Escape, Up, Down, Enter };

/// What follows a key in the cell editor, whose text has already been written to its cell.
struct KeyStep {
    std::optional<CellPosition> next;  // the cell the editor opens next, if any
    bool rowEntered = false;           // Up, Down, or Enter to the next row: fields follow the row
    bool passOn = false;               // Tab and Esc go on to the dialog
};

/// A double-click on a cell opens the cell editor there; false outside the table.
bool openCell(NavigationState& state, const NavigationRules& rules, CellPosition cell);

KeyStep keyInCell(NavigationState& state, const NavigationRules& rules, CellKey key);

/// OK while a cell edit is open only ends the edit: true when that is what happened.
bool okEndsEdit(NavigationState& state);

/// Whether Cancel asks before it discards: something changed and the list holds data.
bool cancelAsks(const NavigationState& state, const EditorTable& table);

}  // namespace dorvo
