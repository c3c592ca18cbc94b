// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/scale_dialog.h"
#include "gui/qt_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_parts.h"

namespace dorvo {

namespace {

QLineEdit* readOnlyField(const QString& name, QWidget* parent) {
    QLineEdit* field = namedField(name, parent);
    field->setReadOnly(true);
    return field;
}

/// One line of the dialog: caption, field and unit.
void addRow(QGridLayout* grid, const QString& caption, QWidget* field, const QString& unit = {}) {
    const int row = grid->rowCount();
    grid->addWidget(labelFor(caption, field, field->parentWidget()), row, 0);
    grid->addWidget(field, row, 1);
    if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, field->parentWidget()), row, 2);
}

}  // namespace

ScaleDialog::ScaleDialog(const ScaleForm& form, const ScaleContext& context, Store store,
                         QWidget* parent)
    : QDialog(parent), context_(context), store_(std::move(store)) {
    setWindowTitle(QStringLiteral("図の縮尺と印刷範囲"));
    auto* layout = new QVBoxLayout(this);

    auto* scales = new QGroupBox(QStringLiteral("縮尺 1/?   20～2000"), this);
    auto* scaleGrid = new QGridLayout(scales);
    scaleY_ = namedField(qText(scale_label::kScaleY), scales);
    scaleX_ = namedField(qText(scale_label::kScaleX), scales);
    addRow(scaleGrid, QStringLiteral("Ｙ（縦） (&Y) "), scaleY_);
    addRow(scaleGrid, QStringLiteral("Ｘ（横） (&X) "), scaleX_);
    layout->addWidget(scales);

    auto* paper = new QGroupBox(QStringLiteral("用紙と１ページの表示範囲"), this);
    auto* paperGrid = new QGridLayout(paper);
    auto* paperHeight = readOnlyField(QStringLiteral("用紙 Ｙ（縦） mm"), paper);
    auto* paperWidth = readOnlyField(QStringLiteral("用紙 Ｘ（横） mm"), paper);
    metresY_ = readOnlyField(QStringLiteral("１ページの表示範囲 Ｙ（縦） m"), paper);
    metresX_ = readOnlyField(QStringLiteral("１ページの表示範囲 Ｘ（横） m"), paper);
    paperHeight->setText(QString::number(context.setup.paperHeightMm));
    paperWidth->setText(QString::number(context.setup.paperWidthMm));
    paperGrid->addWidget(new QLabel(QStringLiteral("Ｙ（縦）"), paper), 0, 0);
    paperGrid->addWidget(paperHeight, 0, 1);
    paperGrid->addWidget(new QLabel(QStringLiteral("mm"), paper), 0, 2);
    paperGrid->addWidget(metresY_, 0, 3);
    paperGrid->addWidget(new QLabel(QStringLiteral("m"), paper), 0, 4);
    paperGrid->addWidget(new QLabel(QStringLiteral("Ｘ（横）"), paper), 1, 0);
    paperGrid->addWidget(paperWidth, 1, 1);
    paperGrid->addWidget(new QLabel(QStringLiteral("mm"), paper), 1, 2);
    paperGrid->addWidget(metresX_, 1, 3);
    paperGrid->addWidget(new QLabel(QStringLiteral("m"), paper), 1, 4);
    noLength_ =
        new QLabel(QString::fromStdString(makeMessage(MessageId::NoDrawingLength).text), paper);
    noLength_->setAccessibleName(QStringLiteral("作図長さ"));
    paperGrid->addWidget(noLength_, 2, 0, 1, 5);
    layout->addWidget(paper);

    auto* range = new QGroupBox(QStringLiteral("印刷範囲"), this);
    auto* rangeGrid = new QGridLayout(range);
    topY_ = namedField(qText(scale_label::kTopY), range);
    depth_ = namedField(qText(scale_label::kDepthM), range);
    bottomY_ = readOnlyField(QStringLiteral("下端のY座標"), range);
    left_ = namedField(qText(scale_label::kLeftX), range);
    width_ = namedField(qText(scale_label::kWidthM), range);
    overlap_ = namedField(qText(scale_label::kOverlapM), range);
    addRow(rangeGrid, QStringLiteral("上端のＹ座標"), topY_, QStringLiteral("ｍ"));
    addRow(rangeGrid, QStringLiteral("Ｙ（縦）範囲　"), depth_, QStringLiteral("ｍ/頁"));
    addRow(rangeGrid, QStringLiteral("下端のY座標"), bottomY_, QStringLiteral("ｍ"));
    addRow(rangeGrid, QStringLiteral("左端のＸ座標"), left_, QStringLiteral("ｍ"));
    addRow(rangeGrid, QStringLiteral("Ｘ（横）範囲"), width_, QStringLiteral("ｍ/頁"));
    addRow(rangeGrid, QStringLiteral("改ページ重複距離"), overlap_, QStringLiteral("ｍ"));
    layout->addWidget(range);
    layout->addWidget(new QLabel(QStringLiteral("図の表示、印刷はX方向にのみ改頁します。\n"
                                                "Ｙ方向は [上端のＹ座標] を設定して下さい。"),
                                 this));

    auto* buttons = new QHBoxLayout;
    auto* example = new QPushButton(QStringLiteral("標準の設定例"), this);
    connect(example, &QPushButton::clicked, this, [this] {
        ScaleForm shown = this->form();
        applyScaleExample(shown, context_);
        setForm(shown);
    });
    buttons->addWidget(example);
    buttons->addStretch();
    buttons->addWidget(okCancelButtons(this));
    layout->addLayout(buttons);

    connect(scaleX_, &QLineEdit::textChanged, this, &ScaleDialog::showPageMetres);
    connect(scaleY_, &QLineEdit::textChanged, this, &ScaleDialog::showPageMetres);
    connect(topY_, &QLineEdit::textChanged, this, &ScaleDialog::showBottomY);
    connect(depth_, &QLineEdit::textChanged, this, &ScaleDialog::showBottomY);
    setForm(form);
}

