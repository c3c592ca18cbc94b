// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui_fixture.h"

#include <gtest/gtest.h>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <algorithm>

namespace dorvo::test {

namespace {

Environment environmentIn(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "cwd");
    return {folder / "config", folder / "data", folder / "cwd"};
}

std::vector<QPointer<QTimer>>& dialogWaits() {
    static std::vector<QPointer<QTimer>> waits;
    return waits;
}

}  // namespace

DesktopFixture::DesktopFixture() : session(user, environmentIn(folder.path())) {
    // The recent-file list of each test is its own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((folder.path() / "config").string()));
    session.setUp();
    newDocument(session.document, session.context());
    frame = std::make_unique<CMainFrame>(session);
}

DesktopFixture::~DesktopFixture() {
    for (const QPointer<QTimer>& wait : dialogWaits()) delete wait.data();
    dialogWaits().clear();
}

int DesktopFixture::pendingDialogWaits() {
    return int(std::ranges::count_if(dialogWaits(), [](const QPointer<QTimer>& wait) {
        return !wait.isNull() && wait->isActive();
    }));
}

QPushButton* buttonNamed(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) return button;
    }
    return nullptr;
}

void showActive(QDialog& dialog) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

void DesktopFixture::whenDialogShows(std::function<void(QDialog*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
    dialogWaits().push_back(timer);
}

std::filesystem::path DesktopFixture::exampleCopy(const std::string& name) {
    const auto copy = folder.path() / name;
    std::filesystem::copy_file(DORVO_EXAMPLES_DIR "/embankment.slw", copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy;
}

}  // namespace dorvo::test
