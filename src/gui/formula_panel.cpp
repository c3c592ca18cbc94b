// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/formula_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace dorvo {

namespace {

void addRows(QGroupBox* group, std::initializer_list<std::pair<const char*, const char*>> rows) {
    auto* grid = new QGridLayout(group);
    for (const auto& [formula, meaning] : rows) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QString::fromUtf8(formula), group), row, 0);
        grid->addWidget(new QLabel(QString::fromUtf8(meaning), group), row, 1);
    }
}

}  // namespace

QWidget* makeFormulaPanel(UnitWeightNotes notes, QWidget* parent) {
    auto* panel = new QWidget(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* totals = new QGroupBox(QStringLiteral("計算式"), panel);
    addRows(totals, {{"Fs=MR/MD ", "安全率　"},
                     {"MD=Md+Me+Mf ", "起動モーメント　"},
                     {"MR=MT-ME+MC ", "抵抗モーメント　"}});
    auto* moments = new QGroupBox(QStringLiteral("各モーメントの計算"), panel);
    addRows(moments, {{"Md=R・ΣW1・sinθ　", ""},
                      {"Me=R・ΣW1・cosθ・kh　", ""},
                      {"Mf=ΣF・(Xi-Rx)　", ""},
                      {"MT=R・ΣW2・cosθ・tanφ　", ""},
                      {"ME=R・ΣW2・sinθ・tanφ・kh　", ""},
                      {"MC=R・Σ(Co+kZ)・L　", "Yc"},
                      {"微小部分面積　", "A"},
                      {"起動側重量　", "W1=A・γ1　"},
                      {"抵抗側重量　", "W2=A・γ2　"}});
    layout->addWidget(totals);
    layout->addWidget(moments);
    if (notes == UnitWeightNotes::Shown) {
        layout->addWidget(
            new QLabel(QStringLiteral("γ1：起動モーメント計算用単位体積重量"), panel));
        layout->addWidget(
            new QLabel(QStringLiteral("γ2：抵抗モーメント計算用単位体積重量"), panel));
    }
    return panel;
}

}  // namespace dorvo
