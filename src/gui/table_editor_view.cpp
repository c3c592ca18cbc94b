// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/table_editor_view.h"

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <algorithm>

#include "model/encoding.h"

namespace dorvo {

namespace {

std::optional<CellKey> cellKeyOf(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return CellKey::Tab;
        case Qt::Key_Escape:
            return CellKey::Escape;
        case Qt::Key_Up:
            return CellKey::Up;
        case Qt::Key_Down:
            return CellKey::Down;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return CellKey::Enter;
        default:
            return std::nullopt;
    }
}

}  // namespace

CellEditDelegate::CellEditDelegate(EditorTableModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

QWidget* CellEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setTextMargins(3, 0, 0, 0);
    editor->setAccessibleName(model_.cellName(index));
    editor_ = editor;
    index_ = index;
    return editor;
}

void CellEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = static_cast<QLineEdit*>(editor);
    const CellPosition cell{index.row() + 1, index.column() + 1};
    if (openingText_) {
        line->setText(QString::fromStdString(toDisplayText(openingText_(cell))));
    } else {
        line->setText(index.data(Qt::EditRole).toString());
    }
    line->end(false);
}

void CellEditDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    editor_ = nullptr;
    index_ = QPersistentModelIndex();
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool CellEditDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == editor_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box or another window that takes the focus leaves the edit open: the
        // code that opened the box goes on using the editor when it closes.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        // Text the file cannot hold stays in the editor, to be refused with its reason by the
        // key, OK or click that ends the edit.
        if (!model_.storedText(index_, editor_->text())) return false;
    }
    if ((event->type() == QEvent::Enter || event->type() == QEvent::Leave) && watched == editor_) {
        Q_EMIT pointerOnEditor(event->type() == QEvent::Enter);
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        if (auto key = cellKeyOf(press->key())) {
            Q_EMIT cellKey(*key);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

TableEditorView::TableEditorView(EditorTable& table, NavigationRules rules,
                                 std::vector<EditorColumn> columns, MessageSink& messages,
                                 QWidget* parent)
    : QTableView(parent), rules_(std::move(rules)) {
    model_ = new EditorTableModel(table, std::move(columns), messages, this);
    delegate_ = new CellEditDelegate(*model_, this);
    setModel(model_);
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::DoubleClicked);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(false);
    for (int column = 1; column <= model_->columnCount(); ++column) {
        setColumnWidth(column - 1, model_->column(column).width);
    }
    connect(delegate_, &CellEditDelegate::cellKey, this, &TableEditorView::handleCellKey);
    connect(delegate_, &CellEditDelegate::pointerOnEditor, this,
            &TableEditorView::pointerMovedOnEditor);
    connect(this, &QAbstractItemView::clicked, this, &TableEditorView::handleClick);
    connect(model_, &EditorTableModel::cellStored, this, &TableEditorView::cellCommitted);
}

void TableEditorView::showRowSelected(int row) {
    const QModelIndex index = model_->index(row - 1, 0);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TableEditorView::clearCurrentRow() {
    selectionModel()->clearSelection();
    state_.currentRow = 0;
}

int TableEditorView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();  // one at most
    return rows.isEmpty() ? 0 : rows.front().row() + 1;
}

bool TableEditorView::commitCellEditor() {
    QPointer<QLineEdit> editor = cellEditor();
    if (editor == nullptr) return true;
    // A refusal's message box takes the pointer off the list: that is no move of the user's.
    const QScopedValueRollback committing(committing_, true);
    if (!model_->acceptsText(delegate_->editedIndex(), editor->text())) {
        // The message box ran an event loop: the editor may be gone.
        if (editor != nullptr) {
            editor->setFocus();
            editor->selectAll();
        }
        return false;
    }
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void TableEditorView::discardCellEditor() {
    const QScopedValueRollback discarding(discarding_, true);
    if (QLineEdit* editor = cellEditor()) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TableEditorView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Text the cell refused stays in the editor for the user to mend; only Cancel drops it.
    if (!discarding_ && editor == cellEditor() &&
        !model_->storedText(delegate_->editedIndex(), cellEditor()->text())) {
        editor->setFocus();
        return;
    }
    QTableView::closeEditor(editor, hint);
    pointerLeft_ = true;
}

void TableEditorView::endEdit() {
    if (commitCellEditor()) state_.editOpen = false;
}

bool TableEditorView::openCellEditor(CellPosition cell) {
    const QModelIndex index = model_->index(cell.row - 1, cell.column - 1);
    setCurrentIndex(index);
    scrollTo(index);
    return edit(index, AllEditTriggers, nullptr);
}

bool TableEditorView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A sliver of a cell is no place to type: a column dragged almost shut opens nothing.
    constexpr int kNarrowestEditor = 5;
    if (index.isValid()) {
        const int left = columnViewportPosition(index.column());
        const int right = left + columnWidth(index.column());
        if (std::min(right, viewport()->width()) - std::max(left, 0) < kNarrowestEditor) {
            return false;
        }
    }
    if (!QTableView::edit(index, trigger, event)) return false;
    // The view selects a line edit's whole text; typing goes on after the value instead.
    if (QLineEdit* editor = cellEditor()) {
        editor->end(false);
        bringPointerTo(editor, index);
    }
    if (trigger == DoubleClicked) pointerLeft_ = false;
    openCell(state_, rules_, {index.row() + 1, index.column() + 1});
    return true;
}

void TableEditorView::bringPointerTo(QLineEdit* editor, const QModelIndex& index) {
    // Typing goes on under a hidden pointer; it shows again once it is moved off the editor.
    editor->setCursor(Qt::BlankCursor);
    rememberedTopRow_ = rowAt(0);
    // Wayland lets no program move the pointer: there it stays where the user left it.
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) return;
    QCursor::setPos(viewport()->mapToGlobal(visualRect(index).topLeft() + QPoint(1, 1)));
}

