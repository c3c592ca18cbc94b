// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/editor_table_model.h"

#include "app/dialog_fields.h"
#include "model/encoding.h"

namespace dorvo {

EditorTableModel::EditorTableModel(EditorTable& table, std::vector<EditorColumn> columns,
                                   MessageSink& messages, QObject* parent)
    : QAbstractTableModel(parent),
      table_(table),
      columns_(std::move(columns)),
      messages_(messages) {}

int EditorTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int EditorTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

const EditorColumn& EditorTableModel::column(int number) const {
    return columns_.at(static_cast<std::size_t>(number - 1));
}

QString EditorTableModel::cellName(const QModelIndex& index) const {
    return QStringLiteral("%1 %2").arg(column(index.column() + 1).heading).arg(index.row() + 1);
}

QVariant EditorTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::string& cell = table_.cell(index.row() + 1, index.column() + 1);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::AccessibleDescriptionRole:
            return QString::fromStdString(toDisplayText(cell));
        case Qt::AccessibleTextRole:
            return cellName(index);
        default:
            return {};
    }
}

QVariant EditorTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return column(section + 1).heading;
}

Qt::ItemFlags EditorTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

Result<std::string> EditorTableModel::storedText(const QModelIndex& index,
                                                 const QString& typed) const {
    const EditorColumn& cellColumn = column(index.column() + 1);
    if (cellColumn.number) {
        return typedNumberText(typed.toStdString(), cellColumn.heading.trimmed().toStdString(),
                               cellColumn.storage);
    }
    return toStorableText(typed.toStdString(), cellColumn.storage);
}

bool EditorTableModel::acceptsText(const QModelIndex& index, const QString& typed) const {
    Result<std::string> text = storedText(index, typed);
    if (!text) messages_.report(text.error());
    return text.ok();
}

bool EditorTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    Result<std::string> text = storedText(index, value.toString());
    if (!text) {
        messages_.report(text.error());
        return false;
    }
    table_.cell(index.row() + 1, index.column() + 1) = std::move(text).value();
    Q_EMIT dataChanged(index, index);
    Q_EMIT cellStored(index.row() + 1, index.column() + 1);
    return true;
}

void EditorTableModel::tableChanged() {
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

}  // namespace dorvo
