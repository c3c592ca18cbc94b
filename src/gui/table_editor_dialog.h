// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "editors/entry_check.h"
#include "gui/enter_key_filter.h"
#include "gui/table_editor_view.h"

class QLineEdit;

namespace dorvo {

/// The program settings a table editor follows.
struct EditorOptions {
    EnterKeyAction enterKey = EnterKeyAction::DefaultButton;
    bool scrollToNewRow = false;  // the list opens scrolled to the row after the last data
};

/// What the three table editors share: their list, OK that first ends a cell edit and then
/// stores, Cancel that asks before changes are lost, and a click beside the list that ends
/// the cell edit.
class TableEditorDialog : public QDialog {
    Q_OBJECT

  public:
    /// An open cell editor goes without writing into the table, which goes first.
    ~TableEditorDialog() override;

    TableEditorView* list() const { return list_; }
    const EditorTable& table() const { return table_; }

    /// The first OK after a cell edit only ends the edit; a further OK stores and closes
    /// unless `store` refuses.
    void accept() override;
    /// Asks 133 when something changed and the list holds data; No keeps the dialog open.
    void reject() override;

  protected:
    /// Starts with the row after the last data row current and selected.
    TableEditorDialog(EditorTable table, NavigationRules rules, std::vector<EditorColumn> columns,
                      const QString& listName, const EditorOptions& options, MessageSink& messages,
                      YesNoQuestion& question, QWidget* parent);

    /// OK's store: false keeps the dialog open.
    virtual bool store() = 0;
    /// Empties the entry fields, as a double-click beside the rows does.
    virtual void clearEntryFields() = 0;
    /// Reports why OK refuses a row and shows that row.
    void refuseRow(const RowProblem& problem);
    /// "削除": deletes the selected row from the table, if there is one, and ends any row
    /// being entered; true when a row was deleted.
    bool deleteSelectedTableRow();

    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    EditorTable table_;
    EditorOptions options_;
    MessageSink& messages_;
    YesNoQuestion& question_;

  private:
    TableEditorView* list_;
    bool shown_ = false;
};

/// Reads a field as the stored text of a cell; reports why the project file cannot hold
/// it, focuses the field and gives nothing.
std::optional<std::string> storedFieldText(QLineEdit* field, CellStorage storage,
                                           MessageSink& messages);

/// Reads a number field as the stored text of a cell: empty or a number. Anything else is
/// reported naming the field (its accessible name), the field is focused and nothing given.
std::optional<std::string> storedNumberFieldText(QLineEdit* field, CellStorage storage,
                                                 MessageSink& messages);

}  // namespace dorvo
