// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/enter_key_filter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace dorvo {

EnterKeyAction enterKeyActionOf(int setting) {
    if (setting == 1) return EnterKeyAction::NextField;
    if (setting == 2) return EnterKeyAction::StayInField;
    return EnterKeyAction::DefaultButton;
}

EnterKeyFilter::EnterKeyFilter(EnterKeyAction action, QObject* parent)
    : QObject(parent), action_(action) {}

void EnterKeyFilter::install(QWidget* dialog, EnterKeyAction action) {
    auto* filter = new EnterKeyFilter(action, dialog);
    for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) field->installEventFilter(filter);
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || action_ == EnterKeyAction::DefaultButton) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    // A drop-down that is open takes the key as it always does.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->view()->isVisible()) {
        return false;
    }
    if (action_ == EnterKeyAction::NextField && widget != nullptr) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &tab);
    }
    return true;
}

}  // namespace dorvo
