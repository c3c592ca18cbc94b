// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/document.h"

#include "app/probability_editing.h"
#include "app/probability_file.h"
#include "app/save_prompt.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <deque>
#include <fstream>

#include "editors/scripted_question.h"
#include "model/atomic_write.h"
#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

/// Answers the file dialogs from a queue and remembers where they started.
class ScriptedChooser : public FileChooser {
  public:
    std::optional<fs::path> chooseFileToOpen(const fs::path& startFolder) override {
        openStartedIn.push_back(startFolder);
        return next();
    }
    std::optional<fs::path> chooseFileToSave(const fs::path& currentPath) override {
        saveStartedWith.push_back(currentPath);
        return next();
    }

    std::deque<std::optional<fs::path>> answers;
    std::vector<fs::path> openStartedIn;
    std::vector<fs::path> saveStartedWith;

  private:
    std::optional<fs::path> next() {
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class DocumentTest : public ::testing::Test {
  protected:
    DocumentTest() {
        installation.environment = {folder.path() / "config", folder.path() / "data",
                                    folder.path()};
        setUpWorkingFiles(installation, document.project, Reload::No, messages);
        document.project.block(1).x = "10";
        document.project.block(1).lines = "0,0,1";
    }

    FileCommandContext context() { return {installation, chooser, messages}; }
    fs::path file(std::string_view name) { return folder.path() / name; }

    test::TempFolder folder;
    Installation installation;
    Document document;
    ScriptedChooser chooser;
    test::MemoryMessageSink messages;
};

TEST(CompleteSavePath, ExtensionRules) {
    EXPECT_EQ(completeSavePath("/d/abc"), fs::path("/d/abc.slw"));
    EXPECT_EQ(completeSavePath("/d/abc."), fs::path("/d/abc.slw"));
    EXPECT_EQ(completeSavePath("/d/ABC.SLW"), fs::path("/d/ABC.SLW"));
    EXPECT_EQ(completeSavePath("/d/abc.txt"), std::nullopt);
    EXPECT_EQ(completeSavePath("/d.x/abc"), fs::path("/d.x/abc.slw"));
}

TEST_F(DocumentTest, SaveAsWithAnotherExtensionShowsTheMessageAndWritesNothing) {
    chooser.answers.push_back(file("abc.txt"));
    EXPECT_FALSE(saveAsCommand(document, context()));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "標準の拡張子ではありません");
    EXPECT_FALSE(fs::exists(file("abc.txt")));
    EXPECT_FALSE(fs::exists(file("abc.txt.slw")));
}

TEST_F(DocumentTest, SaveAsAddsTheStandardExtension) {
    chooser.answers.push_back(file("abc"));
    EXPECT_TRUE(saveAsCommand(document, context()));
    EXPECT_TRUE(fs::exists(file("abc.slw")));
    EXPECT_EQ(document.pathName, file("abc.slw"));
    EXPECT_EQ(document.title(), "abc.slw");
}

TEST_F(DocumentTest, SaveOfATitleWithTwoDotsAsksForANewName) {
    document.pathName = file("a.b.slw");
    chooser.answers.push_back(file("c.slw"));
    EXPECT_TRUE(saveCommand(document, context()));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].id, MessageId::NotStandardExtension);
    EXPECT_EQ(chooser.saveStartedWith.front(), file("a.b.slw"));
    EXPECT_FALSE(fs::exists(file("a.b.slw")));
    EXPECT_TRUE(fs::exists(file("c.slw")));
}

TEST_F(DocumentTest, NewDocumentIsUntitledAndSaveAsksForAName) {
    newDocument(document, context());
    EXPECT_EQ(document.title(), "無題");
    EXPECT_EQ(blockCount(document.project), 0);
    EXPECT_EQ(document.project.settings.line(18), "1");
    EXPECT_FALSE(saveCommand(document, context()));  // the chooser answers Cancel
    EXPECT_EQ(chooser.saveStartedWith.size(), 1u);
}

