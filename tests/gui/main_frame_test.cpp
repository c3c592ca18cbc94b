// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "gui/calculation_dialog.h"
#include "gui/circle_search_dialog.h"
#include "gui/dorvo_view.h"
#include "gui/loads_dialog.h"
#include "gui/small_dialogs.h"
#include "gui_fixture.h"
#include "model/encoding.h"
#include "model/line_io.h"
#include "settings/program_settings.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;
using test::buttonNamed;
using test::DesktopFixture;

TEST(MainFrame, ToolBarHasTheTwelveButtonsInOrderWithTheirTips) {
    DesktopFixture f;
    auto* bar = f.frame->findChild<QToolBar*>(QStringLiteral("toolBar"));
    ASSERT_NE(bar, nullptr);
    QStringList tips;
    for (QAction* action : bar->actions()) {
        if (!action->isSeparator()) tips << action->toolTip();
    }
    const QStringList expected = {"新規ﾌｧｲﾙ",
                                  "開く",
                                  "保存",
                                  "印刷",
                                  "ﾊﾞｰｼﾞｮﾝ情報",
                                  "図の左方を見る",
                                  "図の右方を見る",
                                  "図の上方を見る、または前頁",
                                  "図の下方を見る、または次頁",
                                  "図表示",
                                  "データ表示",
                                  "計算結果"};
    EXPECT_EQ(tips, expected);
    QStringList menus;
    for (QAction* menu : f.frame->menuBar()->actions()) menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "データ(A)", "表示(&V)", "設定(&S)",
                                  "ﾍﾙﾌﾟ(&H)"}));
    EXPECT_EQ(f.frame->action(command::kCalculate)->text(), "計算実行(&C)");
    EXPECT_FALSE(f.frame->action(command::kNew)->icon().isNull());
}

TEST(MainFrame, CommandLineFileOpensWithItsNameInTheTitle) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    EXPECT_EQ(blockCount(f.session.document.project), 5);
    EXPECT_TRUE(f.frame->windowTitle().contains("embankment.slw"));
    EXPECT_FALSE(f.frame->isWindowModified());
    EXPECT_EQ(f.frame->recentFiles().front().toStdString(), fs::absolute(f.exampleCopy()).string());
}

TEST(MainFrame, UnreadableFileOnTheCommandLineSaysSoAndKeepsTheEmptyProject) {
    DesktopFixture f;
    EXPECT_FALSE(f.frame->openProject(f.folder.path() / "missing.slw"));
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_EQ(f.user.messages[0].id, MessageId::FileNotFound);
    EXPECT_EQ(blockCount(f.session.document.project), 0);
}

/// Types loads into the loads dialog and presses OK.
void enterLoad(DesktopFixture& f, const QString& x, const QString& force) {
    DesktopFixture::whenDialogShows([x, force](QDialog* dialog) {
        auto* loads = qobject_cast<LoadsDialog*>(dialog);
        ASSERT_NE(loads, nullptr);
        loads->xField(1)->setText(x);
        loads->forceField(1)->setText(force);
        buttonNamed(dialog, "OK")->click();
        if (loads->isVisible()) buttonNamed(dialog, "ｷｬﾝｾﾙ")->click();
    });
    f.frame->action(command::kLoads)->trigger();
}

TEST(MainFrame, LoadsDialogStoresOnOkAndMarksTheProjectModified) {
    DesktopFixture f;
    enterLoad(f, "12.5", "30");
    EXPECT_EQ(f.session.document.project.load(1).x, "12.5");
    EXPECT_TRUE(f.session.document.modified);
    EXPECT_TRUE(f.frame->isWindowModified());
    f.frame->action(command::kUndo)->trigger();
    EXPECT_EQ(f.session.document.project.load(1).x, "");
    f.frame->action(command::kRedo)->trigger();
    EXPECT_EQ(f.session.document.project.load(1).x, "12.5");
}

TEST(MainFrame, LoadsDialogRefusesACommaAndStaysOpen) {
    DesktopFixture f;
    enterLoad(f, "1,5", "30");
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_NE(f.user.messages[0].text.find("カンマ"), std::string::npos);
    EXPECT_EQ(f.session.document.project.load(1).x, "");
    EXPECT_FALSE(f.session.document.modified);
}

