// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <map>

#include "app/command_table.h"

class QMainWindow;
class QMenu;
class QToolBar;

namespace dorvo {

/// The window's actions, one a declared command, by command number.
using CommandActions = std::map<int, QAction*>;

/// Makes an action of every declared command, owned by `owner`.
CommandActions createCommandActions(QObject* owner);

/// Fills the window's menu bar and tool bar from the declarations; returns the menu of the
/// recent files.
QMenu* buildMenus(QMainWindow& window, const CommandActions& actions);
QToolBar* buildToolBar(QMainWindow& window, const CommandActions& actions);

/// Enables each command that can run now, disables the others.
void updateAvailability(const CommandActions& actions, const CommandState& state);

}  // namespace dorvo
