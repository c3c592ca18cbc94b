// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/project_session.h"
#include "canvas_qt/page_export.h"
#include "gui/user_interaction.h"
#include "render/render_inputs.h"

namespace dorvo {

/// What the desktop program holds while it runs: the project session with its installation,
/// the person who answers its questions, and the paper. The paper is Qt's page size, which
/// is why this part stays beside the widgets.
struct DesktopSession : ProjectSession {
    DesktopSession(UserInteraction& user, Environment environment);

    UserInteraction& user;
    Paper paper;
    std::vector<std::filesystem::path> helpSources;  // where the help files ship, in order

    FileCommandContext context() { return {installation, user, user, &user}; }

    /// The page setup of the shown project on the session's paper.
    PageSetup pageSetup();
    /// What the page routines read, over a page setup made by `pageSetup`.
    RenderInputs inputs(const PageSetup& setup) const;

    /// Gives the working folder the help files it lacks, at start and when it moves.
    void installHelp();
};

}  // namespace dorvo
