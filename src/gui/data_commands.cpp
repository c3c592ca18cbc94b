// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the データ menu: the data editors, the calculation and the critical circle's
// elements.
#include <QLabel>

#include "app/circle_search_editing.h"
#include "calc/circle_search.h"
#include "calc/result_records.h"
#include "gui/block_dialog.h"
#include "gui/calculation_dialog.h"
#include "gui/circle_search_dialog.h"
#include "gui/dorvo_view.h"
#include "gui/enter_key_filter.h"
#include "gui/explanation_dialog.h"
#include "gui/layer_dialog.h"
#include "gui/loads_dialog.h"
#include "gui/main_frame.h"
#include "model/number_text.h"
#include "render/method_critical.h"
#include "render/result_overlay.h"

namespace dorvo {

EditorOptions CMainFrame::editorOptions() const {
    const ProgramSettings& settings = session_.installation.settings;
    return {enterKeyActionOf(settings.enterKeyOption), settings.listScrollOption >= 1};
}

void CMainFrame::editBlocks() {
    const EditorOptions options = editorOptions();
    BlockDialog dialog(session_.document.project, options, session_.user, session_.user, this);
    EnterKeyFilter::install(&dialog, options.enterKey);
    if (dialog.exec() != QDialog::Accepted) return;
    ProjectSession::Edit edit = session_.beginEdit();
    edit.project().blocks = dialog.blocks();
    edit.commit();
}

void CMainFrame::editLayers() {
    const EditorOptions options = editorOptions();
    LayerDialog dialog(session_.document.project, options, session_.user, session_.user, colours_,
                       this);
    EnterKeyFilter::install(&dialog, options.enterKey);
    if (dialog.exec() != QDialog::Accepted) return;
    ProjectSession::Edit edit = session_.beginEdit();
    edit.project().layers = dialog.layers();
    storeLayerGeneralValues(edit.project().settings, dialog.generalValues());
    edit.commit();
}

void CMainFrame::editLoads() {
    LoadsDialog dialog(session_.document.project, session_.user, this);
    EnterKeyFilter::install(&dialog, editorOptions().enterKey);
    if (dialog.exec() != QDialog::Accepted) return;
    ProjectSession::Edit edit = session_.beginEdit();
    const auto& loads = dialog.loads();
    std::copy(loads.begin(), loads.end(), edit.project().loads.begin());
    edit.commit();
}

void CMainFrame::editCircleSearch() {
    ProjectSession::Edit edit = session_.beginEdit();
    Project& project = edit.project();
    CircleSearchDialog dialog(
        circleSearchTexts(project),
        [this, &project](const CircleSearchTexts& typed,
                         int showing) -> std::optional<CircleSearchStep> {
            const auto stored = acceptCircleSearch(project, typed, showing);
            if (!stored) {
                session_.user.report(stored.error());
            } else if (stored->problem) {
                session_.user.report(*stored->problem);
            }
            view_->update();
            if (!stored) return std::nullopt;
            return stored->next;
        },
        this);
    EnterKeyFilter::install(&dialog, editorOptions().enterKey);
    dialog.exec();
    edit.commit();
}

void CMainFrame::calculate() {
    const Project& project = session_.document.project;
    if (const auto search = validCircleSearch(project.circleSearch); !search) {
        session_.user.report(search.error());
        return;
    }
    if (auto missing = firstMissingLayer(project)) {
        session_.user.report(missingLayerMessage(*missing));
    }
    SearchOptions options;
    options.decimals = session_.installation.settings.fsDecimals;
    CalculationDialog dialog(project, session_.installation.resultsFile(), options, session_.user,
                             this);
    runningCalculation_ = &dialog;
    dialog.exec();
    runningCalculation_ = nullptr;
    if (!dialog.calculation()) return;
    session_.keepCalculation(dialog.calculatedProject().critical);
    const auto& critical = dialog.calculation()->summary.critical;
    const auto& bishop = dialog.bishopSearch();
    bishopCritical_ = bishop ? bishop->critical : std::nullopt;
    if (bishop) {
        session_.pages.figure.contourMinima = centreLabelsOf(bishop->centreMinima);
        session_.pages.figure.methodCritical = bishopCriticalOf(*bishop);
        view_->update();
        showSearchNotice(bishopSearchInsight(project, *bishop));
    } else if (critical) {
        showSearchNotice(searchInsight(project, *critical, session_.installation.resultsFile()));
    } else {
        notice_->clear();
    }
}

void CMainFrame::showSearchNotice(const SearchInsight& insight) {
    notice_->clear();
    QStringList lines;
    if (insight.method == SearchMethod::Bishop) {
        if (!insight.critical) {
            notice_->setText(QStringLiteral("簡易ビショップ法: 解のある円がありません"));
            return;
        }
        const CircleResult& c = *insight.critical;
        lines << QString::fromStdString(
            formatC("簡易ビショップ法で探索: 中心 (%.2f, %.2f) 半径 %.2f", c.rx, c.ry, c.r));
    } else if (!insight.critical) {
        return;
    }
    const int places = fsPlaces(clampFsDecimals(session_.installation.settings.fsDecimals));
    lines << QString::fromStdString(
        "簡易ビショップ法 Fs = " +
        bishopValueText(insight.bishop, places, WarningLanguage::Japanese));
    for (SearchEdge edge : insight.warnings) {
        lines << QString::fromStdString(describeSearchEdge(edge, WarningLanguage::Japanese));
    }
    if (insight.bishop.lowMAlpha()) {
        lines << QString::fromStdString(describeBishop(insight.bishop, WarningLanguage::Japanese));
    }
    if (insight.upwardLoadOnSlipMass) {
        lines << QString::fromStdString(describeUpwardLoad(WarningLanguage::Japanese));
    }
    notice_->setText(lines.join(QStringLiteral("\n")));
}

void CMainFrame::explainCriticalCircle() {
    // A project opened with its results has its critical circle in them, not in the project.
    CriticalCircle c = session_.document.project.critical;
    if (!(c.radius > 0.0)) readResultOverlay(session_.installation.resultsFile(), c);
    const Result<Section> prepared = prepareSection(session_.document.project);
    if (!(c.radius > 0.0) || !prepared) {
        session_.user.report(literalMessage("計算実行のあとで使えます"));
        return;
    }
    const auto explained =
        bishopCritical_
            ? explainCircle(*prepared, bishopCritical_->rx, bishopCritical_->ry, bishopCritical_->r)
            : explainCircle(*prepared, c.centreX, c.centreY, c.radius);
    ExplanationDialog dialog(explained, session_.document, session_.user, this);
    dialog.exec();
}

}  // namespace dorvo