namespace {

/// Whether the pointer stands on the widget: a window opening over it leaves it there.
bool pointerInside(const QWidget* widget) {
    return widget->rect().contains(widget->mapFromGlobal(QCursor::pos()));
}

}  // namespace

bool TableEditorView::pointerMovesCount() const {
    const QWidget* modal = QApplication::activeModalWidget();
    return !discarding_ && !committing_ && cellEditor() != nullptr && isActiveWindow() &&
           (modal == nullptr || modal == window());
}

void TableEditorView::pointerMovedOnEditor(bool entered) {
    if (entered) {
        rememberedTopRow_ = rowAt(0);
        return;
    }
    // Back on the list: the edit goes on, unless the list scrolled under the pointer.
    if (pointerLeft_ || !pointerMovesCount() || rowAt(0) == rememberedTopRow_ ||
        pointerInside(cellEditor())) {
        return;
    }
    pointerLeft_ = true;
    endEdit();
}

void TableEditorView::leaveEvent(QEvent* event) {
    QTableView::leaveEvent(event);
    // Off the list, the pointer takes the edit along: what was typed goes into its cell. After
    // a key has moved the editor the pointer may wander; the keys go on editing.
    if (pointerLeft_ || !pointerMovesCount() || pointerInside(this)) return;
    pointerLeft_ = true;  // once: text the cell refuses stays in the editor with its message
    endEdit();
}

void TableEditorView::handleCellKey(CellKey key) {
    if (!commitCellEditor()) return;
    const KeyStep step = keyInCell(state_, rules_, key);
    if (step.next && !openCellEditor(*step.next)) state_.editOpen = false;
    if (step.rowEntered) {
        Q_EMIT rowEntered();
    } else if (step.next) {
        Q_EMIT columnEntered();
    }
    if (!step.passOn) return;
    if (key == CellKey::Tab) {
        focusNextPrevChild(true);
    } else if (auto* dialog = qobject_cast<QDialog*>(window())) {
        dialog->reject();
    }
}

void TableEditorView::handleClick(const QModelIndex& index) {
    if (!clicksSelectRows_ || !index.isValid()) return;
    state_.currentRow = index.row() + 1;
    state_.editOpen = false;
    Q_EMIT rowClicked(state_.currentRow);
}

void TableEditorView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !indexAt(event->position().toPoint()).isValid()) {
        Q_EMIT missedRowDoubleClicked();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void TableEditorView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Down && state() != EditingState) downKeyMoved_ = true;
    QTableView::keyPressEvent(event);
}

void TableEditorView::selectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    if (!downKeyMoved_) return;
    downKeyMoved_ = false;
    state_.currentRow = 0;
    Q_EMIT currentRowLeft();
}

}  // namespace dorvo
