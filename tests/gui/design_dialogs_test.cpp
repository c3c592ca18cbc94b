// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/design_analyses.h"
#include "app/design_tables.h"
#include "app/probability_file.h"
#include "app/probability_report.h"
#include "calc/circle_search.h"
#include "calc/unrecorded_runs.h"
#include "gui/analysis_output.h"
#include "gui/back_analysis_dialog.h"
#include "gui/probability_dialog.h"
#include "gui/restraint_dialog.h"
#include "gui/sensitivity_dialog.h"
#include "gui_fixture.h"
#include "model/number_text.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;
using test::buttonNamed;
using test::DesktopFixture;

/// The example opened and calculated through the menu, as a user does.
void openCalculatedExample(DesktopFixture& f) {
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "OK")->click(); });
    f.frame->action(command::kCalculate)->trigger();
    ASSERT_GT(f.session.document.project.critical.radius, 0.0);
}

TEST(RestraintDialog, ShowsTheForcesOfTheRecordsForTheTypedFspAndRefusesAFieldThatIsNoNumber) {
    DesktopFixture f;
    openCalculatedExample(f);
    std::vector<std::optional<RestraintMark>> marks;
    RestraintDialog dialog(f.session,
                           [&](std::optional<RestraintMark> mark) { marks.push_back(mark); });
    ASSERT_TRUE(dialog.force().has_value());
    EXPECT_EQ(dialog.force()->plannedFs, 1.20);  // shown at once for the usual Fsp

    dialog.plannedFsField()->setText("1.5");
    dialog.calculateButton()->click();
    const auto expected = restraintForceOfResults(f.session.document.project,
                                                  f.session.installation.resultsFile(), 1.5);
    ASSERT_TRUE(expected.ok());
    ASSERT_TRUE(expected->governing.has_value());
    ASSERT_TRUE(dialog.force()->governing.has_value());
    EXPECT_EQ(dialog.force()->governing->force, expected->governing->force);
    const QString summary = dialog.output()->summary()->text();
    EXPECT_TRUE(summary.contains(
        QString::fromStdString(formatC("P %.2f kN/m", expected->governing->force))))
        << summary.toStdString();
    EXPECT_EQ(dialog.output()->table()->rowCount(), int(expected->centreMaxima.size()));

    dialog.drawButton()->click();
    ASSERT_EQ(marks.size(), 1u);
    ASSERT_TRUE(marks[0].has_value());
    EXPECT_EQ(marks[0]->force, expected->governing->force);
    EXPECT_EQ(marks[0]->plannedFs, 1.5);

    dialog.plannedFsField()->setText("1,5");
    dialog.calculateButton()->click();
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_NE(f.user.messages[0].text.find("計画安全率 Fsp"), std::string::npos);
    EXPECT_EQ(dialog.force()->plannedFs, 1.5);  // the last result stays

    const fs::path csv = f.folder.path() / "restraint.csv";
    f.user.files.push_back(csv);
    dialog.output()->saveButton()->click();
    EXPECT_EQ(test::readBytes(csv).substr(0, 12), "Rx,Ry,R,Fs,M");
}

TEST(RestraintCommand, IsDisabledUntilACalculationAndItsMarkGoesWithTheProject) {
    DesktopFixture f;
    QAction* restraint = f.frame->action(command::kRestraint);
    for (int id : {command::kRestraint, command::kBackAnalysis, command::kSensitivity,
                   command::kProbability}) {
        EXPECT_FALSE(f.frame->action(id)->isEnabled()) << id;
    }
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    EXPECT_FALSE(restraint->isEnabled());
    EXPECT_FALSE(f.frame->action(command::kBackAnalysis)->isEnabled());
    EXPECT_TRUE(f.frame->action(command::kSensitivity)->isEnabled());
    EXPECT_TRUE(f.frame->action(command::kProbability)->isEnabled());
    openCalculatedExample(f);
    EXPECT_TRUE(restraint->isEnabled());
    EXPECT_TRUE(f.frame->action(command::kBackAnalysis)->isEnabled());

    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        buttonNamed(dialog, "図に描く")->click();
        buttonNamed(dialog, "閉じる")->click();
    });
    restraint->trigger();
    ASSERT_TRUE(f.session.pages.figure.restraint.has_value());
    EXPECT_EQ(f.session.pages.figure.restraint->plannedFs, 1.20);
    EXPECT_EQ(f.session.pages.view.page, ViewPage::Figure);

    f.user.saveAnswers.push_back(SaveAnswer::Discard);
    f.frame->action(command::kNew)->trigger();
    EXPECT_FALSE(f.session.pages.figure.restraint.has_value());
    EXPECT_FALSE(restraint->isEnabled());
}

