// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/fonts_dialog.h"
#include "gui/qt_text.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "canvas_qt/qpainter_canvas.h"
#include "gui/colour_parts.h"
#include "gui/dialog_parts.h"
#include "gui/user_interaction.h"

namespace dorvo {

namespace {

int widthFor(const QWidget* field, const QString& sample) {
    return field->fontMetrics().horizontalAdvance(sample);
}

QFont qFontOf(const FontSlot& slot) {
    QFont font(QString::fromStdString(fontFaceText(slot)));
    if (slot.sizePoints > 0.0) font.setPointSizeF(slot.sizePoints);
    font.setItalic(slot.italic != 0);
    return font;
}

double pointSizeOf(const QFont& font) {
    if (font.pointSizeF() > 0.0) return font.pointSizeF();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    return font.pixelSize() * 72.0 / dpi;
}

}  // namespace

FontsDialog::FontsDialog(const FontSlots& fonts, UserInteraction& user, QWidget* parent)
    : QDialog(parent), user_(user), editing_{fonts, false} {
    setWindowTitle(QStringLiteral("フォント"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const QStringList headers = {"", "書体", "サイズ", "色", "", "用途"};
    for (int column = 0; column < headers.size(); ++column) {
        grid->addWidget(new QLabel(headers[column], this), 0, column);
    }
    for (int slot = 1; slot <= kFontSlots; ++slot) {
        const FontSlotCaption& caption = kFontSlotCaptions.at(static_cast<std::size_t>(slot - 1));
        const QString name = qText(caption.button);
        SlotRow& row = rows_.at(static_cast<std::size_t>(slot - 1));
        row.font = new QPushButton(name, this);
        row.face = namedField(name + " 書体", this);
        row.size = namedField(name + " サイズ", this);
        row.face->setReadOnly(true);
        row.size->setReadOnly(true);
        row.face->setMinimumWidth(widthFor(row.face, QStringLiteral("ＭＳ Ｐゴシック MM")));
        row.size->setMinimumWidth(widthFor(row.size, QStringLiteral(" 12     (12.0)MM")));
        row.swatch = new QLabel(QStringLiteral("■"), this);
        row.swatch->setAccessibleName(name + " 色見本");
        row.colour = new QPushButton(QStringLiteral("色"), this);
        row.colour->setAccessibleName(name + " 色");
        grid->addWidget(row.font, slot, 0);
        grid->addWidget(row.face, slot, 1);
        grid->addWidget(row.size, slot, 2);
        grid->addWidget(row.swatch, slot, 3);
        grid->addWidget(row.colour, slot, 4);
        grid->addWidget(new QLabel(qText(caption.usedFor), this), slot, 5);
        connect(row.font, &QPushButton::clicked, this, [this, slot] { chooseFont(slot); });
        connect(row.colour, &QPushButton::clicked, this, [this, slot] { chooseColour(slot); });
        showSlot(slot);
    }
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
}

void FontsDialog::showSlot(int slot) {
    const FontSlot& font = editing_.fonts.at(static_cast<std::size_t>(slot - 1));
    const SlotRow& shown = row(slot);
    shown.face->setText(QString::fromStdString(fontFaceText(font)));
    shown.size->setText(QString::fromStdString(fontSizeText(font.sizePoints)));
    showTextInColour(shown.swatch, static_cast<Colour>(font.colour));
}

void FontsDialog::chooseFont(int slot) {
    const FontSlot& font = editing_.fonts.at(static_cast<std::size_t>(slot - 1));
    const std::optional<QFont> chosen = user_.chooseFont(qFontOf(font));
    if (!chosen) return;
    const Status taken = takeChosenFont(
        editing_, slot, {chosen->family().toStdString(), pointSizeOf(*chosen), chosen->italic()});
    if (!taken) {
        user_.report(taken.error());
        return;
    }
    showSlot(slot);
}

void FontsDialog::chooseColour(int slot) {
    const FontSlot& font = editing_.fonts.at(static_cast<std::size_t>(slot - 1));
    const std::optional<QColor> chosen =
        user_.chooseColour(toQColor(static_cast<Colour>(font.colour)));
    if (!chosen) return;
    takeChosenColour(editing_, slot, static_cast<long>(colourOf(*chosen)));
    showSlot(slot);
}

void FontsDialog::reject() {
    if (mayDiscardFontChanges(editing_, user_)) QDialog::reject();
}

}  // namespace dorvo
