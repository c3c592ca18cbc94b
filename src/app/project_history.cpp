// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/project_history.h"

namespace dorvo {

void ProjectHistory::recordBefore(const Project& project) {
    // The state on disk was among the redo steps, which a new change forgets.
    if (clean_ && *clean_ > undo_.size()) clean_.reset();
    if (undo_.size() == kSteps) {
        undo_.erase(undo_.begin());
        if (clean_) clean_ = *clean_ == 0 ? std::nullopt : std::optional(*clean_ - 1);
    }
    undo_.push_back(project);
    redo_.clear();
}

Project ProjectHistory::undo(const Project& current) {
    Project before = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(current);
    return before;
}

Project ProjectHistory::redo(const Project& current) {
    Project after = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(current);
    return after;
}

void ProjectHistory::clear() {
    undo_.clear();
    redo_.clear();
    clean_ = 0;
}

}  // namespace dorvo
