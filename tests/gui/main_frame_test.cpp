// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSizeGrip>
#include <QStatusBar>
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

TEST(MainFrame, HoveredCommandsDescriptionHasTheStatusBarToItself) {
    DesktopFixture f;
    f.frame->resize(900, 600);
    f.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.frame.get()));
    QAction* left = f.frame->action(command::kFigureLeft);
    left->showStatusText(f.frame->findChild<QToolBar*>(QStringLiteral("toolBar")));
    QApplication::processEvents();
    QStatusBar* bar = f.frame->statusBar();
    ASSERT_EQ(bar->currentMessage(), "図の左");
    // The bar draws the description from its left edge up to the first widget still shown.
    const int needed = 6 + bar->fontMetrics().horizontalAdvance(bar->currentMessage());
    for (QWidget* widget : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!widget->isVisible() || qobject_cast<QSizeGrip*>(widget)) continue;
        EXPECT_GE(widget->x(), needed) << widget->accessibleName().toStdString();
    }
}

TEST(MainFrame, CommandLineFileOpensWithItsNameInTheTitle) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    EXPECT_EQ(blockCount(f.session.document.project), 5);
    EXPECT_TRUE(f.frame->windowTitle().contains("embankment.slw"));
    EXPECT_FALSE(f.frame->isWindowModified());
    EXPECT_EQ(f.frame->recentFiles().front().toStdString(), fs::absolute(f.exampleCopy()).string());
}

// A start whose file cannot be opened does not end the program: the message names the file,
// and the window stays on an empty project, from which the user can open another file or
// start typing. Ending the program would leave the user with only the message to read, and
// a file manager's double-click on a moved file would seem to do nothing.
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

TEST(MainFrame, LoadsDialogRefusesADecimalCommaOrLettersNamingTheFieldAndStaysOpen) {
    for (const char* typed : {"1,5", "12abc"}) {
        DesktopFixture f;
        enterLoad(f, typed, "30");
        ASSERT_EQ(f.user.messages.size(), 1u);
        EXPECT_EQ(f.user.messages[0].text, "X座標 m 1：数値を入力してください。");
        EXPECT_EQ(f.session.document.project.load(1).x, "");
        EXPECT_FALSE(f.session.document.modified);
    }
}

TEST(MainFrame, SlipCircleKhWithADecimalCommaIsRefusedAndTheDialogStaysOpen) {
    DesktopFixture f;
    bool openAfterOk = false;
    DesktopFixture::whenDialogShows([&openAfterOk](QDialog* dialog) {
        auto* search = qobject_cast<CircleSearchDialog*>(dialog);
        ASSERT_NE(search, nullptr);
        const QStringList texts = {"40", "14", "54", "28", "1", "1", "9", "1.4", "0.4"};
        for (int i = 0; i < texts.size(); ++i) search->field(std::size_t(i))->setText(texts[i]);
        search->field(15)->setText("0,15");
        buttonNamed(dialog, "OK")->click();
        openAfterOk = search->isVisible();
        search->field(15)->setText("0.15");
        buttonNamed(dialog, "OK")->click();
    });
    f.frame->action(command::kCircleSearch)->trigger();
    EXPECT_TRUE(openAfterOk);
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_EQ(f.user.messages[0].text, "地震時水平震度 Kh：数値を入力してください。");
    EXPECT_EQ(f.session.document.project.settings.line(settings_line::kKh), "0.15");
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

TEST(MainFrame, CalculationClosesByItselfAndWritesTheCommandLinesRecordsAndSettingsLine26) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    EXPECT_EQ(programSettingsLines(f.session.installation.settings)[25], "0");
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
    // Kept in memory until a settings dialog writes the file.
    EXPECT_EQ(programSettingsLines(f.session.installation.settings)[25], "1");
}

TEST(CalculationDialog, RunCaptionStandsAboveTheButtons) {
    test::ScriptedUser user;
    Project project;
    CalculationDialog dialog(project, "unused-results.tmp", {}, user);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QLabel* caption = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == "計算実行　") caption = label;
    }
    ASSERT_NE(caption, nullptr);
    const int captionBottom = caption->mapTo(&dialog, QPoint(0, caption->height())).y();
    for (QPushButton* button : {dialog.okButton(), dialog.cancelButton()}) {
        EXPECT_LE(captionBottom, button->mapTo(&dialog, QPoint(0, 0)).y());
    }
}