TEST(BackAnalysisDialog, StartsOnTheCriticalCircleAndGivesALineThatReachesFs0) {
    DesktopFixture f;
    openCalculatedExample(f);
    std::optional<Project> applied;
    BackAnalysisDialog dialog(f.session, [&](const Project& changed) { applied = changed; });
    EXPECT_EQ(dialog.field("中心 X")->text(), "47.00");
    EXPECT_EQ(dialog.field("中心 Y")->text(), "18.00");
    EXPECT_EQ(dialog.field("半径 R")->text(), "16.60");
    dialog.field("層No.")->setText("3");
    dialog.field("現在の安全率 Fs0")->setText("1.05");
    dialog.calculateButton()->click();
    ASSERT_TRUE(dialog.analysis().has_value());
    const BackAnalysis& line = *dialog.analysis();
    ASSERT_EQ(line.status, BackAnalysisStatus::Found);
    EXPECT_EQ(dialog.output()->table()->rowCount(), 10);  // φ = 0°, 5°, … 45°

    // Two pairs of the line, put into the section, give the circle Fs0.
    const auto section = prepareSection(f.session.document.project);
    ASSERT_TRUE(section.ok());
    for (double phi : {0.0, 10.0}) {
        const auto fs = evaluateUnrecorded(withLayerStrength(*section, 3, line.coAt(phi), phi),
                                           47.0, 18.0, 16.6);
        ASSERT_TRUE(fs.has_value());
        EXPECT_NEAR(fs->fs, 1.05, 1e-4) << "phi " << phi;
    }

    dialog.field("適用する φ")->setText("30");  // Co would be negative
    dialog.applyButton()->click();
    EXPECT_FALSE(applied.has_value());
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_NE(f.user.messages[0].text.find("Co が負"), std::string::npos);

    dialog.field("適用する φ")->setText("10");
    dialog.applyButton()->click();
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(applied->layer(3).phi, "10");
    EXPECT_EQ(readReal(applied->layer(3).co), line.coAt(10.0));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(BackAnalysisDialog, SaysWhenTheLayerDecidesLittleOrIsMissingAndFindsACircleFromItsEnds) {
    DesktopFixture f;
    openCalculatedExample(f);
    BackAnalysisDialog dialog(f.session, [](const Project&) { FAIL() << "nothing applied"; });
    dialog.field("層No.")->setText("1");  // 3 % of the resisting moment
    dialog.calculateButton()->click();
    EXPECT_TRUE(dialog.output()->summary()->text().contains("10 % 未満"));
    EXPECT_TRUE(dialog.applyButton()->isEnabled());

    dialog.field("層No.")->setText("9");
    dialog.calculateButton()->click();
    EXPECT_EQ(dialog.output()->summary()->text(), "この層No.の層データがありません");
    EXPECT_EQ(dialog.output()->table()->rowCount(), 0);
    EXPECT_FALSE(dialog.applyButton()->isEnabled());
    EXPECT_FALSE(dialog.output()->saveButton()->isEnabled());

    for (const auto& [name, text] : {std::pair{"端点1 X", "30"},
                                     {"端点1 Y", "14"},
                                     {"端点2 X", "60"},
                                     {"端点2 Y", "4"},
                                     {"深さ", "3"}}) {
        dialog.field(QString::fromUtf8(name))->setText(QString::fromUtf8(text));
    }
    dialog.endsButton()->click();
    const auto expected = circleThroughEnds(30, 14, 60, 4, 3);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(dialog.field("半径 R")->text(), QString::fromStdString(formatC("%.2f", expected->r)));
    EXPECT_TRUE(f.user.messages.empty());
}

TEST(BackAnalysisCommand, AppliesThePairAsOneUndoStepAndCalculatesAgain) {
    DesktopFixture f;
    openCalculatedExample(f);
    const Project before = f.session.document.project;
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* back = qobject_cast<BackAnalysisDialog*>(dialog);
        ASSERT_NE(back, nullptr);
        back->field("層No.")->setText("3");
        back->calculateButton()->click();
        back->field("適用する φ")->setText("5");
        DesktopFixture::whenDialogShows(
            [](QDialog* calculation) { buttonNamed(calculation, "OK")->click(); });
        back->applyButton()->click();
    });
    f.frame->action(command::kBackAnalysis)->trigger();
    EXPECT_EQ(f.session.document.project.layer(3).phi, "5");
    EXPECT_NE(f.session.document.project.critical.centreX, 0.0);  // calculated again
    ASSERT_TRUE(f.session.canUndo());
    f.frame->action(command::kUndo)->trigger();
    EXPECT_EQ(f.session.document.project.layers, before.layers);
}

