// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: one window over one project, opened from the command line when a
// file is named there.
#include <CLI/CLI.hpp>

#include <QApplication>

#include "app/termination.h"
#include "dorvo_version.h"
#include "gui/main_frame.h"
#include "gui/path_text.h"
#include "gui/qt_translations.h"

int main(int argc, char** argv) {
    // --help and --version answer before Qt looks for a display. Qt's own options (such as
    // -platform) are left to Qt, which also takes them out of the arguments read below.
    CLI::App options{
        "Dorvo: factor of safety of earth slopes against circular slip. The desktop program "
        "opens a window on the project FILE, or on an empty project."};
    options.allow_extras();
    options.set_version_flag("--version", dorvo::versionText("dorvo"));
    options.add_option("FILE", "Project file (.slw) to open");
    options.footer(
        "The options of the Qt toolkit, such as -platform NAME, are accepted as well. "
        "dorvo-cli computes and draws projects without a window.");
    CLI11_PARSE(options, argc, argv);

    dorvo::leaveOnTerminationSignals();
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(dorvo);
    QApplication::setApplicationName(QStringLiteral("Dorvo"));
    QApplication::setOrganizationName(QStringLiteral("Quenvar"));
    dorvo::installQtTranslations(application, QLocale::system());

    dorvo::DesktopInteraction user;
    dorvo::DesktopSession session(user, dorvo::environmentFromProcess());
    session.setUp();
    const auto programFolder = dorvo::toPath(QApplication::applicationDirPath());
    session.helpSources = {programFolder / ".." / "share" / "dorvo" / "help", DORVO_HELP_DIR};
    session.installHelp();
    dorvo::newDocument(session.document, session.context());

    dorvo::CMainFrame frame(session);
    user.setParent(&frame);
    frame.show();
    const QStringList arguments = QApplication::arguments();
    // A file that cannot be opened is reported and the program goes on with the empty project.
    if (arguments.size() > 1) frame.openProject(dorvo::toPath(arguments.at(1)));
    return QApplication::exec();
}