// The method chosen in the dialog decides what the notice and the explanation show; the
// records stay the ordinary method's.
TEST(MainFrame, ACalculationByBishopNoticesItsOwnCriticalCircleAndWritesTheSameRecords) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* calculation = qobject_cast<CalculationDialog*>(dialog);
        ASSERT_NE(calculation, nullptr);
        calculation->methodChoice()->setCurrentIndex(1);
        buttonNamed(dialog, "OK")->click();
    });
    f.frame->action(command::kCalculate)->trigger();
    EXPECT_EQ(test::readBytes(f.session.installation.resultsFile()),
              test::readBytes(DORVO_TEST_DATA_DIR "/embankment-records.golden"));
    EXPECT_NEAR(f.session.document.project.critical.radius, 16.6, 1e-9);
    QString shown;
    for (QLabel* label : f.frame->findChildren<QLabel*>()) {
        if (label->accessibleName() == "計算の注意") shown = label->text();
    }
    EXPECT_TRUE(shown.contains("簡易ビショップ法で探索: 中心 (46.00, 24.00) 半径 22.60"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("簡易ビショップ法 Fs = 1.275 (最小mα 0.294)"))
        << shown.toStdString();
    ASSERT_TRUE(f.session.pages.figure.contourMinima.has_value());  // the contours follow it
    EXPECT_EQ(f.session.pages.figure.contourMinima->size(), 225u);
    ASSERT_TRUE(f.session.pages.figure.methodCritical.has_value());  // and its critical circle
    EXPECT_EQ(f.session.pages.figure.methodCritical->circle.centreY, 24.0);
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        QString totals;
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->accessibleName() == "合計") totals = label->text();
        }
        EXPECT_TRUE(totals.contains("中心 (46.00, 24.00)  半径 22.60")) << totals.toStdString();
        dialog->reject();
    });
    f.frame->action(command::kExplain)->trigger();
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
    EXPECT_TRUE(shown.contains("簡易ビショップ法 Fs = 1.331 (最小mα 0.134)"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("最小mα = 0.134 (0.2未満)")) << shown.toStdString();
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

TEST(MainFrame, RerunWithFewerResultPagesReturnsToTheFirstPageAndBishopFsTakesTheRecordsDecimals) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    f.session.installation.settings.fsDecimals = 4;
    f.frame->action(command::kShowResults)->trigger();
    f.session.pages.view.currentPage = 500;  // as after a larger run
    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "OK")->click(); });
    f.frame->action(command::kCalculate)->trigger();
    const int pageShown = f.session.pages.view.currentPage;  // before anything counts pages
    ASSERT_LT(f.frame->view()->pageCount(), 500);
    EXPECT_EQ(pageShown, 1);  // as a key past the last page does
    QString shown;
    for (QLabel* label : f.frame->findChildren<QLabel*>()) {
        if (label->accessibleName() == "計算の注意") shown = label->text();
    }
    EXPECT_TRUE(QRegularExpression("簡易ビショップ法 Fs = 1\\.33\\d\\d \\(最小mα 0\\.134\\)")
                    .match(shown)
                    .hasMatch())
        << shown.toStdString();
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

/// The example's section and grid under a figure window that was never set.
fs::path exampleWithoutWindow(DesktopFixture& f) {
    std::string bytes = test::readBytes(f.exampleCopy());
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != bytes.npos;
         start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    // "$$_DORVO301", "$$Z", then settings line n at index n + 1.
    for (int line = settings_line::kScaleX; line <= settings_line::kPageDepthM; ++line) {
        lines.at(std::size_t(line + 1)).clear();
    }
    std::string unsetBytes;
    for (const std::string& line : lines) unsetBytes += line + "\r\n";
    const fs::path unset = f.folder.path() / "unset.slw";
    test::writeBytes(unset, unsetBytes);
    return unset;
}

