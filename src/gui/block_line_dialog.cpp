// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/block_line_dialog.h"
#include "gui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/block_preview_widget.h"
#include "gui/dialog_parts.h"
#include "model/encoding.h"

namespace dorvo {

namespace {

std::vector<EditorColumn> lineColumns() {
    return {{QStringLiteral("Y 左"), 72, CellStorage::JoinedField, true},
            {QStringLiteral("Y 右"), 72, CellStorage::JoinedField, true},
            {QStringLiteral("層No."), 70, CellStorage::JoinedField, true}};
}

std::string storedOrEmpty(const QString& typed) {
    return toStoredText(typed.toStdString()).value_or("");
}

QLineEdit* readOnlyField(const QString& name, const std::string& text, QWidget* parent) {
    QLineEdit* field = namedField(name, parent);
    field->setText(shown(text));
    field->setReadOnly(true);
    return field;
}

}  // namespace

BlockLineDialog::BlockLineDialog(const BlockLineEditorInputs& inputs,
                                 const std::vector<std::string>& layerChoices,
                                 const EditorOptions& options, MessageSink& messages,
                                 YesNoQuestion& question, QWidget* parent)
    : TableEditorDialog(linesTable(inputs.lines), lineNavigation(), lineColumns(),
                        QStringLiteral("Y座標データ"), {options.enterKey, false}, messages,
                        question, parent),
      leftLines_(leftBlockLines(inputs.leftLines)),
      lines_(inputs.lines) {
    setWindowTitle(QStringLiteral("ブロックデータ > Y座標"));
    frame_ = previewFrame(inputs.xLeft, inputs.xRight, inputs.farLeftX, table_, leftLines_);
    list()->setClicksSelectRows(false);

    auto* columns = new QHBoxLayout;
    columns->addLayout(makeLeftBlockArea());
    columns->addLayout(makeEntryArea(inputs, layerChoices), 1);
    columns->addWidget(makePreviewArea());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(okCancelButtons(this));

    connect(add_, &QPushButton::clicked, this, &BlockLineDialog::addRow);
    connect(delete_, &QPushButton::clicked, this, &BlockLineDialog::deleteSelectedRow);
    connect(level_, &QPushButton::clicked, this, &BlockLineDialog::copyYLeftToYRight);
    connect(leftList_, &QListWidget::itemClicked, this, &BlockLineDialog::copyFromLeftBlock);
    connect(leftList_, &QListWidget::currentRowChanged, this, &BlockLineDialog::copyFromLeftBlock);
    connect(list(), &TableEditorView::rowEntered, this, [this] {
        redrawPreview();
        clearEntryFields();
    });
    connect(list(), &TableEditorView::columnEntered, this, &BlockLineDialog::redrawPreview);
    for (QWidget* watched : std::initializer_list<QWidget*>{yLeft_, yRight_, leftList_}) {
        watched->installEventFilter(this);
    }
}

QLayout* BlockLineDialog::makeLeftBlockArea() {
    leftList_ = new QListWidget(this);
    leftList_->setAccessibleName(QStringLiteral("左ブロックの Y 右 層No."));
    QPalette palette = leftList_->palette();
    palette.setColor(QPalette::Base, QColor(251, 251, 239));
    leftList_->setPalette(palette);
    leftList_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));  // keeps "%8.2f"
    leftList_->setFixedWidth(110);
    for (const LeftBlockLine& line : leftLines_) leftList_->addItem(shown(line.listText));
    copyLayer_ = new QCheckBox(QStringLiteral("層Noもコピー"), this);
    copyLayer_->setChecked(true);

    auto* area = new QVBoxLayout;
    area->addWidget(new QLabel(QStringLiteral("左ブロックの\nY 右　層No."), this));
    area->addWidget(leftList_, 1);
    area->addWidget(new QLabel(QStringLiteral("クリックでコピー"), this));
    area->addWidget(copyLayer_);
    return area;
}