TEST(SensitivityDialog, RunsOffTheWindowsThreadAndShowsEveryParameterBySwing) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    SensitivityDialog dialog(f.session);
    dialog.lowerField()->setText("-20");
    dialog.upperField()->setText("5");
    dialog.runButton()->click();
    EXPECT_TRUE(dialog.running());
    EXPECT_FALSE(dialog.runButton()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 60000);
    ASSERT_TRUE(dialog.sensitivity().has_value());
    EXPECT_TRUE(dialog.sensitivity()->completed);

    const Project& project = f.session.document.project;
    const auto search = validCircleSearch(project.circleSearch);
    const Sensitivity direct = analyseSensitivity(project, *search, {-20.0, 5.0}, {});
    EXPECT_EQ(dialog.output()->table()->rowCount(), int(direct.rows.size()));
    const auto expected = sensitivityTable(direct, project);
    for (int row = 0; row < dialog.output()->table()->rowCount(); ++row) {
        for (int column : {0, 3, 6}) {
            EXPECT_EQ(dialog.output()->table()->item(row, column)->text().toStdString(),
                      expected[std::size_t(row) + 1][std::size_t(column)]);
        }
    }
}

TEST(SensitivityDialog, StopKeepsTheParametersDoneAndCloseStopsARun) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    SensitivityDialog dialog(f.session);
    dialog.runButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.monitor()->bar()->value() > 0, 60000);
    dialog.monitor()->stopButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 60000);
    ASSERT_TRUE(dialog.sensitivity().has_value());
    EXPECT_FALSE(dialog.sensitivity()->completed);
    EXPECT_TRUE(dialog.output()->summary()->text().contains("中止"));
    EXPECT_EQ(dialog.output()->table()->rowCount(), int(dialog.sensitivity()->rows.size()));

    dialog.lowerField()->setText("-5%");
    dialog.runButton()->click();
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_NE(f.user.messages[0].text.find("下限 %"), std::string::npos);
    EXPECT_FALSE(dialog.running());

    dialog.lowerField()->setText("-5");
    dialog.runButton()->click();
    EXPECT_TRUE(dialog.running());
    dialog.reject();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 60000);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

/// The example opened beside the inputs of its probabilistic analysis.
void openExampleWithProbability(DesktopFixture& f) {
    const fs::path project = f.exampleCopy();
    fs::copy_file(DORVO_EXAMPLES_DIR "/embankment.prob.json", probabilitySpecPath(project));
    ASSERT_TRUE(f.frame->openProject(project));
}

TEST(ProbabilityDialog, StartsFromTheSideFileAndShowsTheStatisticsOfTheRun) {
    DesktopFixture f;
    openExampleWithProbability(f);
    ProbabilityDialog dialog(f.session, [](std::vector<CriticalCircle>) {});
    EXPECT_EQ(dialog.realisationsField()->text(), "10000");
    EXPECT_EQ(dialog.seedField()->text(), "20261208");
    EXPECT_EQ(dialog.samplingChoice()->currentIndex(), 1);
    dialog.realisationsField()->setText("400");
    dialog.runButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 60000);
    ASSERT_EQ(dialog.realisations().size(), 400u);

    auto spec = readProbabilitySpec(probabilitySpecPath(f.session.document.pathName));
    ASSERT_TRUE(spec.ok());
    spec.value().realisations = 400;
    const auto analysis = prepareProbabilityAnalysis(f.session.document.project, *spec, 0, {});
    ASSERT_TRUE(analysis.ok());
    const ProbabilitySummary expected =
        summariseRealisations(runRealisations(analysis->model, {}).realisations);
    const QString shown = dialog.output()->summary()->text();
    EXPECT_TRUE(shown.contains(QString::fromStdString(formatC("平均 %.3f", expected.mean))))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(
        QString::fromStdString(formatC("P(Fs < 1) %.4f", expected.probabilityOfFailure))));
    EXPECT_EQ(dialog.output()->table()->rowCount(), int(expected.histogram.counts.size()));
    EXPECT_FALSE(f.session.document.probabilityInputs.has_value());  // nothing kept yet

    const fs::path json = f.folder.path() / "result.json";
    f.user.files.push_back(json);
    dialog.saveJsonButton()->click();
    const std::string saved = test::readBytes(json);
    const std::string direct = probabilityResultJson(*analysis, "embankment.slw",
                                                     runRealisations(analysis->model, {}), 0.0);
    const auto withoutTiming = [](const std::string& text) {
        return text.substr(0, text.find("\"timing\""));
    };
    EXPECT_EQ(withoutTiming(saved), withoutTiming(direct));
    EXPECT_NE(saved.find("\"timing\""), std::string::npos);
}

