// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/working_files.h"

#include <gtest/gtest.h>

#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

class WorkingFilesTest : public ::testing::Test {
  protected:
    WorkingFilesTest() {
        installation.environment = {folder.path() / "config", folder.path() / "data",
                                    folder.path() / "cwd"};
        fs::create_directories(installation.environment.currentDir);
    }

    void writeLocation(const fs::path& base, std::string_view line) {
        fs::create_directories(locationFilePath(base).parent_path());
        test::writeBytes(locationFilePath(base), line);
    }

    test::TempFolder folder;
    Installation installation;
    Project project;
    test::MemoryMessageSink messages;
};

TEST_F(WorkingFilesTest, FirstRunCreatesTheDefaultFolderWithRecommendedSettings) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    EXPECT_EQ(installation.workFolder, folder.path() / "data" / "Quenvar" / "Dorvo5");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(installation.settings.fsDecimals, 3);
    EXPECT_EQ(installation.settings.leftMarginMm, 25);
    EXPECT_EQ(installation.margins, defaultMarginsTable());
    EXPECT_DOUBLE_EQ(installation.fonts[0].sizePoints, 12.0);
    std::string sys = test::readBytes(installation.settingsFile());
    EXPECT_EQ(sys.substr(0, 5), "300\r\n");
    EXPECT_EQ(std::count(sys.begin(), sys.end(), '\n'), 71);
    EXPECT_EQ(test::readBytes(installation.fontFile(6)),
              "9.0\r\n\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9\r\n0\r\n0\r\n");
}

TEST_F(WorkingFilesTest, ExistingFolderWithoutFilesReportsTheMissingFiles) {
    fs::path work = folder.path() / "data" / "Quenvar" / "Dorvo5";
    fs::create_directories(work);
    setUpWorkingFiles(installation, project, Reload::No, messages);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].id, MessageId::FileNotFound);
    EXPECT_EQ(messages.messages[0].text,
              "ファイルが見つかりません\n( " + (work / "Sys.ndx").string() + " )");
    EXPECT_EQ(messages.messages[1].text,
              "ファイルが見つかりません\n( " + (work / "Font1.ndx").string() + " )");
    EXPECT_EQ(installation.settings.enterKeyOption, 0);
    EXPECT_EQ(installation.settings.scrollStepM, 5);
    EXPECT_EQ(installation.margins, defaultMarginsTable());
}

TEST_F(WorkingFilesTest, LocationFileOfTheConfigurationFolderWins) {
    writeLocation(installation.environment.configHome, (folder.path() / "mine").string() + "\r\n");
    writeLocation(installation.environment.currentDir,
                  (folder.path() / "cwd-loc").string() + "\r\n");
    setUpWorkingFiles(installation, project, Reload::No, messages);
    EXPECT_EQ(installation.workFolder, folder.path() / "mine");
    EXPECT_TRUE(fs::exists(folder.path() / "mine" / "Sys.ndx"));
}

TEST_F(WorkingFilesTest, TooShortLocationFallsBackToTheCurrentFolderThenTheDefault) {
    writeLocation(installation.environment.configHome, "/\r\n");
    writeLocation(installation.environment.currentDir, (folder.path() / "cwd-loc").string());
    EXPECT_EQ(findWorkFolder(installation.environment), folder.path() / "cwd-loc");
    writeLocation(installation.environment.currentDir, "relative/folder\r\n");
    EXPECT_EQ(findWorkFolder(installation.environment),
              defaultWorkFolder(installation.environment));
}

TEST_F(WorkingFilesTest, FirstSetUpDeletesThePreviousResultsAndAppliesPageDefaults) {
    fs::path work = defaultWorkFolder(installation.environment);
    fs::create_directories(work);
    test::writeBytes(work / "Tmp1.tmp", "$$CSV\r\n");
    project.settings.line(settings_line::kScaleX) = "-3";
    project.settings.line(settings_line::kFigureTopY) = "0.5";
    project.settings.line(settings_line::kPageDepthM) = "40";
    setUpWorkingFiles(installation, project, Reload::No, messages);
    EXPECT_FALSE(fs::exists(work / "Tmp1.tmp"));
    const FigureWindow window = figureWindowWithDefaults(project);
    EXPECT_EQ(window.scaleX, 500);
    EXPECT_EQ(window.scaleY, 500);
    EXPECT_DOUBLE_EQ(window.figureTopY, 100.0);
    EXPECT_EQ(window.pageWidthM, 85);
    EXPECT_EQ(window.pageDepthM, 40);
    EXPECT_EQ(project.settings.line(18), "1");
    EXPECT_EQ(project.settings.line(3), "-3");  // only the numbers get defaults

    test::writeBytes(work / "Tmp1.tmp", "$$CSV\r\n");
    setUpWorkingFiles(installation, project, Reload::No, messages);
    EXPECT_TRUE(fs::exists(work / "Tmp1.tmp"));  // later calls keep the results
}

TEST_F(WorkingFilesTest, SettingsAreReadOnceUntilAReload) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    std::vector<std::string> lines = programSettingsLines(installation.settings);
    lines[2] = "12";
    ASSERT_TRUE(writeLinesFile(installation.settingsFile(), lines));
    setUpWorkingFiles(installation, project, Reload::No, messages);
    EXPECT_EQ(installation.settings.scrollStepM, 5);
    project.settings.line(1) = "2";
    SetUpOutcome outcome = setUpWorkingFiles(installation, project, Reload::Yes, messages);
    EXPECT_EQ(installation.settings.scrollStepM, 12);
    EXPECT_EQ(outcome.viewPage, 2);
}

