// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/cell_navigation.h"

namespace dorvo {

namespace {

/// Opens a cell moved to by a key; false when it lies outside what the key may reach, which
/// ends the edit.
bool openByKey(NavigationState& state, const NavigationRules& rules, CellPosition cell, int limit,
               KeyStep& step) {
    if (cell.row < 1 || cell.row > rules.rows || cell.column < 1 || cell.column > limit) {
        state.editOpen = false;
        return false;
    }
    state.currentRow = cell.row;
    state.currentColumn = cell.column;
    state.changed = true;
    step.next = cell;
    return true;
}

void moveToNextRow(NavigationState& state, const NavigationRules& rules, KeyStep& step) {
    step.rowEntered = true;
    openByKey(state, rules, {state.currentRow + 1, 1}, rules.columnLimit, step);
}

std::optional<int> nextEnterColumn(const NavigationState& state, const NavigationRules& rules) {
    for (int column = state.currentColumn + 1; column <= rules.columns; ++column) {
        if (rules.enterVisits.at(static_cast<std::size_t>(column - 1))) return column;
    }
    return std::nullopt;
}

}  // namespace

bool openCell(NavigationState& state, const NavigationRules& rules, CellPosition cell) {
    if (cell.row < 1 || cell.row > rules.rows || cell.column < 1 || cell.column > rules.columns) {
        return false;
    }
    state.currentRow = cell.row;
    state.currentColumn = cell.column;
    state.editOpen = true;
    state.changed = true;
    return true;
}

KeyStep keyInCell(NavigationState& state, const NavigationRules& rules, CellKey key) {
    KeyStep step;
    switch (key) {
        case CellKey::Tab:
        case CellKey::Escape:
            step.passOn = true;
            break;
        case CellKey::Up:
        case CellKey::Down: {
            step.rowEntered = true;
            const int row = state.currentRow + (key == CellKey::Up ? -1 : 1);
            openByKey(state, rules, {row, state.currentColumn}, rules.columnLimit, step);
            break;
        }
        case CellKey::Enter:
            if (rules.enter == EnterMove::NextColumnThenRow) {
                if (auto column = nextEnterColumn(state, rules)) {
                    openByKey(state, rules, {state.currentRow, *column}, rules.columns, step);
                    break;
                }
            }
            moveToNextRow(state, rules, step);
            break;
    }
    return step;
}

bool okEndsEdit(NavigationState& state) {
    if (!state.editOpen) return false;
    state.editOpen = false;
    return true;
}

bool cancelAsks(const NavigationState& state, const EditorTable& table) {
    return state.changed && dataRowCount(table) > 0;
}

}  // namespace dorvo
