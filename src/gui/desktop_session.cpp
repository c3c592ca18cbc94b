// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/desktop_session.h"

#include "gui/help_files.h"

namespace dorvo {

namespace {

Paper startingPaper() {
    if (auto printer = defaultPrinterPaper()) return *printer;
    return localeDefaultPaper();
}

}  // namespace

DesktopSession::DesktopSession(UserInteraction& userInteraction, Environment environment)
    : ProjectSession(userInteraction, std::move(environment)),
      user(userInteraction),
      paper(startingPaper()) {}

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

void DesktopSession::installHelp() {
    installHelpFiles(installation.workFolder, helpSources);
}

}  // namespace dorvo