QLayout* BlockLineDialog::makeEntryArea(const BlockLineEditorInputs& inputs,
                                        const std::vector<std::string>& layerChoices) {
    QLineEdit* xLeft = readOnlyField(QStringLiteral("X 左"), inputs.xLeft, this);
    QLineEdit* xRight = readOnlyField(QStringLiteral("X 右"), inputs.xRight, this);
    yLeft_ = namedField(QStringLiteral("Y 左"), this);
    yRight_ = namedField(QStringLiteral("Y 右"), this);
    level_ = new QPushButton(QStringLiteral("→"), this);
    level_->setFixedWidth(32);
    for (QLineEdit* field : {yLeft_, yRight_}) field->setMinimumWidth(70);
    level_->setAccessibleDescription(QStringLiteral("Y 左を Y 右へ"));
    layerNo_ = new QComboBox(this);
    layerNo_->setEditable(true);
    layerNo_->setInsertPolicy(QComboBox::NoInsert);
    layerNo_->setMinimumWidth(70);
    layerNo_->setAccessibleName(QStringLiteral("層No."));
    layerNo_->lineEdit()->setAccessibleName(QStringLiteral("層No."));
    for (const std::string& choice : layerChoices) layerNo_->addItem(shown(choice));
    layerNo_->setCurrentIndex(-1);
    add_ = new QPushButton(QStringLiteral("↓ 追加 "), this);
    delete_ = new QPushButton(QStringLiteral("行削除"), this);

    auto* edges = new QHBoxLayout;
    edges->addWidget(labelFor(QStringLiteral("X 左"), xLeft, this));
    edges->addWidget(xLeft);
    edges->addWidget(labelFor(QStringLiteral("X 右"), xRight, this));
    edges->addWidget(xRight);
    edges->addWidget(new QLabel(QStringLiteral("m"), this));
    // The arrow from the left block's list: a click there copies into these fields.
    auto* fromLeft = new QLabel(QStringLiteral("→"), this);
    fromLeft->setAccessibleName(QStringLiteral("左ブロックから"));
    auto* entry = new QGridLayout;
    entry->addWidget(labelFor(QStringLiteral("Y 左"), yLeft_, this), 0, 1);
    entry->addWidget(labelFor(QStringLiteral("Y 右"), yRight_, this), 0, 3);
    entry->addWidget(labelFor(QStringLiteral("層No."), layerNo_, this), 0, 4);
    entry->addWidget(fromLeft, 1, 0);
    entry->addWidget(yLeft_, 1, 1);
    entry->addWidget(level_, 1, 2);
    entry->addWidget(yRight_, 1, 3);
    entry->addWidget(layerNo_, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(delete_);
    buttons->addStretch();

    auto* area = new QVBoxLayout;
    area->addLayout(edges);
    area->addLayout(entry);
    area->addLayout(buttons);
    area->addWidget(list(), 1);
    area->addWidget(new QLabel(QStringLiteral("リスト内ダブルクリックで編集"), this));
    list()->setMinimumSize(72 + 72 + 70 + 24, 320);
    return area;
}

QWidget* BlockLineDialog::makePreviewArea() {
    auto* group = new QGroupBox(this);
    preview_ = new BlockPreviewWidget(
        [this](DeviceRect window) { return previewScene(frame_, table_, pendingEntry(), window); },
        group);
    auto* redraw = new QPushButton(QStringLiteral("描画"), group);
    connect(redraw, &QPushButton::clicked, this, &BlockLineDialog::redrawPreview);
    auto* area = new QVBoxLayout(group);
    area->addWidget(redraw, 0, Qt::AlignLeft);
    area->addWidget(preview_);
    area->addWidget(new QLabel(QStringLiteral("等分布荷重として指定された\n"
                                              "層より上の抵抗モーメントは\n"
                                              "計算しません。　\n"
                                              "すべり円は下図となります。\n"
                                              "←等分布荷重　"),
                               group));
    area->addStretch();
    return group;
}

std::optional<LineEntry> BlockLineDialog::typedEntry() {
    auto yLeft = storedNumberFieldText(yLeft_, CellStorage::JoinedField, messages_);
    if (!yLeft) return std::nullopt;
    auto yRight = storedNumberFieldText(yRight_, CellStorage::JoinedField, messages_);
    if (!yRight) return std::nullopt;
    auto layerNo = storedNumberFieldText(layerNo_->lineEdit(), CellStorage::JoinedField, messages_);
    if (!layerNo) return std::nullopt;
    return LineEntry{*yLeft, *yRight, *layerNo};
}

LineEntry BlockLineDialog::pendingEntry() const {
    return {storedOrEmpty(yLeft_->text()), storedOrEmpty(yRight_->text()),
            storedOrEmpty(layerNo_->currentText())};
}

void BlockLineDialog::redrawPreview() {
    preview_->update();
}

void BlockLineDialog::clearEntryFields() {
    yLeft_->clear();
    yRight_->clear();
    layerNo_->setCurrentIndex(-1);
}

void BlockLineDialog::addRow() {
    list()->navigation().editOpen = false;
    if (auto entry = typedEntry()) {
        const auto row = addLine(table_, *entry, question_);
        if (!row) {
            messages_.report(row.error());
        } else if (*row) {
            list()->tableChanged();
            list()->scrollTo(list()->model()->index(**row - 1, 0));
            clearEntryFields();
        }
    }
    list()->navigation().changed = true;
    redrawPreview();
    yLeft_->setFocus();
    list()->clearCurrentRow();
}

void BlockLineDialog::deleteSelectedRow() {
    if (deleteSelectedTableRow()) {
        clearEntryFields();
        redrawPreview();
    }
    yLeft_->setFocus();
}

void BlockLineDialog::copyFromLeftBlock() {
    const int index = leftList_->currentRow();
    if (index < 0 || index >= static_cast<int>(leftLines_.size())) return;
    clearEntryFields();
    const LineEntry copied = dorvo::copyFromLeftBlock(leftLines_[static_cast<std::size_t>(index)],
                                                      copyLayer_->isChecked());
    yLeft_->setText(shown(copied.yLeft));
    if (!copied.layerNo.empty()) layerNo_->setEditText(shown(copied.layerNo));
    list()->navigation().editOpen = false;
    redrawPreview();
}

void BlockLineDialog::copyYLeftToYRight() {
    yRight_->setText(yLeft_->text());
    redrawPreview();
    list()->navigation().editOpen = false;
}

bool BlockLineDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut ||
        (event->type() == QEvent::FocusIn && watched == yLeft_)) {
        redrawPreview();
    }
    return TableEditorDialog::eventFilter(watched, event);
}

bool BlockLineDialog::store() {
    if (auto problem = findInvalidLineRow(table_)) {
        refuseRow(*problem);
        return false;
    }
    const SortedRows sorted = sortLines(table_);
    if (sorted.duplicates) messages_.report(*sorted.duplicates);
    lines_ = joinLines(sorted.rows);
    return true;
}

}  // namespace dorvo