TEST_F(DocumentTest, SaveWritesTheTablesAndTheResultsWorkingFile) {
    test::writeBytes(installation.resultsFile(), "$$CSV\r\n801,x\r\n$$END\r\n");
    document.pathName = file("p.slw");
    ASSERT_TRUE(saveCommand(document, context()));
    std::string saved = test::readBytes(file("p.slw"));
    EXPECT_EQ(saved.substr(0, 13), "$$_DORVO301\r\n");
    EXPECT_TRUE(saved.ends_with("\r\n$$CSV\r\n801,x\r\n$$END\r\n"));
}

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileAndReportsIt) {
    // A name so long that no temporary name beside it is allowed: the save fails before the
    // rename, and says why.
    const fs::path target = file(std::string(240, 'o') + ".slw");
    test::writeBytes(target, "previous contents\r\n");
    document.pathName = target;
    EXPECT_FALSE(saveCommand(document, context()));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].id, MessageId::CouldNotSave);
    EXPECT_TRUE(messages.messages[0].text.starts_with("保存できませんでした\n"));
    EXPECT_NE(messages.messages[0].text.find(target.string()), std::string::npos);
    EXPECT_EQ(test::readBytes(target), "previous contents\r\n");
}

TEST_F(DocumentTest, SaveOverAFileAnotherProgramChangedAsksFirstAndNoKeepsBoth) {
    test::ScriptedQuestion question;
    FileCommandContext asking = context();
    asking.questions = &question;
    document.pathName = file("p.slw");
    ASSERT_TRUE(saveCommand(document, asking));
    ASSERT_TRUE(saveCommand(document, asking));  // its own save changes nothing to ask about
    EXPECT_TRUE(question.asked.empty());

    auto saveByAnotherProgram = [](const fs::path& target) {
        ASSERT_TRUE(writeFileAtomically(
            target, [](std::ostream& out) { return static_cast<bool>(out << "theirs"); }));
    };
    saveByAnotherProgram(file("p.slw"));
    question.answers = {false};
    chooser.answers.push_back(file("mine.slw"));
    ASSERT_TRUE(saveCommand(document, asking));
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_NE(question.asked[0].text.find("p.slw は開いた後で他のプログラムが変更しました"),
              std::string::npos);
    EXPECT_EQ(test::readBytes(file("p.slw")), "theirs");
    EXPECT_EQ(document.pathName, file("mine.slw"));
    EXPECT_TRUE(test::readBytes(file("mine.slw")).starts_with("$$_DORVO301"));

    saveByAnotherProgram(file("mine.slw"));
    question.answers = {true};
    ASSERT_TRUE(saveCommand(document, asking));
    EXPECT_EQ(question.asked.size(), 2u);
    EXPECT_TRUE(test::readBytes(file("mine.slw")).starts_with("$$_DORVO301"));
}

TEST_F(DocumentTest, SaveIntoAMissingFolderFails) {
    chooser.answers.push_back(file("missing/x.slw"));
    EXPECT_FALSE(saveAsCommand(document, context()));
    EXPECT_EQ(messages.messages.at(0).id, MessageId::CouldNotSave);
    EXPECT_NE(document.pathName, file("missing/x.slw"));
}

TEST_F(DocumentTest, OpenStartsInTheLastFolderAndRemembersTheNewOne) {
    fs::create_directories(file("projects"));
    test::writeBytes(file("projects/p.slw"), "$$_DORVO301\r\n$$B\r\n5,1,1,1\r\n$$CSV\r\n$$END\r\n");
    test::writeBytes(installation.lastFolderFile(), "/somewhere\r\nkeep me\r\n");
    chooser.answers.push_back(file("projects/p.slw"));
    EXPECT_TRUE(openCommand(document, context()));
    EXPECT_EQ(chooser.openStartedIn.front(), fs::path("/somewhere"));
    EXPECT_EQ(test::readBytes(installation.lastFolderFile()),
              file("projects").string() + "\r\nkeep me\r\n");
    EXPECT_EQ(document.project.block(1).x, "5");
    EXPECT_EQ(document.pathName, file("projects/p.slw"));
    EXPECT_EQ(test::readBytes(installation.resultsFile()), "$$CSV\r\n$$END\r\n");
}

