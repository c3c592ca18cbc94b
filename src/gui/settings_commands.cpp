// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the page-layout and settings dialogs: 見出しとページ, 図の縮尺と印刷範囲,
// マージンと表示位置, 様式　桁数、図の線種, フォント, キーの動作 and セットアップ, and the help.
#include "app/installation_saving.h"
#include "app/scale_editing.h"
#include "app/section_fit.h"
#include "gui/dorvo_view.h"
#include "gui/enter_key_filter.h"
#include "gui/fonts_dialog.h"
#include "gui/headings_dialog.h"
#include "gui/line_styles_dialog.h"
#include "gui/main_frame.h"
#include "gui/margins_dialog.h"
#include "gui/scale_dialog.h"
#include "gui/small_dialogs.h"

namespace dorvo {

void CMainFrame::fitSection() {
    ProjectSession::Edit edit = session_.beginEdit();
    Project& project = edit.project();
    const std::optional<FigureWindow> fitted = fitSectionWindow(project, session_.pageSetup());
    if (!fitted) {
        session_.user.report(makeMessage(MessageId::NoData));
        return;
    }
    writeFigureWindowLines(*fitted, project.settings);
    session_.window = figureWindowWithDefaults(project);
    session_.pages.view.figurePageLeftX = session_.window.figureLeftX;
    edit.commit();
}

void CMainFrame::fitUnsetWindow() {
    if (!figureWindowUnset(session_.document.project.settings)) return;
    // Only the view follows: the project's lines stay unset, so nothing asks to be saved.
    if (auto fitted = fitSectionWindow(session_.document.project, session_.pageSetup())) {
        session_.window = *fitted;
        session_.pages.view.figurePageLeftX = fitted->figureLeftX;
    }
}

void CMainFrame::editHeadings() {
    ProjectSession::Edit edit = session_.beginEdit();
    Project& project = edit.project();
    const PageSetup setup = session_.pageSetup();
    HeadingsDialog dialog(
        openingHeadingsValues(project, setup), setup, readHeadingCandidates(session_.installation),
        [&](const HeadingsValues& typed) {
            const auto stored = storeHeadings(typed, setup, project);
            if (!stored) {
                session_.user.report(stored.error());
                return false;
            }
            if (*stored) session_.user.report(**stored);
            return true;
        },
        this);
    EnterKeyFilter::install(&dialog, editorOptions().enterKey);
    dialog.exec();
    edit.commit();
}

void CMainFrame::editScale() {
    ProjectSession::Edit edit = session_.beginEdit();
    Project& project = edit.project();
    const PageSetup setup = session_.pageSetup();
    ScaleDialog dialog(
        scaleForm(setup), scaleContext(project, setup),
        [&](ScaleForm& typed, int showing) -> std::optional<ScaleStep> {
            const auto stored = acceptScale(typed, setup, showing);
            if (!stored) {
                session_.user.report(stored.error());
                return std::nullopt;
            }
            for (const Message& correction : stored->corrections) {
                session_.user.report(correction);
            }
            typed = stored->shown;
            // The numbers the view scrolls and the lines the file saves stay one.
            writeFigureWindowLines(stored->window, project.settings);
            session_.window = figureWindowWithDefaults(project);
            session_.pages.view.figurePageLeftX = session_.window.figureLeftX;
            view_->update();
            return stored->next;
        },
        this);
    EnterKeyFilter::install(&dialog, editorOptions().enterKey);
    dialog.exec();
    edit.commit();
}

void CMainFrame::editMargins() {
    Installation& installation = session_.installation;
    ProjectSession::Edit edit = session_.beginEdit();
    const PageSetup setup = session_.pageSetup();
    std::optional<MarginsChange> change;
    MarginsDialog dialog(
        marginsForm(installation.settings, installation.margins),
        [&](const MarginsForm& typed) {
            auto accepted = acceptMargins(typed, installation.margins, setup);
            if (!accepted) {
                session_.user.report(accepted.error());
                return false;
            }
            change = std::move(accepted).value();
            return true;
        },
        this);
    EnterKeyFilter::install(&dialog, editorOptions().enterKey);
    if (dialog.exec() == QDialog::Accepted && change) {
        installation.settings.topMarginMm = change->topMarginMm;
        installation.settings.leftMarginMm = change->leftMarginMm;
        installation.margins = change->table;
        reportEach(saveMargins(installation), session_.user);
        cutPageRangesToPaper(session_.window, session_.pageSetup(), edit.project().settings);
        session_.repaged();
    }
    edit.commit();
}

void CMainFrame::editLineStyles() {
    Installation& installation = session_.installation;
    LineStylesDialog dialog(
        lineStyleForm(installation.settings), session_.user,
        [&](const LineStyleForm& typed) {
            const Status stored = storeLineStyles(typed, installation.settings);
            if (!stored) session_.user.report(stored.error());
            return stored.ok();
        },
        this);
    EnterKeyFilter::install(&dialog, editorOptions().enterKey);
    if (dialog.exec() == QDialog::Accepted) {
        const Status saved = saveProgramSettings(installation);
        if (!saved) session_.user.report(saved.error());
    }
    view_->update();
}

void CMainFrame::editFonts() {
    Installation& installation = session_.installation;
    FontsDialog dialog(installation.fonts, session_.user, this);
    EnterKeyFilter::install(&dialog, editorOptions().enterKey);
    if (dialog.exec() == QDialog::Accepted) {
        installation.fonts = dialog.chosenSlots();
        reportEach(saveFonts(installation), session_.user);
        session_.repaged();
    }
    view_->update();
}

void CMainFrame::editEnterKey() {
    EnterKeyDialog dialog(session_.installation.settings.enterKeyOption, this);
    if (dialog.exec() == QDialog::Accepted) {
        session_.installation.settings.enterKeyOption = dialog.option();
        const Status saved = saveProgramSettings(session_.installation);
        if (!saved) session_.user.report(saved.error());
    }
    view_->update();
}

void CMainFrame::changeLocation() {
    LocationDialog dialog(session_.installation.workFolder, session_.installation.environment,
                          session_.user, this);
    if (dialog.exec() == QDialog::Accepted) {
        const auto changed = changeInstallLocation(session_.installation, session_.document.project,
                                                   dialog.folder(), session_.user);
        if (!changed) session_.user.report(changed.error());
        session_.installHelp();
        session_.repaged();
    }
    view_->update();
}

void CMainFrame::showHelp() {
    HelpDialog dialog(session_.installation.workFolder / "Help.txt", session_.user, this);
    dialog.exec();
    view_->update();
}

void CMainFrame::showFormulas() {
    FormulaDialog dialog(session_.installation.workFolder / "HelpCalc.html", session_.user, this);
    dialog.exec();
    view_->update();
}

}  // namespace dorvo
