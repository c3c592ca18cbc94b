// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/document.h"
#include "app/project_history.h"
#include "canvas_qt/page_export.h"
#include "gui/user_interaction.h"
#include "render/render_inputs.h"
#include "settings/working_files.h"

namespace dorvo {

/// What the desktop program holds while it runs: the installation, the one document, what
/// the view shows and how far it scrolled, the undo history and the paper.
struct DesktopSession {
    DesktopSession(UserInteraction& user, Environment environment);

    UserInteraction& user;
    Installation installation;
    Document document;
    PageState pages;
    FigureWindow window;  // the figure window as the view scrolls it
    ProjectHistory history;
    Paper paper;
    std::vector<std::filesystem::path> helpSources;  // where the help files ship, in order

    FileCommandContext context() { return {installation, user, user, &user}; }

    /// The page setup of the shown project on the session's paper.
    PageSetup pageSetup();
    /// What the page routines read, over a page setup made by `pageSetup`.
    RenderInputs inputs(const PageSetup& setup) const;

    /// After a new, loaded or restored project: the figure window from its settings, the page
    /// kind it was saved with, from its first page.
    void showNewProject();
    /// Runs the working-file set-up, as every update of the view does.
    void setUp();
    /// Gives the working folder the help files it lacks, at start and when it moves.
    void installHelp();
};

}  // namespace dorvo
