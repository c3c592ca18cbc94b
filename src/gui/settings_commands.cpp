// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the page-layout and settings dialogs: 見出しとページ, 図の縮尺と印刷範囲,
// マージンと表示位置, 様式　桁数、図の線種 and フォント.
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

namespace dorvo {

void CMainFrame::keepSettingsChange(const Project& before) {
    if (session_.document.project.settings.lines != before.settings.lines) {
        session_.history.recordBefore(before);
        session_.document.modified = true;
        session_.pages.resultPages = {};
    }
    projectChanged();
}

void CMainFrame::fitSection() {
    Project& project = session_.document.project;
    const Project before = project;
    const std::optional<FigureWindow> fitted = fitSectionWindow(project, session_.pageSetup());
    if (!fitted) {
        session_.user.report(makeMessage(MessageId::NoData));
        return;
    }
    writeFigureWindowLines(*fitted, project.settings);
    session_.window = figureWindowWithDefaults(project);
    session_.pages.view.figurePageLeftX = session_.window.figureLeftX;
    keepSettingsChange(before);
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
    Project& project = session_.document.project;
    const Project before = project;
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
    EnterKeyFilter::install(&dialog,
                            enterKeyActionOf(session_.installation.settings.enterKeyOption));
    dialog.exec();
    keepSettingsChange(before);
}

void CMainFrame::editScale() {
    Project& project = session_.document.project;
    const Project before = project;
    const PageSetup setup = session_.pageSetup();
    ScaleDialog dialog(
        scaleForm(setup), scaleContext(project, setup),
        [&](ScaleForm& typed, int showing) {
            FigureWindow stored;
            const ScaleStep step = acceptScale(typed, setup, showing, stored, session_.user);
            if (step != ScaleStep::KeepOpen) {
                // The numbers the view scrolls and the lines the file saves stay one.
                writeFigureWindowLines(stored, project.settings);
                session_.window = figureWindowWithDefaults(project);
                session_.pages.view.figurePageLeftX = session_.window.figureLeftX;
                view_->update();
            }
            return step;
        },
        this);
    EnterKeyFilter::install(&dialog,
                            enterKeyActionOf(session_.installation.settings.enterKeyOption));
    dialog.exec();
    keepSettingsChange(before);
}

void CMainFrame::editMargins() {
    Installation& installation = session_.installation;
    Project& project = session_.document.project;
    const Project before = project;
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
    EnterKeyFilter::install(&dialog, enterKeyActionOf(installation.settings.enterKeyOption));
    if (dialog.exec() == QDialog::Accepted && change) {
        installation.settings.topMarginMm = change->topMarginMm;
        installation.settings.leftMarginMm = change->leftMarginMm;
        installation.margins = change->table;
        saveMargins(installation, session_.user);
        cutPageRangesToPaper(session_.window, session_.pageSetup(), project.settings);
        session_.pages.resultPages = {};
    }
    keepSettingsChange(before);
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
    EnterKeyFilter::install(&dialog, enterKeyActionOf(installation.settings.enterKeyOption));
    if (dialog.exec() == QDialog::Accepted) saveProgramSettings(installation, session_.user);
    view_->update();
}

void CMainFrame::editFonts() {
    Installation& installation = session_.installation;
    FontsDialog dialog(installation.fonts, session_.user, this);
    EnterKeyFilter::install(&dialog, enterKeyActionOf(installation.settings.enterKeyOption));
    if (dialog.exec() == QDialog::Accepted) {
        installation.fonts = dialog.chosenSlots();
        saveFonts(installation, session_.user);
        session_.pages.resultPages = {};
    }
    view_->update();
}

}  // namespace dorvo
