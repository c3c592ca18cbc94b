// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/table_editor_dialog.h"

#include <QLineEdit>

#include "app/dialog_fields.h"

namespace dorvo {

TableEditorDialog::TableEditorDialog(EditorTable table, NavigationRules rules,
                                     std::vector<EditorColumn> columns, const QString& listName,
                                     const EditorOptions& options, MessageSink& messages,
                                     YesNoQuestion& question, QWidget* parent)
    : QDialog(parent),
      table_(std::move(table)),
      options_(options),
      messages_(messages),
      question_(question) {
    list_ = new TableEditorView(table_, std::move(rules), std::move(columns), messages_, this);
    list_->setAccessibleName(listName);
    connect(list_, &TableEditorView::missedRowDoubleClicked, this, [this] { clearEntryFields(); });
    if (const int start = startingRow(table_); start != 0) {
        list_->showRowSelected(start);
        list_->navigation().currentRow = start;
    }
}

void TableEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // Only now has the list its height. With the option the row after the last data row
    // stands at the bottom of the page (the last row when the table is full); without it the
    // list opens at its top, whichever row is selected.
    if (!options_.scrollToNewRow) {
        list_->scrollToTop();
    } else if (const int start = startingRow(table_); start != 0) {
        list_->scrollTo(list_->model()->index(start - 1, 0), QAbstractItemView::PositionAtBottom);
    } else {
        list_->scrollToBottom();
    }
}

TableEditorDialog::~TableEditorDialog() {
    list_->discardCellEditor();
}

void TableEditorDialog::accept() {
    if (!list_->commitCellEditor()) return;
    if (okEndsEdit(list_->navigation())) return;
    if (!store()) return;
    QDialog::accept();
}

void TableEditorDialog::reject() {
    if (cancelAsks(list_->navigation(), table_) &&
        !question_.askYesNo(makeMessage(MessageId::CancelChanges))) {
        return;
    }
    list_->discardCellEditor();  // what it holds is cancelled with the rest
    QDialog::reject();
}

void TableEditorDialog::refuseRow(const RowProblem& problem) {
    messages_.report(problem.message);
    list_->showRowSelected(problem.row);
    list_->setFocus();
}

void TableEditorDialog::mousePressEvent(QMouseEvent* event) {
    list_->endEdit();
    QDialog::mousePressEvent(event);
}

bool TableEditorDialog::deleteSelectedTableRow() {
    const int row = list_->selectedRow();
    list_->clearCurrentRow();
    if (row == 0) return false;
    deleteRow(table_, row);
    list_->tableChanged();
    return true;
}

namespace {

std::optional<std::string> reportedFieldText(QLineEdit* field, Result<std::string> text,
                                             MessageSink& messages) {
    if (!text) {
        messages.report(text.error());
        field->setFocus();
        field->selectAll();
        return std::nullopt;
    }
    return std::move(text).value();
}

}  // namespace

std::optional<std::string> storedFieldText(QLineEdit* field, CellStorage storage,
                                           MessageSink& messages) {
    return reportedFieldText(field, toStorableText(field->text().toStdString(), storage), messages);
}

std::optional<std::string> storedNumberFieldText(QLineEdit* field, CellStorage storage,
                                                 MessageSink& messages) {
    const std::string label = field->accessibleName().trimmed().toStdString();
    return reportedFieldText(field, typedNumberText(field->text().toStdString(), label, storage),
                             messages);
}

}  // namespace dorvo
