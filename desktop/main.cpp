// The desktop program: one window over one project, opened from the command line when a
// file is named there.
#include <QApplication>

#include "app/termination.h"
#include "gui/main_frame.h"
#include "gui/path_text.h"
#include "gui/qt_translations.h"

int main(int argc, char** argv) {
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
    if (arguments.size() > 1) frame.openProject(dorvo::toPath(arguments.at(1)));
    return QApplication::exec();
}
