// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/formula_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <array>
#include <tuple>

#include "gui/dialog_parts.h"

namespace dorvo {

namespace {

QGridLayout* addRows(QGroupBox* group,
                     std::initializer_list<std::pair<const char*, const char*>> rows) {
    auto* grid = new QGridLayout(group);
    for (const auto& [formula, meaning] : rows) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QString::fromUtf8(formula), group), row, 0);
        grid->addWidget(new QLabel(QString::fromUtf8(meaning), group), row, 1);
    }
    return grid;
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
    QGridLayout* grid = addRows(moments, {{"Md=R・ΣW1・sinθ　", ""},
                                          {"Me=R・ΣW1・cosθ・kh　", ""},
                                          {"Mf=ΣF・(Xi-Rx)　", ""},
                                          {"MT=R・ΣW2・cosθ・tanφ　", ""},
                                          {"ME=R・ΣW2・sinθ・tanφ・kh　", ""},
                                          {"MC=R・Σ(Co+kZ)・L　", "Yc"},
                                          {"微小部分面積　", "A"},
                                          {"起動側重量　", "W1=A・γ1　"},
                                          {"抵抗側重量　", "W2=A・γ2　"}});
    // The sketches beside Md, MT and MC: the rows each one starts at and spans.
    const std::array<std::tuple<int, int, const char*, const char*>, 3> sketches = {{
        {0, 3, ":/pictures/moment-md.svg", "Md: 分割片の重量 W1 と中心からの腕の長さ"},
        {3, 2, ":/pictures/moment-mt.svg", "MT: 分割片の底面の摩擦力"},
        {5, 4, ":/pictures/moment-mc.svg", "MC: 円弧の長さ L に沿う粘着力"},
    }};
    for (const auto& [row, rows, resource, description] : sketches) {
        grid->addWidget(pictureLabel(QString::fromUtf8(resource), QSize(130, 90),
                                     QString::fromUtf8(description), moments),
                        row, 2, rows, 1, Qt::AlignTop);
    }
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
