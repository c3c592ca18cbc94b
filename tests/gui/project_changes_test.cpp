// SPDX-License-Identifier: GPL-3.0-or-later
// How the main window follows changes of the project: the modified mark, undo and the
// commands that cannot run yet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include "gui_fixture.h"

namespace dorvo {
namespace {

using test::buttonNamed;
using test::DesktopFixture;

/// Presses OK until the dialog has closed; a dialog with pages takes one press a page.
void pressOkUntilClosed(QDialog* dialog) {
    for (int press = 0; press < 5 && dialog->isVisible(); ++press) {
        QPushButton* ok = buttonNamed(dialog, "OK");
        ASSERT_NE(ok, nullptr) << dialog->windowTitle().toStdString();
        ok->click();
    }
    EXPECT_FALSE(dialog->isVisible()) << dialog->windowTitle().toStdString();
}

// A dialog's OK may complete what the file left open (the heading's place on this paper, a
// page width that fits it); once that is saved, OK with nothing typed changes nothing.
TEST(ProjectChanges, EveryDialogsOkWithNothingChangedRecordsNoUndoStepAndLeavesTheProjectSaved) {
    DesktopFixture f;
    const auto project = f.exampleCopy();
    ASSERT_TRUE(f.frame->openProject(project));
    const int dialogs[] = {command::kHeadings, command::kBlocks,       command::kLayers,
                           command::kLoads,    command::kCircleSearch, command::kScale,
                           command::kMargins,  command::kLineStyles};
    for (int id : dialogs) {
        DesktopFixture::whenDialogShows(pressOkUntilClosed);
        f.frame->action(id)->trigger();
    }
    f.frame->action(command::kSave)->trigger();
    ASSERT_TRUE(f.frame->openProject(project));
    f.user.messages.clear();
    for (int id : dialogs) {
        DesktopFixture::whenDialogShows(pressOkUntilClosed);
        f.frame->action(id)->trigger();
        EXPECT_FALSE(f.session.document.modified) << id;
        EXPECT_FALSE(f.frame->action(command::kUndo)->isEnabled()) << id;
        EXPECT_FALSE(f.frame->isWindowModified()) << id;
    }
}

TEST(ProjectChanges, UndoingBackToTheSavedProjectTakesTheMarkFromTheTitle) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    ProjectSession::Edit edit = f.session.beginEdit();
    edit.project().load(1).force = "12.5";
    edit.commit();
    EXPECT_TRUE(f.frame->isWindowModified());
    EXPECT_TRUE(f.frame->action(command::kUndo)->isEnabled());
    f.frame->action(command::kUndo)->trigger();
    EXPECT_FALSE(f.frame->isWindowModified());
    EXPECT_FALSE(f.frame->action(command::kUndo)->isEnabled());
    EXPECT_TRUE(f.frame->action(command::kRedo)->isEnabled());
}

TEST(ProjectChanges, TheElementTableIsDisabledUntilACalculationHasResults) {
    DesktopFixture f;
    EXPECT_FALSE(f.frame->action(command::kExplain)->isEnabled());
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    EXPECT_FALSE(f.frame->action(command::kExplain)->isEnabled());
    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "OK")->click(); });
    f.frame->action(command::kCalculate)->trigger();
    EXPECT_TRUE(f.frame->action(command::kExplain)->isEnabled());
    f.user.saveAnswers = {SaveAnswer::Discard};
    f.frame->action(command::kNew)->trigger();
    EXPECT_FALSE(f.frame->action(command::kExplain)->isEnabled());
}

TEST(ProjectChanges, AWaitForADialogThatNeverShowsEndsWithItsTest) {
    {
        DesktopFixture f;
        DesktopFixture::whenDialogShows([](QDialog*) { FAIL() << "no dialog was opened"; });
        EXPECT_EQ(DesktopFixture::pendingDialogWaits(), 1);
    }
    EXPECT_EQ(DesktopFixture::pendingDialogWaits(), 0);
}

}  // namespace
}  // namespace dorvo
