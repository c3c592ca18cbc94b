// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "app/line_style_editing.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace dorvo {

class UserInteraction;

/// "様式 図の線種": widths, colours and dashes of the figure's lines, the axis ticks, the
/// grid, the load marks, the decimals of Fs and the user's firm. OK hands the texts to
/// `store`, which keeps the dialog open by returning false.
class LineStylesDialog : public QDialog {
    Q_OBJECT

  public:
    using Store = std::function<bool(const LineStyleForm& typed)>;

    LineStylesDialog(const LineStyleForm& form, UserInteraction& user, Store store,
                     QWidget* parent = nullptr);

    LineStyleForm form() const;
    void setForm(const LineStyleForm& form);

    QLineEdit* field(std::string_view group, std::string_view label) const {
        return fields_[lineStyleFieldIndex(group, label)];
    }
    /// The "色" button beside a colour box.
    QPushButton* colourButton(std::string_view group) const;
    QComboBox* decimals() const { return decimals_; }

    void accept() override;

  private:
    void chooseColour(QLineEdit* box);

    UserInteraction& user_;
    Store store_;
    std::array<QLineEdit*, kLineStyleFieldCount> fields_{};
    QComboBox* decimals_;
};

}  // namespace dorvo
