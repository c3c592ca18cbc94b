// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/headings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/dialog_parts.h"
#include "model/number_text.h"
#include "render/render_inputs.h"

namespace dorvo {

namespace {

constexpr std::array<const char*, 6> kHeadingRows = {
    "断面図", "ブロックデータ", "層データ", "集中荷重データ", "すべり円データ", "計算結果",
};

constexpr std::array<const char*, 3> kPageRows = {"断面図", "データ", "計算結果"};
constexpr std::array<int, 3> kPageFormLines = {page_line::kFigurePageForm, page_line::kDataPageForm,
                                               page_line::kResultPageForm};

QString labelOf(int line) {
    return QString::fromUtf8(headingsField(line).label.data(),
                             static_cast<qsizetype>(headingsField(line).label.size()));
}

QLabel* caption(const char* text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

HeadingsDialog::HeadingsDialog(const HeadingsValues& values, const PageSetup& paper,
                               const std::vector<std::string>& extraCandidates, Store store,
                               QWidget* parent)
    : QDialog(parent), paper_(paper), store_(std::move(store)) {
    setWindowTitle(QStringLiteral("見出しとページ"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingsBox(extraCandidates));
    layout->addWidget(pageNumbersBox());
    layout->addWidget(optionsBox());

    auto* buttons = new QHBoxLayout;
    auto* example = new QPushButton(QStringLiteral("標準の設定例"), this);
    auto* positions = new QPushButton(QStringLiteral("標準の位置"), this);
    connect(example, &QPushButton::clicked, this, [this] {
        HeadingsValues shown = this->values();
        applyStandardExample(shown, paper_);
        setValues(shown);
    });
    connect(positions, &QPushButton::clicked, this, [this] {
        HeadingsValues shown = this->values();
        applyStandardPositions(shown, paper_);
        setValues(shown);
    });
    buttons->addWidget(example);
    buttons->addWidget(positions);
    buttons->addStretch();
    buttons->addWidget(okCancelButtons(this));
    layout->addLayout(buttons);
    setValues(values);
}

QLineEdit* HeadingsDialog::addField(int line, QGridLayout* grid, int row, int column) {
    QLineEdit* field = namedField(labelOf(line), this);
    grid->addWidget(field, row, column);
    fields_[line] = field;
    return field;
}

QCheckBox* HeadingsDialog::addCheck(int line, const QString& text, QGridLayout* grid, int row,
                                    int column, int columnSpan) {
    auto* check = new QCheckBox(text, this);
    check->setAccessibleName(labelOf(line));
    grid->addWidget(check, row, column, 1, columnSpan);
    checks_[line] = check;
    connect(check, &QCheckBox::toggled, this, &HeadingsDialog::followCentring);
    return check;
}

QLineEdit* HeadingsDialog::addCopy(int line, const QString& name, QGridLayout* grid, int row,
                                   int column) {
    QLineEdit* copy = namedField(name, this);
    copy->setReadOnly(true);
    grid->addWidget(copy, row, column);
    copies_[line].push_back(copy);
    connect(fields_.at(line), &QLineEdit::textChanged, copy, &QLineEdit::setText);
    return copy;
}

QButtonGroup* HeadingsDialog::addChoices(int line, const QStringList& captions, QGridLayout* grid,
                                         int row) {
    auto* group = new QButtonGroup(this);
    grid->addWidget(new QLabel(labelOf(line), this), row, 0);
    for (int i = 0; i < captions.size(); ++i) {
        auto* choice = new QRadioButton(captions[i], this);
        choice->setAccessibleName(labelOf(line) + " " + captions[i]);
        group->addButton(choice, i);
        grid->addWidget(choice, row, i + 1);
    }
    choices_[line] = group;
    return group;
}

QWidget* HeadingsDialog::headingsBox(const std::vector<std::string>& extraCandidates) {
    auto* box = new QGroupBox(QStringLiteral("見出し"), this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(caption("表示位置 ( マージンからの距離 )", box), 0, 2, 1, 3);
    const std::array<const char*, 5> headers = {"見出し", "上 mm", "左 mm", "", ""};
    for (int column = 0; column < 5; ++column) {
        grid->addWidget(caption(headers[static_cast<std::size_t>(column)], box), 1, column + 1);
    }
    for (int i = 0; i < 6; ++i) {
        const int row = i + 2;
        const int line = page_line::kFigureHeading + i;
        grid->addWidget(caption(kHeadingRows[static_cast<std::size_t>(i)], box), row, 0);
        auto* heading = new QComboBox(box);
        heading->setEditable(true);
        heading->setMinimumContentsLength(16);
        heading->setAccessibleName(labelOf(line));
        for (const std::string& candidate : headingCandidates(line, extraCandidates)) {
            heading->addItem(QString::fromStdString(candidate));
        }
        heading->lineEdit()->setAccessibleName(labelOf(line));
        grid->addWidget(heading, row, 1);
        fields_[line] = heading->lineEdit();
        addField(page_line::kFigureHeadingTop + i, grid, row, 2);
    }
    addField(page_line::kFigureHeadingLeft, grid, 2, 3);
    addCheck(page_line::kFigureHeadingCentred, QStringLiteral("左右中央"), grid, 2, 4);
    addField(page_line::kDataHeadingLeft, grid, 3, 3);
    addCheck(page_line::kDataHeadingCentred, QStringLiteral("左右中央"), grid, 3, 4);
    for (int i = 2; i < 6; ++i) {
        addCopy(page_line::kDataHeadingLeft,
                QString::fromUtf8(kHeadingRows[static_cast<std::size_t>(i)]) + " 左", grid, i + 2,
                3);
    }
    addCheck(page_line::kLoadNewPage, QStringLiteral("改頁"), grid, 5, 5);
    addCheck(page_line::kCircleNewPage, QStringLiteral("改頁"), grid, 6, 5);
    return box;
}

QWidget* HeadingsDialog::pageNumbersBox() {
    auto* box = new QGroupBox(QStringLiteral("ページ番号"), this);
    auto* grid = new QGridLayout(box);
    const std::array<const char*, 4> headers = {"開始ページ", "形式", "章など", "左 mm"};
    for (int column = 0; column < 4; ++column) {
        grid->addWidget(caption(headers[static_cast<std::size_t>(column)], box), 0, column + 1);
    }
    for (int i = 0; i < 3; ++i) {
        const int row = i + 1;
        const auto at = static_cast<std::size_t>(i);
        grid->addWidget(caption(kPageRows[at], box), row, 0);
        addField(page_line::kFigureStartPage + i, grid, row, 1);
        auto* form = new QComboBox(box);
        form->setEditable(true);
        form->setAccessibleName(labelOf(kPageFormLines[at]));
        for (std::string_view shape : kPageNumberForms) {
            form->addItem(QString::fromUtf8(shape.data(), static_cast<qsizetype>(shape.size())));
        }
        form->lineEdit()->setAccessibleName(labelOf(kPageFormLines[at]));
        grid->addWidget(form, row, 2);
        fields_[kPageFormLines[at]] = form->lineEdit();
        addField(page_line::kFigurePagePrefix + i, grid, row, 3);
    }
    addField(page_line::kPageNumberLeft, grid, 1, 4);
    for (int i = 1; i < 3; ++i) {
        addCopy(page_line::kPageNumberLeft,
                QString::fromUtf8(kPageRows[static_cast<std::size_t>(i)]) + " ページ番号 左", grid,
                i + 1, 4);
    }
    grid->addWidget(caption("II-nnの 'II-' ", box), 4, 3);
    grid->addWidget(caption("表示位置 ( 用紙端からの距離 )　上 mm", box), 5, 0, 1, 2);
    addField(page_line::kPageNumberTop, grid, 5, 2);
    addCheck(page_line::kPageNumberCentred, QStringLiteral("左右中央"), grid, 5, 4);
    return box;
}

QWidget* HeadingsDialog::optionsBox() {
    auto* box = new QGroupBox(QStringLiteral("表示"), this);
    auto* grid = new QGridLayout(box);
    addCheck(settings_line::kShowAxes, labelOf(settings_line::kShowAxes), grid, 0, 0);
    grid->addWidget(new QLabel(labelOf(page_line::kYAxisMax) + " m", box), 0, 1);
    addField(page_line::kYAxisMax, grid, 0, 2);
    addCheck(page_line::kRepeatOnLaterPages, labelOf(page_line::kRepeatOnLaterPages), grid, 1, 0,
             3);
    addChoices(
        settings_line::kUnitDisplay,
        {QStringLiteral("表示しない"), QStringLiteral("kN-m"), QStringLiteral("t-m (ton-m)")}, grid,
        2);
    addChoices(page_line::kResultUnitDisplay,
               {QStringLiteral("表示しない"), QStringLiteral("表示する")}, grid, 3);
    constexpr int kMemoLine = 17;
    grid->addWidget(new QLabel(labelOf(kMemoLine), box), 4, 0);
    QLineEdit* memo = namedField(labelOf(kMemoLine), box);
    grid->addWidget(memo, 4, 1, 1, 3);
    fields_[kMemoLine] = memo;
    return box;
}

HeadingsValues HeadingsDialog::values() const {
    HeadingsValues values;
    for (const HeadingsField& field : kHeadingsFields) {
        switch (field.kind) {
            case HeadingsFieldKind::Text:
            case HeadingsFieldKind::Integer:
                values[field.line] = fields_.at(field.line)->text().toStdString();
                break;
            case HeadingsFieldKind::Check:
                values[field.line] = checks_.at(field.line)->isChecked() ? "1" : "0";
                break;
            case HeadingsFieldKind::Choice:
                values[field.line] = formatInt(std::max(0, choices_.at(field.line)->checkedId()));
                break;
        }
    }
    return values;
}

void HeadingsDialog::setValues(const HeadingsValues& values) {
    for (const auto& [line, value] : values) {
        const QString text = QString::fromStdString(value);
        if (auto field = fields_.find(line); field != fields_.end()) field->second->setText(text);
        if (auto check = checks_.find(line); check != checks_.end()) {
            check->second->setChecked(value == "1");
        }
        if (auto group = choices_.find(line); group != choices_.end()) {
            if (QAbstractButton* choice = group->second->button(readInteger(value))) {
                choice->setChecked(true);
            }
        }
    }
    followCentring();
}

void HeadingsDialog::followCentring() {
    HeadingsValues shown = values();
    applyCentring(shown, paper_);
    for (const CentringRule& rule : kCentringRules) {
        const bool centred = checks_.at(rule.centredLine)->isChecked();
        QLineEdit* left = fields_.at(rule.leftLine);
        left->setText(QString::fromStdString(shown[rule.leftLine]));
        left->setEnabled(!centred);
        for (QLineEdit* copy : copies_[rule.leftLine]) copy->setEnabled(!centred);
    }
}

void HeadingsDialog::accept() {
    if (store_(values())) QDialog::accept();
}

}  // namespace dorvo
