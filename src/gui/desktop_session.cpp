// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/desktop_session.h"

#include <algorithm>

#include "gui/help_files.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

Paper startingPaper() {
    if (auto printer = defaultPrinterPaper()) return *printer;
    return localeDefaultPaper();
}

}  // namespace

DesktopSession::DesktopSession(UserInteraction& userInteraction, Environment environment)
    : user(userInteraction), paper(startingPaper()) {
    installation.environment = std::move(environment);
}

PageSetup DesktopSession::pageSetup() {
    PageSetup setup =
        makePageSetup(window, installation.settings, paper.widthMm(), paper.heightMm());
    applyPaperDefaults(setup, pages.view);
    return setup;
}

RenderInputs DesktopSession::inputs(const PageSetup& setup) const {
    return {document.project,
            installation.settings,
            installation.margins,
            installation.fonts,
            setup,
            installation.resultsFile(),
            &user};
}

void DesktopSession::showNewProject() {
    window = figureWindowWithDefaults(document.project);
    const int page = readInteger(document.project.settings.line(settings_line::kViewPage));
    pages.view.page = page == 1 ? ViewPage::Data : page == 2 ? ViewPage::Results : ViewPage::Figure;
    pages.view.currentPage = 1;
    pages.view.figurePageLeftX = window.figureLeftX;
    pages.critical = {};
    pages.overlay = {};
    pages.resultPages = {};
}

void DesktopSession::setUp() {
    setUpWorkingFiles(installation, document.project, Reload::No, user);
}

void DesktopSession::installHelp() {
    installHelpFiles(installation.workFolder, helpSources);
}

}  // namespace dorvo
