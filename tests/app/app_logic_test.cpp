// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's logic that needs no window: the slip-circle dialog's showings, the
// question before losing changes, the operating guide's lines and undo.
#include <gtest/gtest.h>

#include <deque>
#include <tuple>

#include "app/circle_search_editing.h"
#include "app/help_lines.h"
#include "app/project_history.h"
#include "app/save_prompt.h"
#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

CircleSearchTexts validTexts() {
    return {"40", "14", "54", "28", "1", "1", "9", "1.4", "0.4", "", "", "", "", "", "", "0.15"};
}

/// OK as the dialog runs it: its messages reported, nothing when the dialog stays open.
std::optional<CircleSearchStep> ok(Project& project, const CircleSearchTexts& typed, int showing,
                                   test::MemoryMessageSink& messages) {
    const auto stored = messages.valueOf(acceptCircleSearch(project, typed, showing));
    if (!stored) return std::nullopt;
    if (stored->problem) messages.report(*stored->problem);
    return stored->next;
}

TEST(CircleSearchEditing, ValidTextsAreStoredWithKhAndEndTheCommand) {
    Project project;
    test::MemoryMessageSink messages;
    EXPECT_EQ(ok(project, validTexts(), 1, messages), CircleSearchStep::Done);
    EXPECT_EQ(project.circleSearch.line(1), "40");
    EXPECT_EQ(project.settings.line(settings_line::kKh), "0.15");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(circleSearchTexts(project), validTexts());
}

TEST(CircleSearchEditing, InvalidTextsAreStoredAndOfferedAgainAtMostThreeTimes) {
    Project project;
    test::MemoryMessageSink messages;
    CircleSearchTexts texts = validTexts();
    texts[4] = "0";  // dX of 0
    EXPECT_EQ(ok(project, texts, 1, messages), CircleSearchStep::ShowAgain);
    EXPECT_EQ(project.circleSearch.line(5), "0");
    EXPECT_EQ(ok(project, texts, 2, messages), CircleSearchStep::ShowAgain);
    EXPECT_EQ(ok(project, texts, 3, messages), CircleSearchStep::Done);
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].text, "中心点のデータが不適当です");
}

TEST(CircleSearchEditing, TextTheFileCannotHoldKeepsTheDialogOpenAndStoresNothing) {
    Project project;
    test::MemoryMessageSink messages;
    CircleSearchTexts texts = validTexts();
    texts[0] = "4$$0";
    EXPECT_EQ(ok(project, texts, 1, messages), std::nullopt);
    EXPECT_EQ(project.circleSearch.line(1), "");
    ASSERT_EQ(messages.messages.size(), 1u);
}

TEST(CircleSearchEditing, DecimalCommaOrLettersInAnyFieldAreRefusedNamingItAndStoreNothing) {
    for (const auto& [field, typed, name] :
         {std::tuple{15u, "0,15", "地震時水平震度 Kh"}, std::tuple{0u, "40,5", "中心点 起点座標 X"},
          std::tuple{9u, "3m", "半径制限指定点 最小１ X"}}) {
        Project project;
        test::MemoryMessageSink messages;
        CircleSearchTexts texts = validTexts();
        texts[field] = typed;
        EXPECT_EQ(ok(project, texts, 1, messages), std::nullopt);
        EXPECT_EQ(project.settings.line(settings_line::kKh), "");
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, std::string(name) + "：数値を入力してください。");
    }
}

TEST(CircleSearchEditing, EmptyFieldsKeepTheirMeaningAndNumbersAreKeptAsTyped) {
    Project project;
    test::MemoryMessageSink messages;
    CircleSearchTexts texts = validTexts();
    texts[15] = "";     // no seismic load
    texts[6] = " +9 ";  // blanks and a sign are a number
    EXPECT_EQ(ok(project, texts, 1, messages), CircleSearchStep::Done);
    EXPECT_EQ(project.circleSearch.line(7), " +9 ");
    texts[1] = "";  // an empty centre field is "データがありません", as before
    EXPECT_EQ(ok(project, texts, 1, messages), CircleSearchStep::ShowAgain);
    EXPECT_EQ(messages.messages.back().text, "データがありません");
}