TEST(ProbabilityDialog, StopKeepsTheRealisationsDoneAndAFailedPreparationIsShown) {
    DesktopFixture f;
    openExampleWithProbability(f);
    ProbabilityDialog dialog(f.session, [](std::vector<CriticalCircle>) {});
    dialog.realisationsField()->setText("100000");
    dialog.modeChoice()->setCurrentIndex(1);  // a search each: far longer than the test
    dialog.runButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.monitor()->bar()->value() > 0, 60000);
    dialog.monitor()->stopButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 60000);
    EXPECT_GT(dialog.realisations().size(), 0u);
    EXPECT_LT(dialog.realisations().size(), 100'000u);
    EXPECT_TRUE(dialog.output()->summary()->text().contains("中止: 100000 回のうち"));

    dialog.realisationsField()->setText("10");
    dialog.uncertaintiesText()->setPlainText(
        R"({"parameters": [{"layer": 7, "property": "co", "sd": 1}]})");
    dialog.runButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 60000);
    EXPECT_TRUE(dialog.output()->summary()->text().contains("parameters[0].layer"))
        << dialog.output()->summary()->text().toStdString();
}

TEST(ProbabilityDialog, OkKeepsTheInputsToBeSavedWithTheProjectAndCancelForgetsThem) {
    DesktopFixture f;
    openExampleWithProbability(f);
    const fs::path side = probabilitySpecPath(f.session.document.pathName);
    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* probability = qobject_cast<ProbabilityDialog*>(dialog);
        ASSERT_NE(probability, nullptr);
        probability->realisationsField()->setText("x");
        buttonNamed(dialog, "OK")->click();  // refused: stays open
        probability->realisationsField()->setText("2500");
        probability->modeChoice()->setCurrentIndex(1);
        buttonNamed(dialog, "OK")->click();
    });
    f.frame->action(command::kProbability)->trigger();
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_NE(f.user.messages[0].text.find("回数 N"), std::string::npos);
    EXPECT_TRUE(f.session.document.modified);
    EXPECT_EQ(readProbabilitySpec(side)->realisations, 10000);  // not before the save

    DesktopFixture::whenDialogShows([](QDialog* dialog) {
        auto* probability = qobject_cast<ProbabilityDialog*>(dialog);
        EXPECT_EQ(probability->realisationsField()->text(), "2500");
        probability->realisationsField()->setText("7");
        buttonNamed(dialog, "ｷｬﾝｾﾙ")->click();
    });
    f.frame->action(command::kProbability)->trigger();

    f.frame->action(command::kSave)->trigger();
    const auto saved = readProbabilitySpec(side);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved->realisations, 2500);
    EXPECT_EQ(saved->mode, ProbabilityMode::FullSearch);
    EXPECT_EQ(saved->parameters.size(), 5u);
}

TEST(ProbabilityDialog, DrawsTheCriticalCirclesOfTheFailingRealisationsOnTheFigure) {
    DesktopFixture f;
    openExampleWithProbability(f);
    std::vector<CriticalCircle> drawn;
    ProbabilityDialog dialog(f.session, [&](std::vector<CriticalCircle> c) { drawn = c; });
    dialog.realisationsField()->setText("12");
    dialog.modeChoice()->setCurrentIndex(1);
    dialog.runButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 60000);
    ASSERT_TRUE(dialog.drawButton()->isEnabled());
    dialog.drawButton()->click();
    EXPECT_EQ(drawn.size(), failingCircles(dialog.realisations()).size());
    EXPECT_FALSE(drawn.empty());
}

}  // namespace
}  // namespace dorvo
