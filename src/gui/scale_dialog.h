// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "app/scale_editing.h"

class QLabel;
class QLineEdit;

namespace dorvo {

/// "図の縮尺と印刷範囲": the scales and the model window of the figure, measured against the
/// paper. Each OK hands the texts to `store`; the dialog stays for another showing with the
/// corrected texts while `store` asks for one, and stays as it is when `store` gives nothing
/// (a value was refused).
class ScaleDialog : public QDialog {
    Q_OBJECT

  public:
    using Store = std::function<std::optional<ScaleStep>(ScaleForm& typed, int showing)>;

    ScaleDialog(const ScaleForm& form, const ScaleContext& context, Store store,
                QWidget* parent = nullptr);

    ScaleForm form() const;
    void setForm(const ScaleForm& form);
    int showing() const { return showing_; }

    QLineEdit* scaleXField() const { return scaleX_; }
    QLineEdit* scaleYField() const { return scaleY_; }
    QLineEdit* widthField() const { return width_; }
    QLineEdit* metresXField() const { return metresX_; }
    QLabel* noLengthNote() const { return noLength_; }

    void accept() override;

  private:
    void showPageMetres();
    void showBottomY();

    ScaleContext context_;
    Store store_;
    int showing_ = 1;
    QLineEdit* scaleY_;
    QLineEdit* scaleX_;
    QLineEdit* metresY_;
    QLineEdit* metresX_;
    QLabel* noLength_;
    QLineEdit* topY_;
    QLineEdit* depth_;
    QLineEdit* bottomY_;
    QLineEdit* left_;
    QLineEdit* width_;
    QLineEdit* overlap_;
};

}  // namespace dorvo