TEST_F(WorkingFilesTest, ChangingTheLocationWritesTheLocationFileAndSetsUpThere) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    fs::path moved = folder.path() / "moved";
    messages.take(changeInstallLocation(installation, project, moved.string(), messages));
    EXPECT_EQ(installation.workFolder, moved);
    EXPECT_EQ(test::readBytes(locationFilePath(installation.environment.configHome)),
              moved.string() + "\r\n");
    EXPECT_TRUE(fs::exists(moved / "Font3.ndx"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(WorkingFilesTest, ChangingTheLocationCarriesTheResultsOver) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    const fs::path before = installation.resultsFile();
    test::writeBytes(before, "$$CSV\r\n$$END\r\n");
    fs::path moved = folder.path() / "moved";
    messages.take(changeInstallLocation(installation, project, moved.string(), messages));
    EXPECT_EQ(installation.resultsFile(), moved / "Tmp1.tmp");
    EXPECT_EQ(test::readBytes(moved / "Tmp1.tmp"), "$$CSV\r\n$$END\r\n");
    EXPECT_FALSE(fs::exists(before));
}

TEST_F(WorkingFilesTest, TwoProgramsAtOnceEachKeepTheirOwnResultsFile) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    EXPECT_EQ(installation.resultsFile(), installation.workFolder / "Tmp1.tmp");
    test::writeBytes(installation.resultsFile(), "first\r\n");

    auto second = std::make_unique<Installation>();
    second->environment = installation.environment;
    Project secondProject;
    setUpWorkingFiles(*second, secondProject, Reload::No, messages);
    ASSERT_EQ(second->workFolder, installation.workFolder);
    EXPECT_EQ(second->resultsFile(), installation.workFolder / "Tmp1-2.tmp");
    // The second program's start deletes only its own leftovers, never the first's results.
    EXPECT_EQ(test::readBytes(installation.resultsFile()), "first\r\n");
    test::writeBytes(second->resultsFile(), "second\r\n");

    const fs::path secondResults = second->resultsFile();
    second.reset();  // the second program ends
    EXPECT_FALSE(fs::exists(secondResults));
    EXPECT_EQ(test::readBytes(installation.resultsFile()), "first\r\n");

    Installation third;
    third.environment = installation.environment;
    setUpWorkingFiles(third, secondProject, Reload::No, messages);
    EXPECT_EQ(third.resultsFile(), installation.workFolder / "Tmp1-2.tmp");
}

TEST_F(WorkingFilesTest, InvalidLocationIsRefusedAndChangesNothing) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    fs::path before = installation.workFolder;
    messages.take(changeInstallLocation(installation, project, "/", messages));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "ドライブ名が異常です");
    EXPECT_EQ(installation.workFolder, before);
}

TEST_F(WorkingFilesTest, LocationFileThatCannotBeWrittenIsReportedAndTheFolderUsedForThisRun) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    test::writeBytes(folder.path() / "file", "");
    installation.environment.configHome = folder.path() / "file" / "config";
    const fs::path moved = folder.path() / "moved";
    ASSERT_TRUE(
        messages.take(changeInstallLocation(installation, project, moved.string(), messages)));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "フォルダ名またはドライブ名が異常です");
    EXPECT_EQ(installation.workFolder, moved);
    EXPECT_TRUE(fs::exists(moved / "Font6.ndx"));
}

TEST_F(WorkingFilesTest, ResultsThatCannotBeCarriedOverFailAndKeepTheOldFolder) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    const fs::path before = installation.workFolder;
    test::writeBytes(installation.resultsFile(), "$$CSV\r\n$$END\r\n");
    const fs::path moved = folder.path() / "moved";
    fs::create_directories(moved / "Tmp1.tmp");  // a folder where the results would go
    const auto changed = changeInstallLocation(installation, project, moved.string(), messages);
    ASSERT_FALSE(changed);
    EXPECT_EQ(changed.error().text, cannotWriteMessage(moved / "Tmp1.tmp").text);
    EXPECT_EQ(installation.workFolder, before);
    EXPECT_EQ(test::readBytes(installation.resultsFile()), "$$CSV\r\n$$END\r\n");
}

TEST_F(WorkingFilesTest, ShortestStoredLocationIsFoundAgain) {
    const auto stored = messages.valueOf(storeInstallLocation("/a", installation.environment));
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->folder, fs::path("/a"));
    EXPECT_EQ(findWorkFolder(installation.environment), fs::path("/a"));
}

TEST_F(WorkingFilesTest, FolderFieldCompletion) {
    EXPECT_EQ(messages.valueOf(completeFolderField("Data")), "/Data");
    EXPECT_EQ(messages.valueOf(completeFolderField("/Data")), "/Data");
    EXPECT_TRUE(messages.messages.empty());
    messages.take(completeFolderField("D"));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "データがありません");
}

TEST_F(WorkingFilesTest, HeadingCandidatesAreAtMostThreeNonEmptyLines) {
    setUpWorkingFiles(installation, project, Reload::No, messages);
    EXPECT_TRUE(readHeadingCandidates(installation).empty());
    test::writeBytes(installation.headingCandidatesFile(),
                     "one\r\n\r\n" + std::string(250, 'x') + "\r\nfour\r\n");
    std::vector<std::string> candidates = readHeadingCandidates(installation);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], "one");
    EXPECT_EQ(candidates[1].size(), 200u);
}

}  // namespace
}  // namespace dorvo
