// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/back_analysis_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/analysis_availability.h"
#include "app/design_analyses.h"
#include "app/design_dialog_fields.h"
#include "app/design_summaries.h"
#include "gui/analysis_output.h"
#include "gui/dialog_parts.h"
#include "model/number_text.h"
#include "render/design_pages.h"

namespace dorvo {

namespace {

QString numberText(double value) {
    return QString::fromStdString(formatC("%.2f", value + 0.0));
}

/// Fields in rows of label and field, named by their labels.
QGridLayout* fieldGrid(QWidget* parent, const QStringList& names, int columns) {
    auto* grid = new QGridLayout;
    for (int i = 0; i < names.size(); ++i) {
        QLineEdit* field = namedField(names[i], parent);
        grid->addWidget(labelFor(names[i], field, parent), i / columns, 2 * (i % columns));
        grid->addWidget(field, i / columns, 2 * (i % columns) + 1);
    }
    return grid;
}

std::string text(const BackAnalysisDialog& dialog, const char* name) {
    return dialog.field(QString::fromUtf8(name))->text().toStdString();
}

}  // namespace

BackAnalysisDialog::BackAnalysisDialog(DesktopSession& session, ApplyAndRecalculate apply,
                                       QWidget* parent)
    : QDialog(parent), session_(session), applyChange_(std::move(apply)) {
    setWindowTitle(QStringLiteral("強度の逆算"));
    auto* circle = new QGroupBox(QStringLiteral("すべり円"), this);
    auto* circleLayout = new QVBoxLayout(circle);
    circleLayout->addLayout(fieldGrid(
        circle, {QStringLiteral("中心 X"), QStringLiteral("中心 Y"), QStringLiteral("半径 R")}, 3));
    circleLayout->addLayout(
        fieldGrid(circle,
                  {QStringLiteral("端点1 X"), QStringLiteral("端点1 Y"), QStringLiteral("端点2 X"),
                   QStringLiteral("端点2 Y"), QStringLiteral("深さ")},
                  5));
    fromEnds_ = new QPushButton(QStringLiteral("両端と深さから円を求める"), circle);
    circleLayout->addWidget(fromEnds_);

    auto* input = fieldGrid(this, {QStringLiteral("層No."), QStringLiteral("現在の安全率 Fs0")}, 2);
    calculate_ = new QPushButton(QStringLiteral("計算"), this);
    calculate_->setDefault(true);
    input->addWidget(calculate_, 0, 4);
    output_ = new AnalysisOutput(session_.document, session_.user, session_.paper,
                                 QStringLiteral("back-analysis"), this);
    auto* applyRow = fieldGrid(this, {QStringLiteral("適用する φ")}, 1);
    apply_ = new QPushButton(QStringLiteral("この φ と Co を層に適用して再計算"), this);
    apply_->setEnabled(false);
    applyRow->addWidget(apply_, 0, 2);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    applyRow->addWidget(close, 0, 3);

    connect(calculate_, &QPushButton::clicked, this, &BackAnalysisDialog::calculate);
    connect(fromEnds_, &QPushButton::clicked, this, &BackAnalysisDialog::circleFromEnds);
    connect(apply_, &QPushButton::clicked, this, &BackAnalysisDialog::applyChosenPair);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(circle);
    layout->addLayout(input);
    layout->addWidget(output_, 1);
    layout->addLayout(applyRow);

    const Project& project = session_.document.project;
    if (auto critical = lastCriticalCircle(project, session_.installation.resultsFile())) {
        field(QStringLiteral("中心 X"))->setText(numberText(critical->rx));
        field(QStringLiteral("中心 Y"))->setText(numberText(critical->ry));
        field(QStringLiteral("半径 R"))->setText(numberText(critical->r));
    }
    if (!project.layers.empty()) {
        field(QStringLiteral("層No."))->setText(QString::fromStdString(project.layer(1).layerNo));
    }
    field(QStringLiteral("現在の安全率 Fs0"))->setText(QStringLiteral("1.00"));
}

QLineEdit* BackAnalysisDialog::field(const QString& accessibleName) const {
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (edit->accessibleName() == accessibleName) return edit;
    }
    return nullptr;
}

void BackAnalysisDialog::circleFromEnds() {
    const auto circle =
        typedCircleThroughEnds(text(*this, "端点1 X"), text(*this, "端点1 Y"),
                               text(*this, "端点2 X"), text(*this, "端点2 Y"), text(*this, "深さ"));
    if (!circle) {
        session_.user.report(circle.error());
        return;
    }
    field(QStringLiteral("中心 X"))->setText(numberText(circle->rx));
    field(QStringLiteral("中心 Y"))->setText(numberText(circle->ry));
    field(QStringLiteral("半径 R"))->setText(numberText(circle->r));
}

void BackAnalysisDialog::calculate() {
    const auto circle =
        typedTrialCircle(text(*this, "中心 X"), text(*this, "中心 Y"), text(*this, "半径 R"));
    const auto layer = typedLayerNo(text(*this, "層No."));
    const auto target = typedTargetFs(text(*this, "現在の安全率 Fs0"));
    for (const Message* refused :
         {circle ? nullptr : &circle.error(), layer ? nullptr : &layer.error(),
          target ? nullptr : &target.error()}) {
        if (refused != nullptr) {
            session_.user.report(*refused);
            return;
        }
    }
    const Result<Section> prepared = prepareSection(session_.document.project);
    if (!prepared) {
        session_.user.report(prepared.error());
        return;
    }
    analysis_ = backAnalyse(*prepared, *circle, *layer, *target);
    apply_->setEnabled(analysis_->status == BackAnalysisStatus::Found);
    if (analysis_->status != BackAnalysisStatus::Found) {
        output_->showProblem(QString::fromUtf8(backAnalysisRefusal(analysis_->status)));
        return;
    }
    field(QStringLiteral("適用する φ"))->setText(numberText(analysis_->currentPhiDegrees));
    output_->show(backAnalysisSummary(*analysis_), backAnalysisTable(*analysis_),
                  analysisPageDrawing(
                      session_, std::make_shared<BackAnalysisPage>(*analysis_, std::nullopt)));
}

void BackAnalysisDialog::applyChosenPair() {
    if (!analysis_ || analysis_->status != BackAnalysisStatus::Found) return;
    const auto pair = typedChosenPair(*analysis_, text(*this, "適用する φ"));
    if (!pair) {
        session_.user.report(pair.error());
        return;
    }
    Project changed = session_.document.project;
    const Status applied = applyLayerStrength(changed, analysis_->layerNo, *pair);
    if (!applied) {
        session_.user.report(applied.error());
        return;
    }
    accept();
    applyChange_(changed);
}

void openBackAnalysisDialog(QWidget* parent, DesktopSession& session, ApplyAndRecalculate apply) {
    BackAnalysisDialog dialog(session, std::move(apply), parent);
    dialog.exec();
}

}  // namespace dorvo