TEST_F(DocumentTest, OpenOfAnUnreadableFileSaysSoAndChangesNothing) {
    document.pathName = file("current.slw");
    chooser.answers.push_back(file("nope.slw"));
    EXPECT_FALSE(openCommand(document, context()));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].id, MessageId::FileNotFound);
    EXPECT_NE(messages.messages[0].text.find(file("nope.slw").string()), std::string::npos);
    EXPECT_EQ(document.project.block(1).x, "10");
    EXPECT_EQ(document.pathName, file("current.slw"));
}

TEST_F(DocumentTest, OpenOfAFileThatIsNoProjectSaysSoAndKeepsTheProjectAndItsResults) {
    document.pathName = file("current.slw");
    test::writeBytes(installation.resultsFile(), "$$CSV\r\n$$END\r\n");
    test::writeBytes(file("empty.slw"), "");
    test::writeBytes(file("picture.slw"), "\x89PNG\r\n\x1a\n");
    for (const char* name : {"empty.slw", "picture.slw"}) {
        messages.messages.clear();
        chooser.answers.push_back(file(name));
        EXPECT_FALSE(openCommand(document, context()));
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text,
                  "プロジェクトファイルではありません\n( " + file(name).string() + " )");
        EXPECT_EQ(document.project.block(1).x, "10");
        EXPECT_EQ(document.pathName, file("current.slw"));
        EXPECT_EQ(test::readBytes(installation.resultsFile()), "$$CSV\r\n$$END\r\n");
    }
}

TEST_F(DocumentTest, ResultsFileThatCannotBeCreatedStopsTheLoadAndKeepsTheProject) {
    test::writeBytes(file("p.slw"), "$$B\r\n5,1,1,1\r\n");
    fs::create_directory(installation.resultsFile());  // a folder where the file should be
    document.pathName = file("current.slw");

    for (OpenPath path : {OpenPath::Framework, OpenPath::OpenCommand}) {
        messages.messages.clear();
        EXPECT_FALSE(loadDocument(document, file("p.slw"), path, context()).ok());
        EXPECT_EQ(document.project.block(1).x, "10");
        EXPECT_EQ(document.pathName, file("current.slw"));
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, "一時作業用ファイルを作成できません\n( " +
                                                 installation.resultsFile().string() + " )");
    }
}

TEST_F(DocumentTest, OpenThatFailsWhileReadingKeepsTheProjectItsPathAndItsResults) {
    if (!fs::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc";
    document.pathName = file("current.slw");
    test::writeBytes(installation.resultsFile(), "$$CSV\r\n$$END\r\n");
    // /proc/self/mem opens, then fails on the first read as a damaged disk does.
    chooser.answers.push_back(fs::path("/proc/self/mem"));
    EXPECT_FALSE(openCommand(document, context()));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(document.pathName, file("current.slw"));
    EXPECT_EQ(test::readBytes(installation.resultsFile()), "$$CSV\r\n$$END\r\n");
    ASSERT_TRUE(saveCommand(document, context()));
    EXPECT_NE(test::readBytes(file("current.slw")).find("10,0,0,1"), std::string::npos);
}

TEST_F(DocumentTest, CommandLineFileBeforeAnySetUpLoadsIntoTheWorkingFolder) {
    Installation fresh;
    fresh.environment = installation.environment;
    test::writeBytes(file("p.slw"), "$$B\r\n5,1,1,1\r\n$$CSV\r\n$$END\r\n");
    Document opened;
    FileCommandContext freshContext{fresh, chooser, messages};
    ASSERT_TRUE(loadDocument(opened, file("p.slw"), OpenPath::Framework, freshContext).ok());
    EXPECT_TRUE(fresh.located);
    EXPECT_EQ(fresh.resultsFile().parent_path(), installation.workFolder);
    EXPECT_EQ(test::readBytes(fresh.resultsFile()), "$$CSV\r\n$$END\r\n");
    // The view's first set-up comes after the load and must keep those results.
    setUpWorkingFiles(fresh, opened.project, Reload::No, messages);
    EXPECT_EQ(test::readBytes(fresh.resultsFile()), "$$CSV\r\n$$END\r\n");
}

TEST_F(DocumentTest, UnstorableCellIsRefusedWithItsPlaceAndTheOldFileStays) {
    test::writeBytes(file("p.slw"), "old");
    document.pathName = file("p.slw");
    document.project.load(2).x = "1,5";
    EXPECT_FALSE(saveCommand(document, context()));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "集中荷重 2：カンマ（,）や引用符（\"）を含む値は保存できません");
    EXPECT_EQ(test::readBytes(file("p.slw")), "old");
}