TEST(MainFrame, FitToSectionFramesSectionAndGridAsOneUndoStepAndAnUnsetWindowStartsFitted) {
    DesktopFixture f;
    const fs::path unset = exampleWithoutWindow(f);
    ASSERT_TRUE(f.frame->openProject(unset));
    const FigureWindow shown = f.session.window;  // fitted for the view only
    EXPECT_GE(shown.figureTopY, 28.0);            // the grid's top
    EXPECT_LE(shown.figureTopY - shown.pageDepthM, 6.0);
    EXPECT_LE(shown.figureLeftX, 0);
    EXPECT_GE(shown.figureLeftX + shown.pageWidthM, 100);
    EXPECT_EQ(f.session.document.project.settings.line(settings_line::kScaleX), "");
    EXPECT_FALSE(f.session.document.modified);

    f.frame->action(command::kFitSection)->trigger();
    const ProjectSettings& lines = f.session.document.project.settings;
    EXPECT_EQ(lines.line(settings_line::kScaleX), std::to_string(shown.scaleX));
    EXPECT_EQ(lines.line(settings_line::kScaleY), std::to_string(shown.scaleX));
    EXPECT_TRUE(f.session.document.modified);
    f.frame->action(command::kUndo)->trigger();
    EXPECT_EQ(f.session.document.project.settings.line(settings_line::kScaleX), "");
}

TEST(MainFrame, GuideNamesEveryMenuCommandAndItsListLinesUpInAFixedPitchFace) {
    DesktopFixture f;
    const std::string guide = test::readBytes(DORVO_HELP_SOURCE_DIR "/Help.utf8.txt");
    for (QAction* menu : f.frame->menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator()) continue;
            const std::string caption = item->text().toStdString();
            EXPECT_NE(guide.find(caption), std::string::npos) << caption;
        }
    }
    HelpDialog dialog(DORVO_HELP_SOURCE_DIR "/Help.txt", f.user);
    EXPECT_GT(dialog.list()->count(), 100);
    // The guide's columns line up when a full-width character is two half-width ones.
    const QFontMetrics metrics(dialog.list()->font());
    EXPECT_EQ(metrics.horizontalAdvance("i"), metrics.horizontalAdvance("M"));
    EXPECT_EQ(metrics.horizontalAdvance("層"), 2 * metrics.horizontalAdvance("M"));
}

/// The sketches a dialog shows, by their descriptions, each drawn from its picture.
QStringList sketchesOf(QWidget& dialog) {
    QStringList drawn;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) drawn << label->accessibleName();
    }
    return drawn;
}

TEST(MainFrame, SlipCircleFormulasAndGuideDialogsShowTheirSketches) {
    DesktopFixture f;
    CircleSearchDialog search({},
                              [](const CircleSearchTexts&, int) { return CircleSearchStep::Done; });
    EXPECT_EQ(sketchesOf(search), QStringList{"中心点より上の白い部分を除くすべり円"});
    FormulaDialog formulas(f.folder.path() / "HelpCalc.html", f.user);
    EXPECT_EQ(sketchesOf(formulas).size(), 3);
    HelpDialog guide(DORVO_HELP_SOURCE_DIR "/Help.txt", f.user);
    EXPECT_EQ(sketchesOf(guide), QStringList{"ブロックと境界線の例"});
}

TEST(MainFrame, SetupFieldShowsTheWholePathOfTheFolder) {
    DesktopFixture f;
    const fs::path folder = "/home/engineer/projects/embankment-2026/stability/working-files";
    LocationDialog dialog(folder, f.session.installation.environment, f.user);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* field = dialog.folderField();
    EXPECT_GT(field->width(), field->fontMetrics().horizontalAdvance(field->text()));
}

