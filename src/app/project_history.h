// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "model/project.h"

namespace dorvo {

/// Undo and redo of the changes that dialogs made to the project: the project is small, so
/// each step keeps the whole project as it was. It also knows which step the file on disk
/// holds, so that undoing back to it shows the project unmodified.
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
    /// Forgets every step: the project as it is now is the one on disk.
    void clear();
    /// The project as it is now is the one on disk.
    void markClean() { clean_ = undo_.size(); }
    /// Whether undo and redo brought the project back to what is on disk.
    bool atClean() const { return clean_ == undo_.size(); }

  private:
    static constexpr std::size_t kSteps = 100;
    std::vector<Project> undo_;
    std::vector<Project> redo_;
    /// How many undo steps lie behind the state on disk; nothing once no undo or redo can
    /// reach it again.
    std::optional<std::size_t> clean_ = 0;
};

}  // namespace dorvo
