// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "editors/cell_navigation.h"
#include "gui/editor_table_model.h"

namespace dorvo {

/// The cell editor of a table editor: a line edit laid over the cell, which hands the keys
/// that move it (Tab, Esc, Up, Down, Enter) to its view.
class CellEditDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using OpeningText = std::function<std::string(CellPosition cell)>;

    CellEditDelegate(EditorTableModel& model, QObject* parent);

    void setOpeningText(OpeningText text) { openingText_ = std::move(text); }
    QLineEdit* openEditor() const { return editor_; }
    /// The cell the open editor edits.
    QModelIndex editedIndex() const { return index_; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

  Q_SIGNALS:
    void cellKey(CellKey key);
    /// The mouse pointer came onto the open editor, or went off it.
    void pointerOnEditor(bool entered);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EditorTableModel& model_;
    OpeningText openingText_;
    mutable QPointer<QLineEdit> editor_;
    mutable QPersistentModelIndex index_;
};

/// The list of a table editor: every row of the table with grid lines and whole-row
/// selection, edited in place after a double-click. It keeps the editor's navigation state:
/// which row is current, whether a cell edit is open, whether anything changed.
class TableEditorView : public QTableView {
    Q_OBJECT

  public:
    TableEditorView(EditorTable& table, NavigationRules rules, std::vector<EditorColumn> columns,
                    MessageSink& messages, QWidget* parent = nullptr);

    NavigationState& navigation() { return state_; }
    EditorTableModel& tableModel() { return *model_; }
    CellEditDelegate& delegate() { return *delegate_; }
    /// The cell editor while it is open, else null.
    QLineEdit* cellEditor() const { return delegate_->openEditor(); }

    /// Whether a single click makes the clicked row current and ends the cell edit.
    void setClicksSelectRows(bool select) { clicksSelectRows_ = select; }
    /// Shows a row (from 1) as the current, selected one.
    void showRowSelected(int row);
    /// Takes the selection away and leaves no row current.
    void clearCurrentRow();
    /// The selected row (from 1), or 0.
    int selectedRow() const;
    /// Writes an open cell editor's text into its cell and closes it; false when the text
    /// cannot be stored, which leaves the editor open.
    bool commitCellEditor();
    /// Closes an open cell editor without writing its text.
    void discardCellEditor();
    /// Commits the cell editor and ends the cell edit, as a click beside the list does.
    void endEdit();
    /// Opens the cell editor on a cell, as a double-click does; false when the cell shows too
    /// narrow to type in.
    bool openCellEditor(CellPosition cell);
    /// Repaints the list after the editor's logic changed its table.
    void tableChanged() { model_->tableChanged(); }

  Q_SIGNALS:
    /// A cell edit wrote its text into the cell.
    void cellCommitted(int row, int column);
    /// Up, Down or Enter took the cell editor to another row, or tried to.
    void rowEntered();
    /// Enter took the cell editor to the next column of the same row.
    void columnEntered();
    /// A single click made this row current.
    void rowClicked(int row);
    /// Down, pressed while no cell edit was open, moved the selection: no row is current.
    void currentRowLeft();
    /// A double-click hit no row.
    void missedRowDoubleClicked();

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

  private:
    void handleCellKey(CellKey key);
    void handleClick(const QModelIndex& index);
    /// Hides the pointer over the new cell editor and puts it there.
    void bringPointerTo(QLineEdit* editor, const QModelIndex& index);
    void pointerMovedOnEditor(bool entered);
    /// Whether pointer moves may end the edit: not while a message box or another window
    /// is in front, nor while the list is being closed.
    bool pointerMovesCount() const;

    NavigationRules rules_;
    NavigationState state_;
    EditorTableModel* model_;
    CellEditDelegate* delegate_;
    bool clicksSelectRows_ = true;
    bool downKeyMoved_ = false;
    bool discarding_ = false;
    bool committing_ = false;
    // The pointer has left the list, or the edit was committed, since a double-click opened
    // the cell editor: leaving the list then no longer commits.
    bool pointerLeft_ = true;
    int rememberedTopRow_ = 0;  // the list's top row when the pointer was last on the editor
};

}  // namespace dorvo
