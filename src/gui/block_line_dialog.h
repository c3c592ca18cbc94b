// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editors/block_editing.h"
#include "editors/block_line_editing.h"
#include "editors/block_preview.h"
#include "gui/table_editor_dialog.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace dorvo {

class BlockPreviewWidget;

/// "ブロックデータ > Y座標": the lines of one block, with the lines of the block to its left
/// to copy from and a preview of both. It gives its lines text back and changes no project.
class BlockLineDialog : public TableEditorDialog {
    Q_OBJECT

  public:
    BlockLineDialog(const BlockLineEditorInputs& inputs,
                    const std::vector<std::string>& layerChoices, const EditorOptions& options,
                    MessageSink& messages, YesNoQuestion& question, QWidget* parent = nullptr);

    /// The lines text as OK stored it.
    const std::string& lines() const { return lines_; }

    QLineEdit* yLeftField() const { return yLeft_; }
    QLineEdit* yRightField() const { return yRight_; }
    QComboBox* layerField() const { return layerNo_; }
    QListWidget* leftBlockList() const { return leftList_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* levelButton() const { return level_; }

  protected:
    bool store() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLayout* makeEntryArea(const BlockLineEditorInputs& inputs,
                           const std::vector<std::string>& layerChoices);
    QLayout* makeLeftBlockArea();
    QWidget* makePreviewArea();
    /// The entry fields as stored text; reports a text the project file cannot hold.
    std::optional<LineEntry> typedEntry();
    /// The entry fields for the preview, which draws what it can.
    LineEntry pendingEntry() const;
    void addRow();
    void deleteSelectedRow();
    void copyFromLeftBlock();
    void copyYLeftToYRight();
    void clearEntryFields() override;
    void redrawPreview();

    std::vector<LeftBlockLine> leftLines_;
    PreviewFrame frame_;
    std::string lines_;
    QLineEdit* yLeft_ = nullptr;
    QLineEdit* yRight_ = nullptr;
    QComboBox* layerNo_ = nullptr;
    QListWidget* leftList_ = nullptr;
    QCheckBox* copyLayer_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* level_ = nullptr;
    BlockPreviewWidget* preview_ = nullptr;
};

}  // namespace dorvo
