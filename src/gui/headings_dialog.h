// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <vector>

#include "app/headings_editing.h"

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLineEdit;

namespace dorvo {

/// "見出しとページ": headings, page numbers and display options of the project. OK hands the
/// values to `store`, which keeps the dialog open by returning false.
class HeadingsDialog : public QDialog {
    Q_OBJECT

  public:
    using Store = std::function<bool(const HeadingsValues& typed)>;

    HeadingsDialog(const HeadingsValues& values, const PageSetup& paper,
                   const std::vector<std::string>& extraCandidates, Store store,
                   QWidget* parent = nullptr);

    HeadingsValues values() const;
    void setValues(const HeadingsValues& values);

    /// The text field of a settings line (the edit of a combo box for headings and forms).
    QLineEdit* field(int line) const { return fields_.at(line); }
    QCheckBox* check(int line) const { return checks_.at(line); }

    void accept() override;

  private:
    QWidget* headingsBox(const std::vector<std::string>& extraCandidates);
    QWidget* pageNumbersBox();
    QWidget* optionsBox();
    QLineEdit* addField(int line, QGridLayout* grid, int row, int column);
    QCheckBox* addCheck(int line, const QString& caption, QGridLayout* grid, int row, int column,
                        int columnSpan = 1);
    QLineEdit* addCopy(int line, const QString& name, QGridLayout* grid, int row, int column);
    QButtonGroup* addChoices(int line, const QStringList& captions, QGridLayout* grid, int row);
    void followCentring();

    PageSetup paper_;
    Store store_;
    std::map<int, QLineEdit*> fields_;
    std::map<int, QCheckBox*> checks_;
    std::map<int, QButtonGroup*> choices_;
    std::map<int, std::vector<QLineEdit*>> copies_;  // read-only copies of a left distance
};

}  // namespace dorvo
