// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "editors/layer_editing.h"
#include "gui/table_editor_dialog.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;

namespace dorvo {

class ColourChooser;

/// "層データ": the 20 layers, edited in their cells, with the colour chooser, and the general
/// values of the layers: Yc, the distributed-load layer, the colouring and the units.
class LayerDialog : public TableEditorDialog {
    Q_OBJECT

  public:
    LayerDialog(const Project& project, const EditorOptions& options, MessageSink& messages,
                YesNoQuestion& question, ColourChooser& colours, QWidget* parent = nullptr);

    /// The layers and general values as OK stored them.
    const std::array<Layer, kMaxLayers>& layers() const { return layers_; }
    const LayerGeneralValues& generalValues() const { return general_; }

    QCheckBox* waterBox() const { return water_; }
    QLineEdit* colourField() const { return colour_; }
    QPushButton* colourButton() const { return colourButton_; }
    QLineEdit* ycField() const { return yc_; }
    QButtonGroup* unitChoices() const { return units_; }

  protected:
    bool store() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLayout* makeGeneralArea(const LayerGeneralValues& values);
    void chooseColour();
    void storeColourField();
    void paintColourField();
    void deleteSelectedRow();
    void loadEntryFields(int row, int column);
    void clearEntryFields() override;

    ColourChooser& colours_;
    TableRow entry_;  // the cells of the current row, as the list last gave them
    std::array<Layer, kMaxLayers> layers_;
    LayerGeneralValues general_;
    QCheckBox* water_;
    QLineEdit* colour_;
    QPushButton* colourButton_;
    QPushButton* delete_;
    QLineEdit* yc_ = nullptr;
    QLineEdit* loadLayer_ = nullptr;
    QButtonGroup* fill_ = nullptr;
    QButtonGroup* units_ = nullptr;
};

}  // namespace dorvo
