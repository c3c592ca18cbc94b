// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/line_styles_dialog.h"
#include "gui/qt_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "canvas_qt/qpainter_canvas.h"
#include "gui/colour_parts.h"
#include "gui/dialog_parts.h"
#include "gui/user_interaction.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

/// The notes of a group, as the dialog shows them beneath its fields.
QString notesOf(std::string_view group) {
    if (group == "ブロック線") return QStringLiteral("太さ 単位　ピクセル");
    if (group == "すべり面範囲") return QStringLiteral("空白部長さ＝0 で実線");
    if (group == "グリッド") return QStringLiteral("太さ、または きざみ＝0で 非表示");
    return {};
}

}  // namespace

LineStylesDialog::LineStylesDialog(const LineStyleForm& form, UserInteraction& user, Store store,
                                   QWidget* parent)
    : QDialog(parent), user_(user), store_(std::move(store)) {
    setWindowTitle(QStringLiteral("様式 図の線種"));
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QGridLayout;
    int boxes = 0;
    auto placeBox = [&](QGroupBox* placed) {
        groups->addWidget(placed, boxes / 2, boxes % 2, Qt::AlignTop);
        ++boxes;
    };
    std::vector<std::pair<QGroupBox*, QGridLayout*>> boxGrids;
    for (std::size_t i = 0; i < kLineStyleFields.size(); ++i) {
        const LineStyleField& style = kLineStyleFields[i];
        if (boxGrids.empty() || boxGrids.back().first->title() != qText(style.group)) {
            auto* box = new QGroupBox(qText(style.group), this);
            boxGrids.emplace_back(box, new QGridLayout(box));
            placeBox(box);
        }
        auto [box, grid] = boxGrids.back();
        QLineEdit* edit = namedField(QString::fromStdString(style.name()), box);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0x000000MM")));
        const int row = grid->rowCount();
        grid->addWidget(labelFor(qText(style.label), edit, box), row, 0);
        grid->addWidget(edit, row, 1);
        fields_[i] = edit;
        if (style.kind == LineStyleKind::ColourText) {
            auto* choose = new QPushButton(QStringLiteral("色"), box);
            choose->setAccessibleName(qText(style.group) + " 色を選ぶ");
            grid->addWidget(choose, row, 2);
            connect(choose, &QPushButton::clicked, this, [this, edit] { chooseColour(edit); });
            connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
                showTextInColour(edit, readColour(text.toStdString()));
            });
        }
    }
    for (auto [box, grid] : boxGrids) {
        const QString notes = notesOf(box->title().toStdString());
        if (!notes.isEmpty()) grid->addWidget(new QLabel(notes, box), grid->rowCount(), 0, 1, 3);
    }

    auto* decimalsBox = new QGroupBox(QStringLiteral("少数以下桁数"), this);
    auto* decimalsGrid = new QGridLayout(decimalsBox);
    decimals_ = new QComboBox(decimalsBox);
    decimals_->addItems({QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    decimals_->setAccessibleName(QStringLiteral("少数以下桁数 安全率 Fs"));
    decimalsGrid->addWidget(labelFor(QStringLiteral("安全率 Fs"), decimals_, decimalsBox), 0, 0);
    decimalsGrid->addWidget(decimals_, 0, 1);
    decimalsGrid->addWidget(new QLabel(QStringLiteral("次回計算時に反映されます."), decimalsBox), 1,
                            0, 1, 2);
    placeBox(decimalsBox);
    layout->addLayout(groups);

    auto* buttons = new QHBoxLayout;
    auto* example = new QPushButton(QStringLiteral("標準の設定例"), this);
    auto* dashed = new QPushButton(QStringLiteral("すべり面破線"), this);
    connect(example, &QPushButton::clicked, this, [this] {
        LineStyleForm shown = this->form();
        applyLineStyleExample(shown);
        setForm(shown);
    });
    connect(dashed, &QPushButton::clicked, this, [this] {
        LineStyleForm shown = this->form();
        applyDashedSlipRange(shown);
        setForm(shown);
    });
    buttons->addWidget(example);
    buttons->addWidget(dashed);
    buttons->addStretch();
    buttons->addWidget(okCancelButtons(this));
    layout->addLayout(buttons);
    setForm(form);
}

QPushButton* LineStylesDialog::colourButton(std::string_view group) const {
    const QString name = qText(group) + " 色を選ぶ";
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->accessibleName() == name) return button;
    }
    return nullptr;
}

LineStyleForm LineStylesDialog::form() const {
    LineStyleForm form;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        form.texts[i] = fields_[i]->text().toStdString();
    form.decimalsIndex = decimals_->currentIndex();
    return form;
}

void LineStylesDialog::setForm(const LineStyleForm& form) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(QString::fromStdString(form.texts[i]));
    }
    decimals_->setCurrentIndex(form.decimalsIndex);
}

void LineStylesDialog::chooseColour(QLineEdit* box) {
    const std::optional<QColor> chosen =
        user_.chooseColour(toQColor(readColour(box->text().toStdString())));
    if (chosen) box->setText(QString::fromStdString(formatColour(colourOf(*chosen))));
}

void LineStylesDialog::accept() {
    if (store_(form())) QDialog::accept();
}

}  // namespace dorvo