/// Answers the save question from a queue and counts the questions.
class ScriptedSaveAnswers : public SaveQuestion {
  public:
    SaveAnswer askToSave(const std::string&) override {
        ++asked;
        SaveAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<SaveAnswer> answers;
    int asked = 0;
};

class NoChooser : public FileChooser {
  public:
    std::optional<fs::path> chooseFileToOpen(const fs::path&) override { return std::nullopt; }
    std::optional<fs::path> chooseFileToSave(const fs::path&) override { return std::nullopt; }
};

TEST(SavePrompt, OnlyAModifiedProjectAsksAndEachAnswerDoesWhatItSays) {
    test::TempFolder folder;
    Installation installation;
    installation.workFolder = folder.path();
    installation.located = true;
    NoChooser chooser;
    test::MemoryMessageSink messages;
    const FileCommandContext context{installation, chooser, messages};
    Document document;
    document.pathName = folder.path() / "p.slw";
    ScriptedSaveAnswers question;

    EXPECT_TRUE(mayReplaceProject(document, question, context));
    EXPECT_EQ(question.asked, 0);

    document.modified = true;
    question.answers = {SaveAnswer::Cancel, SaveAnswer::Discard, SaveAnswer::Save};
    EXPECT_FALSE(mayReplaceProject(document, question, context));
    EXPECT_FALSE(fs::exists(document.pathName));
    EXPECT_TRUE(mayReplaceProject(document, question, context));
    EXPECT_FALSE(fs::exists(document.pathName));
    EXPECT_TRUE(mayReplaceProject(document, question, context));
    EXPECT_TRUE(fs::exists(document.pathName));
    EXPECT_FALSE(document.modified);
}

TEST(SavePrompt, SaveThatFailsOrIsCancelledStopsTheCommand) {
    test::TempFolder folder;
    Installation installation;
    installation.workFolder = folder.path();
    installation.located = true;
    NoChooser chooser;  // Save As is cancelled
    test::MemoryMessageSink messages;
    Document document;  // untitled: Save asks for a name
    document.modified = true;
    ScriptedSaveAnswers question;
    question.answers = {SaveAnswer::Save};
    EXPECT_FALSE(mayReplaceProject(document, question, {installation, chooser, messages}));
    EXPECT_TRUE(document.modified);
}

TEST(HelpLines, LongLinesAreCutAt199BytesNeverInsideADoubleByteCharacter) {
    std::string pairs = "a";
    for (int i = 0; i < 120; ++i) pairs += "\x82\xa0";  // あ × 120
    const std::vector<std::string> pieces = splitHelpLine(pairs);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].size(), 199u);  // "a" and 99 characters
    EXPECT_EQ(pieces[1].size(), 42u);
    EXPECT_EQ(pieces[0] + pieces[1], pairs);

    std::string even;
    for (int i = 0; i < 120; ++i) even += "\x82\xa0";
    EXPECT_EQ(splitHelpLine(even)[0].size(), 198u);  // 199 would split a character
    EXPECT_EQ(splitHelpLine(""), std::vector<std::string>{""});
}

TEST(HelpLines, MissingGuideIsNothingAndLinesLoseTheirLineEnds) {
    test::TempFolder folder;
    EXPECT_FALSE(readHelpEntries(folder.path() / "Help.txt").has_value());
    test::writeBytes(folder.path() / "Help.txt", "one\r\ntwo\r\n");
    EXPECT_EQ(*readHelpEntries(folder.path() / "Help.txt"),
              (std::vector<std::string>{"one", "two"}));
}

TEST(ProjectHistory, UndoAndRedoWalkTheDialogChanges) {
    ProjectHistory history;
    Project project;
    EXPECT_FALSE(history.canUndo());
    history.recordBefore(project);
    project.load(1).x = "5";
    project = history.undo(project);
    EXPECT_EQ(project.load(1).x, "");
    ASSERT_TRUE(history.canRedo());
    project = history.redo(project);
    EXPECT_EQ(project.load(1).x, "5");
    history.recordBefore(project);
    EXPECT_FALSE(history.canRedo());
}

}  // namespace
}  // namespace dorvo