TEST(MainFrame, UnsavedChangesAskBeforeNewAndEachAnswerDoesWhatItSays) {
    DesktopFixture f;
    const fs::path file = f.exampleCopy();
    ASSERT_TRUE(f.frame->openProject(file));
    enterLoad(f, "50", "99");
    f.user.saveAnswers = {SaveAnswer::Cancel};
    f.frame->action(command::kNew)->trigger();
    EXPECT_EQ(blockCount(f.session.document.project), 5);  // Cancel keeps the project

    f.user.saveAnswers = {SaveAnswer::Save};
    f.frame->action(command::kNew)->trigger();
    EXPECT_EQ(blockCount(f.session.document.project), 0);
    EXPECT_NE(test::readBytes(file).find("\r\n50,99\r\n"), std::string::npos);

    enterLoad(f, "7", "8");
    f.user.saveAnswers = {SaveAnswer::Discard};
    ASSERT_TRUE(f.frame->openProject(file));
    EXPECT_EQ(f.session.document.project.load(1).x, "50");
    EXPECT_EQ(f.user.saveQuestions, 3);
}

TEST(MainFrame, PagingKeysAndTheRefusedScroll) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    f.frame->action(command::kShowResults)->trigger();
    EXPECT_EQ(f.session.document.project.settings.line(1), "2");
    EXPECT_TRUE(f.frame->action(command::kShowResults)->isChecked());
    // The example carries no results: the result table has one page, so Down stays on it.
    QTest::keyClick(f.frame->view(), Qt::Key_Down);
    EXPECT_EQ(f.session.pages.view.currentPage, 1);

    f.frame->action(command::kShowData)->trigger();
    const int pages = f.frame->view()->pageCount();
    ASSERT_GT(pages, 1);
    QTest::keyClick(f.frame->view(), Qt::Key_PageDown);
    EXPECT_EQ(f.session.pages.view.currentPage, 2);
    QTest::keyClick(f.frame->view(), Qt::Key_Up);
    EXPECT_EQ(f.session.pages.view.currentPage, 1);

    f.frame->action(command::kFigureButton)->trigger();
    f.session.window.figureTopY = 5.0;
    f.frame->action(command::kScrollDown)->trigger();
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_EQ(f.user.messages[0].text, "データ（図）が画面外になります");
    EXPECT_FALSE(f.session.document.modified);  // paging is no change
}

TEST(MainFrame, SlipCircleDialogIsShownAtMostThreeTimesForInvalidData) {
    DesktopFixture f;
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* search = qobject_cast<CircleSearchDialog*>(dialog);
        ASSERT_NE(search, nullptr);
        const QStringList texts = {"0", "0", "10", "10", "0", "1", "5", "1", "1"};
        for (int i = 0; i < texts.size(); ++i) search->field(std::size_t(i))->setText(texts[i]);
        for (int press = 0; press < 3; ++press) buttonNamed(dialog, "OK")->click();
    });
    f.frame->action(command::kCircleSearch)->trigger();
    ASSERT_EQ(f.user.messages.size(), 3u);
    EXPECT_EQ(f.user.messages[2].text, "中心点のデータが不適当です");
    EXPECT_EQ(f.session.document.project.circleSearch.line(5), "0");  // kept as typed
    EXPECT_TRUE(f.session.document.modified);
}

TEST(MainFrame, CalculationClosesByItselfAndWritesTheCommandLinesRecords) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        ASSERT_NE(qobject_cast<CalculationDialog*>(dialog), nullptr);
        buttonNamed(dialog, "OK")->click();
    });
    f.frame->action(command::kCalculate)->trigger();
    EXPECT_EQ(test::readBytes(f.session.installation.resultsFile()),
              test::readBytes(DORVO_TEST_DATA_DIR "/embankment-records.golden"));
    EXPECT_NEAR(f.session.document.project.critical.radius, 16.6, 1e-9);
    EXPECT_TRUE(f.session.document.modified);
    EXPECT_TRUE(f.user.messages.empty());
}

TEST(MainFrame, AfterACalculationTheEdgeNoticeAndTheCriticalCircleElements) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "OK")->click(); });
    f.frame->action(command::kCalculate)->trigger();
    QString shown;
    for (QLabel* label : f.frame->findChildren<QLabel*>()) {
        if (label->accessibleName() == "計算の注意") shown = label->text();
    }
    EXPECT_TRUE(shown.contains("簡易ビショップ法 Fs = 1.331")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("最大の半径")) << shown.toStdString();  // a non-blocking notice
    EXPECT_TRUE(f.user.messages.empty());

    const fs::path csv = f.folder.path() / "elements.csv";
    f.user.files = {csv};
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* table = dialog->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        EXPECT_GT(table->rowCount(), 20);
        buttonNamed(dialog, "CSVで保存")->click();
        dialog->accept();
    });
    f.frame->action(command::kExplain)->trigger();
    EXPECT_TRUE(test::readBytes(csv).starts_with("No,x1,y1,x2,y2,theta_deg"));
}

