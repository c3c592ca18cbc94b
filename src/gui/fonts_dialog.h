// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>

#include "app/font_editing.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace dorvo {

class UserInteraction;

/// "フォント": the six font slots, each with its face, size and colour; a slot's button
/// chooses its font, "色" its colour. Cancel after a change asks first (133).
class FontsDialog : public QDialog {
    Q_OBJECT

  public:
    FontsDialog(const FontSlots& fonts, UserInteraction& user, QWidget* parent = nullptr);

    /// The slots as chosen; OK takes them.
    const FontSlots& chosenSlots() const { return editing_.fonts; }

    QPushButton* fontButton(int slot) const { return row(slot).font; }
    QPushButton* colourButton(int slot) const { return row(slot).colour; }
    QLineEdit* sizeBox(int slot) const { return row(slot).size; }
    QLineEdit* faceBox(int slot) const { return row(slot).face; }

    void reject() override;

  private:
    struct SlotRow {
        QPushButton* font = nullptr;
        QLineEdit* face = nullptr;
        QLineEdit* size = nullptr;
        QLabel* swatch = nullptr;
        QPushButton* colour = nullptr;
    };

    const SlotRow& row(int slot) const { return rows_.at(static_cast<std::size_t>(slot - 1)); }
    void chooseFont(int slot);
    void chooseColour(int slot);
    void showSlot(int slot);

    UserInteraction& user_;
    FontEditing editing_;
    std::array<SlotRow, kFontSlots> rows_{};
};

}  // namespace dorvo
