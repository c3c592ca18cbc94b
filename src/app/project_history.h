// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "model/project.h"

namespace dorvo {

/// Undo and redo of the changes that dialogs made to the project: the project is small, so
/// each step keeps the whole project as it was.
class ProjectHistory {
  public:
    /// Remembers the project as it was before a change; forgets what could be redone.
    void recordBefore(const Project& project);
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    /// Returns the project before the last change; `current` becomes redoable.
    Project undo(const Project& current);
    /// Returns the project after the last undone change; `current` becomes undoable.
    Project redo(const Project& current);
    void clear();

  private:
    static constexpr std::size_t kSteps = 100;
    std::vector<Project> undo_;
    std::vector<Project> redo_;
};

}  // namespace dorvo