TEST(MainFrame, FigureLayersAreOffAtFirstAndRememberedFromOneRunToTheNext) {
    DesktopFixture f;
    EXPECT_FALSE(f.session.pages.figure.contours);
    EXPECT_FALSE(f.frame->action(command::kAnnotate)->isChecked());
    f.frame->action(command::kContours)->trigger();
    EXPECT_TRUE(f.session.pages.figure.contours);
    f.frame.reset();  // the program ends and starts again
    f.session.pages = {};
    f.frame = std::make_unique<CMainFrame>(f.session);
    EXPECT_TRUE(f.frame->action(command::kContours)->isChecked());
    EXPECT_TRUE(f.session.pages.figure.contours);
    EXPECT_FALSE(f.session.pages.figure.annotate);
}

TEST(MainFrame, CancelBeforeAndDuringARunLeavesTheResultsByteForByte) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    const std::string before = "$$CSV\r\n$$END\r\n";
    test::writeBytes(f.session.installation.resultsFile(), before);
    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "ｷｬﾝｾﾙ")->click(); });
    f.frame->action(command::kCalculate)->trigger();
    EXPECT_EQ(test::readBytes(f.session.installation.resultsFile()), before);

    // A grid of a million centres, stopped once it is under way.
    Project& project = f.session.document.project;
    project.circleSearch.line(3) = "1040";
    project.circleSearch.line(4) = "1028";
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* calculation = qobject_cast<CalculationDialog*>(dialog);
        calculation->okButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!calculation->statusLine()->text().isEmpty(), 5000);
        calculation->cancelButton()->click();
    });
    f.frame->action(command::kCalculate)->trigger();
    EXPECT_EQ(test::readBytes(f.session.installation.resultsFile()), before);
    EXPECT_EQ(project.critical.radius, 0.0);
}

TEST(MainFrame, MissingLayerIsReportedOnceBeforeTheDialog) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    f.session.document.project.layer(3) = {};
    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "ｷｬﾝｾﾙ")->click(); });
    f.frame->action(command::kCalculate)->trigger();
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_EQ(f.user.messages[0].text, "層No 3 のデータがありません　");
}

TEST(MainFrame, EnterKeyDialogWritesTheSettingsFileAtOnce) {
    DesktopFixture f;
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* next = dialog->findChildren<QRadioButton*>().at(1);
        next->click();
        buttonNamed(dialog, "OK")->click();
    });
    f.frame->action(command::kEnterKey)->trigger();
    EXPECT_EQ(f.session.installation.settings.enterKeyOption, 1);
    const auto lines = readTextLines(f.session.installation.settingsFile());
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(parseProgramSettings(*lines).enterKeyOption, 1);
}

TEST(MainFrame, HelpWithoutItsGuideSaysWhichFileIsMissing) {
    DesktopFixture f;
    fs::remove(f.session.installation.workFolder / "Help.txt");
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* help = qobject_cast<HelpDialog*>(dialog);
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->list()->count(), 0);
        dialog->accept();
    });
    f.frame->action(command::kHelp)->trigger();
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_NE(f.user.messages[0].text.find("Help.txt"), std::string::npos);
}

TEST(MainFrame, GuideInCodePage932IsHandedOverAsUtf8) {
    DesktopFixture f;
    const fs::path guide = f.session.installation.workFolder / "Help.txt";
    test::writeBytes(guide, "\x88\xc0\x92\xe8\x8c\x76\x8e\x5a\r\n");  // 安定計算
    openHelpFile(guide, f.user);
    ASSERT_EQ(f.user.opened.size(), 1u);
    EXPECT_EQ(test::readBytes(f.user.opened[0]), "安定計算\n");
    f.user.canOpen = false;
    openHelpFile(guide, f.user);
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_EQ(f.user.messages[0].text, "実行できませんでした");
}

TEST(MainFrame, EveryCommandAndToolButtonHasANameForScreenReaders) {
    DesktopFixture f;
    for (QAction* action : f.frame->findChildren<QAction*>()) {
        if (action->isSeparator() || action->menu() != nullptr) continue;
        EXPECT_FALSE(action->text().isEmpty());
    }
    for (QToolButton* button : f.frame->findChildren<QToolButton*>()) {
        if (button->defaultAction() == nullptr) continue;
        EXPECT_FALSE(button->defaultAction()->text().isEmpty());
    }
}

}  // namespace
}  // namespace dorvo
