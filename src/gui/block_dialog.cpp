// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/block_dialog.h"
#include "gui/qt_text.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/block_line_editing.h"
#include "gui/block_line_dialog.h"
#include "gui/dialog_parts.h"
#include "model/encoding.h"

namespace dorvo {

namespace {

std::vector<EditorColumn> blockColumns() {
    return {{QStringLiteral("X m"), 58, CellStorage::JoinedField, true},
            {QStringLiteral("Y座標データ"), 348, CellStorage::BlockLines}};
}

}  // namespace

BlockDialog::BlockDialog(const Project& project, const EditorOptions& options,
                         MessageSink& messages, YesNoQuestion& question, QWidget* parent)
    : TableEditorDialog(blockTable(project), blockNavigation(), blockColumns(),
                        QStringLiteral("ブロックデータ"), options, messages, question, parent),
      layerChoices_(layerChoices(project)),
      blocks_(project.blocks) {
    setWindowTitle(QStringLiteral("ブロックデータ"));
    x_ = namedField(QStringLiteral("X 座標 m"), this);
    lines_ = namedField(QStringLiteral("Y 座標"), this);
    lines_->setReadOnly(true);
    editLines_ = new QPushButton(QStringLiteral("入力"), this);
    add_ = new QPushButton(QStringLiteral("データ追加↓"), this);
    overwrite_ = new QPushButton(QStringLiteral("上書き↓"), this);
    delete_ = new QPushButton(QStringLiteral("行削除"), this);

    auto* fields = new QGridLayout;
    fields->addWidget(labelFor(QStringLiteral("X 座標 m"), x_, this), 0, 0);
    fields->addWidget(x_, 0, 1);
    fields->addWidget(labelFor(QStringLiteral("Y 座標"), lines_, this), 1, 0);
    fields->addWidget(editLines_, 1, 1, Qt::AlignLeft);
    fields->addWidget(lines_, 2, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {add_, overwrite_, delete_}) buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(new QLabel(QStringLiteral("クリックで編集↑"), this));
    layout->addWidget(list(), 1);
    layout->addWidget(okCancelButtons(this));
    list()->setMinimumWidth(58 + 348 + 24);
    list()->setMinimumHeight(300);

    connect(add_, &QPushButton::clicked, this, &BlockDialog::addRow);
    connect(overwrite_, &QPushButton::clicked, this, &BlockDialog::overwriteRow);
    connect(delete_, &QPushButton::clicked, this, &BlockDialog::deleteSelectedRow);
    connect(editLines_, &QPushButton::clicked, this, &BlockDialog::editLines);
    connect(list(), &TableEditorView::rowClicked, this, &BlockDialog::rowClicked);
    connect(list(), &TableEditorView::cellCommitted, this, &BlockDialog::loadEntryFields);
    connect(list(), &TableEditorView::rowEntered, this, [this] {
        clearEntryFields();
        loadEntryFields(list()->navigation().currentRow, 0);
    });
    connect(list(), &TableEditorView::currentRowLeft, this, &BlockDialog::clearEntryFields);
    x_->installEventFilter(this);
    lines_->installEventFilter(this);
}

std::optional<BlockEntry> BlockDialog::typedEntry() {
    auto x = storedNumberFieldText(x_, CellStorage::JoinedField, messages_);
    if (!x) return std::nullopt;
    auto lines = storedFieldText(lines_, CellStorage::BlockLines, messages_);
    if (!lines) return std::nullopt;
    return BlockEntry{*x, *lines};
}

void BlockDialog::addRow() {
    list()->navigation().editOpen = false;
    if (auto entry = typedEntry()) {
        const Result<int> row = addBlock(table_, *entry);
        if (row) {
            list()->tableChanged();
            list()->scrollTo(list()->model()->index(*row - 1, 0));
            clearEntryFields();
        } else {
            messages_.report(row.error());
        }
    }
    afterEntryButton();
}

void BlockDialog::overwriteRow() {
    list()->navigation().editOpen = false;
    if (auto entry = typedEntry()) {
        const Result<int> row = overwriteBlock(table_, *entry);
        if (row) {
            list()->tableChanged();
            list()->scrollTo(list()->model()->index(*row - 1, 0));
            clearEntryFields();
        } else {
            messages_.report(row.error());
        }
    }
    afterEntryButton();
}

void BlockDialog::afterEntryButton() {
    list()->navigation().changed = true;
    list()->clearCurrentRow();
    add_->setEnabled(true);
    x_->setFocus();
}

void BlockDialog::deleteSelectedRow() {
    if (deleteSelectedTableRow()) {
        clearEntryFields();
        list()->navigation().changed = true;
    }
    add_->setEnabled(true);
    x_->setFocus();
}

void BlockDialog::editLines() {
    auto entry = typedEntry();
    if (!entry) return;
    const auto inputs = blockLineEditorInputs(table_, *entry);
    if (!inputs) {
        messages_.report(inputs.error());
        return;
    }
    BlockLineDialog dialog(*inputs, layerChoices_, options_, messages_, question_, this);
    EnterKeyFilter::install(&dialog, options_.enterKey);
    if (dialog.exec() != QDialog::Accepted) return;
    lines_->setText(shown(dialog.lines()));
    const Result<int> stored = storeReturnedLines(table_, {entry->x, dialog.lines()});
    if (stored) {
        list()->tableChanged();
    } else {
        messages_.report(stored.error());
    }
    list()->navigation().changed = true;
    overwrite_->setFocus();
}

void BlockDialog::rowClicked(int row) {
    loadEntryFields(row, 0);
    add_->setEnabled(false);  // the row's X is listed already
}

bool BlockDialog::eventFilter(QObject* watched, QEvent* event) {
    // Focus that goes to a message box or another window has not left the field.
    if (event->type() == QEvent::FocusOut && (watched == x_ || watched == lines_) &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        entryFieldLeft(watched == x_);
    }
    return TableEditorDialog::eventFilter(watched, event);
}

void BlockDialog::entryFieldLeft(bool xField) {
    const int row = list()->navigation().currentRow;
    const bool rowCurrent = row >= 1 && row <= kMaxBlocks;
    if (xField) add_->setEnabled(!rowCurrent);
    if (!rowCurrent) return;
    auto x = toStorableText(x_->text().toStdString(), CellStorage::JoinedField);
    auto lines = toStorableText(lines_->text().toStdString(), CellStorage::BlockLines);
    if (x && lines && updateCurrentBlock(table_, row, {x.value(), lines.value()})) {
        list()->tableChanged();
    }
}

void BlockDialog::loadEntryFields(int row, int column) {
    if (row < 1 || row > kMaxBlocks) return;
    if (column != 2) x_->setText(shown(table_.cell(row, 1)));
    if (column != 1) lines_->setText(shown(table_.cell(row, 2)));
    list()->showRowSelected(row);
}

void BlockDialog::clearEntryFields() {
    x_->clear();
    lines_->clear();
}

bool BlockDialog::store() {
    if (auto problem = findInvalidBlockRow(table_)) {
        refuseRow(*problem);
        return false;
    }
    const SortedRows sorted = sortBlocks(table_);
    if (sorted.duplicates) messages_.report(*sorted.duplicates);
    storeBlocks(blocks_, sorted.rows);
    return true;
}

}  // namespace dorvo
