// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace dorvo {

/// What the Enter key does in the program's data-entry dialogs, the setting "キーの動作".
enum class EnterKeyAction {
    DefaultButton = 0,  // "Windows標準": as a click on OK
    NextField = 1,      // "次に移動": on to the next field
    StayInField = 2,    // "確定のみ": nothing
};

EnterKeyAction enterKeyActionOf(int setting);

/// Gives the Enter key of a dialog the behaviour the user chose. Installed on the dialog, it
/// sees the key in every field; an input method that is composing text keeps the key.
class EnterKeyFilter : public QObject {
  public:
    EnterKeyFilter(EnterKeyAction action, QObject* parent);

    /// Installs a filter on the dialog and on every field in it.
    static void install(QWidget* dialog, EnterKeyAction action);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EnterKeyAction action_;
};

}  // namespace dorvo
