// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/layer_dialog.h"
#include "gui/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "canvas_qt/qpainter_canvas.h"
#include "gui/colour_chooser.h"
#include "gui/dialog_parts.h"
#include "model/encoding.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

std::vector<EditorColumn> layerColumns() {
    const std::array<std::pair<const char*, int>, kLayerColumns> columns = {{
        {"層No.", 50},
        {"γ1", 58},
        {"γ2", 58},
        {"φ", 58},
        {"Co", 58},
        {"k", 58},
        {"色", 72},  // wide enough for "0x%06x"
    }};
    std::vector<EditorColumn> result;
    for (const auto& [heading, width] : columns) {
        const bool colour = static_cast<int>(result.size()) + 1 == kColourColumn;
        result.push_back({QString::fromUtf8(heading), width, CellStorage::JoinedField, !colour});
    }
    return result;
}

QButtonGroup* choiceGroup(const QString& title, std::initializer_list<const char*> captions,
                          int chosen, QLayout* into, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    int id = 0;
    for (const char* caption : captions) {
        auto* button = new QRadioButton(QString::fromUtf8(caption), box);
        group->addButton(button, id++);
        layout->addWidget(button);
    }
    group->button(chosen)->setChecked(true);
    into->addWidget(box);
    return group;
}

}  // namespace

LayerDialog::LayerDialog(const Project& project, const EditorOptions& options,
                         MessageSink& messages, YesNoQuestion& question, ColourChooser& colours,
                         QWidget* parent)
    : TableEditorDialog(layerTable(project), layerNavigation(), layerColumns(),
                        QStringLiteral("層データ"), options, messages, question, parent),
      colours_(colours),
      entry_(kLayerColumns),
      layers_(project.layers),
      general_(layerGeneralValues(project.settings)) {
    setWindowTitle(QStringLiteral("層データ"));
    water_ = new QCheckBox(QStringLiteral("水位の影響を考慮する"), this);
    delete_ = new QPushButton(QStringLiteral("行削除"), this);
    colourButton_ = new QPushButton(QStringLiteral("色"), this);
    colour_ = namedField(QStringLiteral("色"), this);
    list()->delegate().setOpeningText(
        [this](CellPosition cell) { return cellEditorText(table_, cell, water_->isChecked()); });

    auto* listArea = new QVBoxLayout;
    listArea->addWidget(list(), 1);
    listArea->addWidget(new QLabel(QStringLiteral("γ1  起動モーメント計算用単位体積重量\n"
                                                  "γ2  抵抗モーメント計算用単位体積重量\n"
                                                  "φ　内部摩擦角　°"),
                                   this));
    list()->setMinimumSize(50 + 5 * 58 + 72 + 24, 320);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(colourButton_);
    colourRow->addWidget(colour_);
    auto* side = new QVBoxLayout;
    side->addWidget(water_);
    side->addWidget(delete_, 0, Qt::AlignLeft);
    side->addLayout(colourRow);
    side->addLayout(makeGeneralArea(general_));
    side->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(listArea, 1);
    columns->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(okCancelButtons(this));

    connect(colourButton_, &QPushButton::clicked, this, &LayerDialog::chooseColour);
    connect(delete_, &QPushButton::clicked, this, &LayerDialog::deleteSelectedRow);
    connect(list(), &TableEditorView::rowClicked, this,
            [this](int row) { loadEntryFields(row, 0); });
    connect(list(), &TableEditorView::cellCommitted, this, &LayerDialog::loadEntryFields);
    connect(list(), &TableEditorView::rowEntered, this, [this] {
        clearEntryFields();
        loadEntryFields(list()->navigation().currentRow, 0);
    });
    connect(list(), &TableEditorView::currentRowLeft, this, &LayerDialog::clearEntryFields);
    colour_->installEventFilter(this);
}