ScaleForm ScaleDialog::form() const {
    return {scaleY_->text().toStdString(), scaleX_->text().toStdString(),
            topY_->text().toStdString(),   depth_->text().toStdString(),
            left_->text().toStdString(),   width_->text().toStdString(),
            overlap_->text().toStdString()};
}

void ScaleDialog::setForm(const ScaleForm& form) {
    scaleY_->setText(QString::fromStdString(form.scaleY));
    scaleX_->setText(QString::fromStdString(form.scaleX));
    topY_->setText(QString::fromStdString(form.topY));
    depth_->setText(QString::fromStdString(form.depthM));
    left_->setText(QString::fromStdString(form.leftX));
    width_->setText(QString::fromStdString(form.widthM));
    overlap_->setText(QString::fromStdString(form.overlapM));
    showPageMetres();
    showBottomY();
}

void ScaleDialog::showPageMetres() {
    // A scale being typed passes through values that leave no length ("5" of "500"): the
    // dialog says so beside the metres instead of interrupting the typing; OK refuses it.
    const std::optional<int> y = pageMetresYOf(scaleY_->text().toStdString(), context_.setup);
    const std::optional<int> x = pageMetresXOf(scaleX_->text().toStdString(), context_.setup);
    metresY_->setText(QString::number(y.value_or(0)));
    metresX_->setText(QString::number(x.value_or(0)));
    noLength_->setVisible(!x || !y);
}

void ScaleDialog::showBottomY() {
    bottomY_->setText(QString::fromStdString(
        bottomYText(topY_->text().toStdString(), depth_->text().toStdString())));
}

void ScaleDialog::accept() {
    ScaleForm typed = form();
    const std::optional<ScaleStep> next = store_(typed, showing_);
    if (!next) return;
    switch (*next) {
        case ScaleStep::ShowAgain:
            ++showing_;
            setForm(typed);
            return;
        case ScaleStep::Done:
            QDialog::accept();
            return;
    }
}

}  // namespace dorvo
