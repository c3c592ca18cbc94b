// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <filesystem>

#include "model/messages.h"
#include "settings/install_location.h"

class QButtonGroup;
class QLineEdit;
class QListWidget;

namespace dorvo {

class UserInteraction;

/// "キーの動作": what the Enter key does in the data-entry dialogs.
class EnterKeyDialog : public QDialog {
    Q_OBJECT

  public:
    EnterKeyDialog(int option, QWidget* parent = nullptr);
    int option() const;
    void setOption(int option);

  private:
    QButtonGroup* choices_;
};

/// "安定計算 セットアップ": the folder of the working files.
class LocationDialog : public QDialog {
    Q_OBJECT

  public:
    LocationDialog(const std::filesystem::path& current, const Environment& environment,
                   MessageSink& messages, QWidget* parent = nullptr);
    QLineEdit* folderField() const { return folder_; }
    std::string folder() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    MessageSink& messages_;
    QLineEdit* folder_;
};

/// "操作＆ヘルプ": the operating guide, line by line, and "開いて印刷".
class HelpDialog : public QDialog {
    Q_OBJECT

  public:
    HelpDialog(const std::filesystem::path& guide, UserInteraction& user,
               QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }

  private:
    QListWidget* list_;
};

/// "計算式": the formulas of the method and "開いて印刷" for the formula document.
class FormulaDialog : public QDialog {
    Q_OBJECT

  public:
    FormulaDialog(const std::filesystem::path& document, UserInteraction& user,
                  QWidget* parent = nullptr);
};

/// Opens a help file in the desktop's default program, a code page 932 guide as a UTF-8
/// copy so that it reads correctly; reports 4032 when nothing opens it.
void openHelpFile(const std::filesystem::path& file, UserInteraction& user);

/// "ﾊﾞｰｼﾞｮﾝ情報".
void showAboutBox(QWidget* parent);

}  // namespace dorvo
