// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "app/margins_editing.h"

class QLineEdit;

namespace dorvo {

/// "マージンと表示位置": the page margins and the column positions of the tables. OK hands
/// the texts to `store`, which keeps the dialog open by returning false.
class MarginsDialog : public QDialog {
    Q_OBJECT

  public:
    using Store = std::function<bool(const MarginsForm& typed)>;

    MarginsDialog(const MarginsForm& form, Store store, QWidget* parent = nullptr);

    MarginsForm form() const;
    void setForm(const MarginsForm& form);

    QLineEdit* topField() const { return top_; }
    QLineEdit* leftField() const { return left_; }
    QLineEdit* positionField(int row, int field) const {
        return positions_[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
    }

    void accept() override;

  private:
    Store store_;
    QLineEdit* top_;
    QLineEdit* left_;
    std::array<std::array<QLineEdit*, kMarginFields>, kMarginsDialogRows> positions_{};
};

}  // namespace dorvo
