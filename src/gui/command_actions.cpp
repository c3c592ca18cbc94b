// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/command_actions.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

namespace dorvo {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

CommandActions createCommandActions(QObject* owner) {
    CommandActions actions;
    for (const CommandDeclaration& declared : commandDeclarations()) {
        auto* action = new QAction(text(declared.caption), owner);
        action->setStatusTip(text(declared.statusTip));
        action->setToolTip(
            text(declared.toolTip != nullptr ? declared.toolTip : declared.statusTip));
        action->setData(declared.id);
        action->setCheckable(declared.checkable);
        if (declared.icon != nullptr) {
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(text(declared.icon))));
        }
        QList<QKeySequence> keys;
        for (const char* key : declared.shortcuts) {
            if (key != nullptr) keys << QKeySequence(text(key), QKeySequence::PortableText);
        }
        action->setShortcuts(keys);
        actions[declared.id] = action;
    }
    return actions;
}

QMenu* buildMenus(QMainWindow& window, const CommandActions& actions) {
    QMenu* recent = nullptr;
    for (const MenuDeclaration& declared : menuDeclarations()) {
        QMenu* menu = window.menuBar()->addMenu(text(declared.caption));
        for (int id : declared.commands) {
            if (id == command::kSeparator) {
                menu->addSeparator();
            } else if (id == command::kRecentFiles) {
                recent = menu->addMenu(QStringLiteral("最近使ったﾌｧｲﾙ"));
            } else {
                menu->addAction(actions.at(id));
            }
        }
    }
    return recent;
}

QToolBar* buildToolBar(QMainWindow& window, const CommandActions& actions) {
    QToolBar* bar = window.addToolBar(QStringLiteral("ツール バー"));
    bar->setObjectName(QStringLiteral("toolBar"));
    for (int id : toolBarCommands()) {
        if (id == command::kSeparator) {
            bar->addSeparator();
        } else {
            bar->addAction(actions.at(id));
        }
    }
    return bar;
}

void updateAvailability(const CommandActions& actions, const CommandState& state) {
    for (const CommandDeclaration& declared : commandDeclarations()) {
        actions.at(declared.id)->setEnabled(commandAvailable(declared.enabledWhen, state));
    }
}

}  // namespace dorvo