QLayout* LayerDialog::makeGeneralArea(const LayerGeneralValues& values) {
    yc_ = namedField(QStringLiteral("粘着力の基準面　Yc m"), this);
    yc_->setText(shown(values.yc));
    loadLayer_ = namedField(QStringLiteral("等分布荷重として扱う層No.　"), this);
    loadLayer_->setText(shown(values.loadLayerNo));
    for (QLineEdit* field : {yc_, loadLayer_}) field->setMinimumWidth(70);

    auto* area = new QVBoxLayout;
    auto* cohesion = new QGridLayout;
    cohesion->addWidget(labelFor(QStringLiteral("粘着力の基準面　Yc m"), yc_, this), 0, 0);
    cohesion->addWidget(yc_, 0, 1);
    cohesion->addWidget(new QLabel(QStringLiteral("Zにおける粘着力C=Co+kZ  \n"
                                                  "からの深さをZとすると　　"),
                                   this),
                        1, 0, 1, 2);
    cohesion->addWidget(labelFor(QStringLiteral("等分布荷重として扱う層No.　"), loadLayer_, this),
                        2, 0);
    cohesion->addWidget(loadLayer_, 2, 1);
    cohesion->addWidget(
        new QLabel(QStringLiteral("これより上の層は等分布　　\n荷重として計算　"), this), 3, 0, 1,
        2);
    area->addLayout(cohesion);
    fill_ = choiceGroup(QStringLiteral("層の色塗り"), {"＼ハッチ", "塗りつぶし", "しない"},
                        values.layerFill, area, this);
    units_ = choiceGroup(QStringLiteral("単位表示"), {"表示しない", "kN-m", "t-m (ton-m)"},
                         values.unitDisplay, area, this);
    return area;
}

void LayerDialog::loadEntryFields(int row, int column) {
    if (row < 1 || row > kMaxLayers) return;
    for (int k = 1; k <= kLayerColumns; ++k) {
        if (column == 0 || column == k)
            entry_[static_cast<std::size_t>(k - 1)] = table_.cell(row, k);
    }
    if (column == 0 || column == kColourColumn) {
        colour_->setText(shown(table_.cell(row, kColourColumn)));
        paintColourField();
    }
    list()->showRowSelected(row);
}

void LayerDialog::clearEntryFields() {
    entry_.assign(kLayerColumns, std::string());
    colour_->clear();
    paintColourField();
}

void LayerDialog::paintColourField() {
    QPalette palette = colour_->palette();
    const std::string text = toStoredText(colour_->text().toStdString()).value_or("");
    palette.setColor(QPalette::Text, toQColor(readColour(text)));
    colour_->setPalette(palette);
}

void LayerDialog::chooseColour() {
    const std::string text = toStoredText(colour_->text().toStdString()).value_or("");
    const auto chosen = colours_.chooseColour(readColour(text));
    if (!chosen) return;
    colour_->setText(QString::fromStdString(formatColour(*chosen)));
    paintColourField();
    storeColourField();
}

void LayerDialog::storeColourField() {
    auto text = storedFieldText(colour_, CellStorage::JoinedField, messages_);
    if (!text) return;
    if (storeColour(table_, list()->navigation().currentRow, entry_, *text)) list()->tableChanged();
}

bool LayerDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == colour_ && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        storeColourField();
        paintColourField();
    }
    return TableEditorDialog::eventFilter(watched, event);
}

void LayerDialog::deleteSelectedRow() {
    if (deleteSelectedTableRow()) {
        clearEntryFields();
        list()->navigation().changed = true;
    }
    list()->setFocus();
}

bool LayerDialog::store() {
    auto yc = storedNumberFieldText(yc_, CellStorage::WholeLine, messages_);
    if (!yc) return false;
    auto loadLayer = storedNumberFieldText(loadLayer_, CellStorage::WholeLine, messages_);
    if (!loadLayer) return false;
    if (auto problem = findInvalidLayerRow(table_)) {
        refuseRow(*problem);
        return false;
    }
    const SortedRows sorted = sortLayers(table_);
    if (sorted.duplicates) messages_.report(*sorted.duplicates);
    storeLayers(layers_, sorted.rows);
    general_ = {*yc, *loadLayer, fill_->checkedId(), units_->checkedId()};
    return true;
}

}  // namespace dorvo