TEST_F(DocumentTest, SavedProjectReopensIdentically) {
    document.project.settings.line(21) = "\x92\x66\x96\xca\x90\x7d";  // 断面図
    test::writeBytes(installation.resultsFile(), "$$CSV\r\n$$END\r\n");
    chooser.answers.push_back(file("first.slw"));
    ASSERT_TRUE(saveAsCommand(document, context()));
    Document reopened;
    ASSERT_TRUE(loadDocument(reopened, file("first.slw"), OpenPath::Framework, context()).ok());
    ASSERT_TRUE(
        messages.take(writeProjectFile(reopened, file("second.slw"), installation.resultsFile())));
    EXPECT_EQ(test::readBytes(file("first.slw")), test::readBytes(file("second.slw")));
}

// The probabilistic analysis's inputs live beside the project, so every save of the project
// takes the kept inputs along, also the save a close or an open asks for; New and a load
// forget them.
TEST_F(DocumentTest, KeptProbabilityInputsGoBesideEverySaveAndAreForgottenByNewAndLoad) {
    ProbabilitySpec spec;
    spec.realisations = 250;
    keepProbabilityInputs(document, spec);
    EXPECT_TRUE(document.modified);
    chooser.answers.push_back(file("slope"));
    ASSERT_TRUE(saveAsCommand(document, context()));
    const auto side = readProbabilitySpec(file("slope.prob.json"));
    ASSERT_TRUE(side.ok());
    EXPECT_EQ(side->realisations, 250);

    spec.realisations = 300;
    keepProbabilityInputs(document, spec);
    struct SaysSave : SaveQuestion {
        SaveAnswer askToSave(const std::string&) override { return SaveAnswer::Save; }
    } question;
    ASSERT_TRUE(mayReplaceProject(document, question, context()));
    EXPECT_EQ(readProbabilitySpec(file("slope.prob.json"))->realisations, 300);

    ASSERT_TRUE(loadDocument(document, file("slope.slw"), OpenPath::OpenCommand, context()).ok());
    EXPECT_FALSE(document.probabilityInputs.has_value());
    EXPECT_EQ(startingProbabilitySpec(document)->realisations, 300);  // from the side file
    keepProbabilityInputs(document, spec);
    newDocument(document, context());
    EXPECT_FALSE(document.probabilityInputs.has_value());
    EXPECT_EQ(startingProbabilitySpec(document)->realisations, kDefaultRealisations);
}

// Save As takes the side file along even when the dialog never opened in this session.
TEST_F(DocumentTest, SaveAsTakesTheProbabilityInputsOfTheOldNameAlongByteForByte) {
    chooser.answers.push_back(file("first"));
    ASSERT_TRUE(saveAsCommand(document, context()));
    const std::string inputs = "{ \"realisations\": 400 }\r\n";
    std::ofstream(file("first.prob.json"), std::ios::binary) << inputs;
    ASSERT_TRUE(loadDocument(document, file("first.slw"), OpenPath::OpenCommand, context()).ok());
    chooser.answers.push_back(file("second"));
    ASSERT_TRUE(saveAsCommand(document, context()));
    EXPECT_EQ(test::readBytes(file("second.prob.json")), inputs);
    EXPECT_EQ(test::readBytes(file("first.prob.json")), inputs);
}

}  // namespace
}  // namespace dorvo
