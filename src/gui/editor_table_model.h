// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "editors/editor_table.h"
#include "model/messages.h"
#include "model/storable_text.h"

namespace dorvo {

/// A column of an editor's list: its heading, its width in pixels and how its cells are
/// stored in the project file, which decides what they may hold.
struct EditorColumn {
    QString heading;
    int width = 0;
    CellStorage storage = CellStorage::JoinedField;
    bool number = false;  // takes a number or nothing, like a number field
};

/// The cells of an editor's list for a table view. Each cell is shown in UTF-8 and named for
/// screen readers by its column heading and row; text typed into it is stored only when the
/// project file can hold it, else the reason is reported and the cell keeps its text.
class EditorTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    EditorTableModel(EditorTable& table, std::vector<EditorColumn> columns, MessageSink& messages,
                     QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    /// The text a cell stores for typed text, or why the cell cannot take it.
    Result<std::string> storedText(const QModelIndex& index, const QString& typed) const;
    /// Whether the cell can take typed text; reports why not.
    bool acceptsText(const QModelIndex& index, const QString& typed) const;
    /// The name of a cell: its column heading and row.
    QString cellName(const QModelIndex& index) const;
    const EditorColumn& column(int number) const;
    /// Repaints every cell after the editor's logic changed the table.
    void tableChanged();

  Q_SIGNALS:
    /// Typed text was stored in a cell (row and column from 1).
    void cellStored(int row, int column);

  private:
    EditorTable& table_;
    std::vector<EditorColumn> columns_;
    MessageSink& messages_;
};

}  // namespace dorvo
