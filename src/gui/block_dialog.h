// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "editors/block_editing.h"
#include "gui/table_editor_dialog.h"

class QPushButton;

namespace dorvo {

/// "ブロックデータ": the X and the lines of the 40 blocks, with entry fields, Add,
/// Overwrite, Delete and "入力", which edits the lines of the block in the entry fields.
class BlockDialog : public TableEditorDialog {
    Q_OBJECT

  public:
    BlockDialog(const Project& project, const EditorOptions& options, MessageSink& messages,
                YesNoQuestion& question, QWidget* parent = nullptr);

    /// The blocks as OK stored them.
    const std::array<Block, kMaxBlocks>& blocks() const { return blocks_; }

    QLineEdit* xField() const { return x_; }
    QLineEdit* linesField() const { return lines_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* linesButton() const { return editLines_; }

  protected:
    bool store() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<BlockEntry> typedEntry();
    void addRow();
    void overwriteRow();
    void deleteSelectedRow();
    void editLines();
    void rowClicked(int row);
    /// The quiet update of the current row when the focus leaves an entry field.
    void entryFieldLeft(bool xField);
    void loadEntryFields(int row, int column);
    void clearEntryFields() override;
    void afterEntryButton();

    std::vector<std::string> layerChoices_;
    std::array<Block, kMaxBlocks> blocks_;
    QLineEdit* x_;
    QLineEdit* lines_;
    QPushButton* editLines_;
    QPushButton* add_;
    QPushButton* overwrite_;
    QPushButton* delete_;
};

}  // namespace dorvo