TEST(MainFrame, MovedWorkingFolderGetsTheHelpFiles) {
    DesktopFixture f;
    const fs::path shipped = f.folder.path() / "shipped";
    fs::create_directories(shipped);
    test::writeBytes(shipped / "Help.txt", "guide\r\n");
    f.session.helpSources = {shipped};
    const fs::path moved = f.folder.path() / "moved";
    DesktopFixture::whenDialogShows([moved](QDialog* dialog) {
        auto* location = qobject_cast<LocationDialog*>(dialog);
        ASSERT_NE(location, nullptr);
        location->folderField()->setText(QString::fromStdString(moved.string()));
        buttonNamed(dialog, "OK")->click();
    });
    f.frame->action(command::kSetup)->trigger();
    ASSERT_EQ(f.session.installation.workFolder, moved);
    EXPECT_EQ(test::readBytes(moved / "Help.txt"), "guide\r\n");
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

TEST(MainFrame, GuideCopyGoesToAFolderOnlyThisUserMayEnterNotAFixedSharedName) {
    DesktopFixture f;
    const fs::path guide = f.session.installation.workFolder / "Help.txt";
    test::writeBytes(guide, "guide\r\n");
    const fs::path shared = fs::path(QDir::tempPath().toStdString());
    const fs::path oldName = shared / "dorvo-Help.txt";
    const fs::path victim = f.session.installation.workFolder / "victim";
    test::writeBytes(victim, "keep");
    fs::remove(oldName);
    fs::create_symlink(victim, oldName);
    openHelpFile(guide, f.user);
    ASSERT_EQ(f.user.opened.size(), 1u);
    const fs::path copy = f.user.opened[0];
    fs::remove(oldName);
    EXPECT_EQ(test::readBytes(victim), "keep");
    EXPECT_EQ(test::readBytes(copy), "guide\n");
    EXPECT_NE(copy.parent_path(), shared);
    EXPECT_EQ(fs::status(copy.parent_path()).permissions(), fs::perms::owner_all);
}

TEST(MainFrame, PrintToFileWritesTheWholePdfOrSaysWhyNot) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    const fs::path pdf = f.folder.path() / "printed.pdf";
    test::writeBytes(pdf, "old");
    ASSERT_TRUE(f.frame->printToFile(pdf, 1, 1));
    const std::string printed = test::readBytes(pdf);
    EXPECT_TRUE(printed.starts_with("%PDF"));
    EXPECT_NE(printed.find("%%EOF", printed.size() - 16), std::string::npos);
    EXPECT_TRUE(f.user.messages.empty());

    // A full disk: nothing is reported as printed.
    EXPECT_FALSE(f.frame->printToFile("/dev/full", 1, 1));
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_TRUE(f.user.messages[0].text.starts_with("印刷できませんでした\n"));
}

TEST(MainFrame, ExportsOntoTheOpenProjectAreRefusedAndTheProjectStays) {
    DesktopFixture f;
    const fs::path project = f.exampleCopy();
    ASSERT_TRUE(f.frame->openProject(project));
    const std::string before = test::readBytes(project);
    const fs::path alias = f.folder.path() / "alias.slw";
    fs::create_symlink(project, alias);
    EXPECT_FALSE(f.frame->printToFile(alias, 1, 1));
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_TRUE(f.user.messages[0].text.starts_with("開いているプロジェクトのファイルには"));

    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "OK")->click(); });
    f.frame->action(command::kCalculate)->trigger();
    f.user.messages.clear();
    f.user.files = {project};
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        buttonNamed(dialog, "CSVで保存")->click();
        dialog->accept();
    });
    f.frame->action(command::kExplain)->trigger();
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_TRUE(f.user.messages[0].text.starts_with("開いているプロジェクトのファイルには"));
    EXPECT_EQ(test::readBytes(project), before);
}

TEST(MainFrame, CriticalCircleElementsOfAProjectOpenedWithItsResults) {
    DesktopFixture f;
    const fs::path project = f.exampleCopy();
    ASSERT_TRUE(f.frame->openProject(project));
    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "OK")->click(); });
    f.frame->action(command::kCalculate)->trigger();
    f.frame->action(command::kSave)->trigger();
    ASSERT_FALSE(f.session.document.modified);
    f.frame.reset();  // the program ends and starts again on the saved project
    f.session.document = {};
    f.frame = std::make_unique<CMainFrame>(f.session);
    ASSERT_TRUE(f.frame->openProject(project));
    ASSERT_FALSE(f.session.document.project.critical.radius > 0.0);

    QString shownTitle;
    DesktopFixture::whenDialogShows([&](QDialog* dialog) {
        shownTitle = dialog->windowTitle();
        dialog->accept();
    });
    f.frame->action(command::kExplain)->trigger();
    EXPECT_EQ(shownTitle, "円の内訳");
    EXPECT_TRUE(f.user.messages.empty()) << f.user.messages.at(0).text;
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
