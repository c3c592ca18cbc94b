// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "app/circle_search_editing.h"

class QLineEdit;

namespace dorvo {

/// "すべり円データ": the centre grid, the radius range, the limit points and Kh. Each OK
/// stores the texts through `store`; the dialog stays for another showing while `store`
/// asks for one, and stays as it is when `store` gives nothing (the texts were refused).
class CircleSearchDialog : public QDialog {
    Q_OBJECT

  public:
    using Store =
        std::function<std::optional<CircleSearchStep>(const CircleSearchTexts& typed, int showing)>;

    CircleSearchDialog(const CircleSearchTexts& texts, Store store, QWidget* parent = nullptr);

    CircleSearchTexts texts() const;
    QLineEdit* field(std::size_t index) const { return fields_[index]; }
    int showing() const { return showing_; }

    void accept() override;

  private:
    Store store_;
    std::array<QLineEdit*, kCircleSearchLines + 1> fields_{};
    int showing_ = 1;
};

}  // namespace dorvo
