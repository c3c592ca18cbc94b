// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "gui/main_frame.h"
#include "support/temp_folder.h"

namespace dorvo::test {

/// Answers every question of the program from scripts and records every message, so that
/// nothing waits for a person.
class ScriptedUser : public UserInteraction {
  public:
    void report(const Message& message) override { messages.push_back(message); }
    /// Answers from `yesNoAnswers`, Yes when they have run out.
    bool askYesNo(const Message& question) override {
        questions.push_back(question);
        if (yesNoAnswers.empty()) return true;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    SaveAnswer askToSave(const std::string&) override {
        ++saveQuestions;
        if (saveAnswers.empty()) return SaveAnswer::Cancel;
        SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> chooseFileToOpen(const std::filesystem::path&) override {
        return next(files);
    }
    std::optional<std::filesystem::path> chooseFileToSave(const std::filesystem::path&) override {
        return next(files);
    }
    std::optional<std::filesystem::path> chooseExportFile(const std::filesystem::path&) override {
        return next(files);
    }
    bool openExternally(const std::filesystem::path& file) override {
        opened.push_back(file);
        return canOpen;
    }
    std::optional<QFont> chooseFont(const QFont&) override { return next(fonts); }
    std::optional<QColor> chooseColour(const QColor&) override { return next(colours); }

    std::vector<Message> messages;
    std::vector<Message> questions;
    std::deque<bool> yesNoAnswers;
    std::deque<SaveAnswer> saveAnswers;
    int saveQuestions = 0;
    std::deque<std::filesystem::path> files;
    std::vector<std::filesystem::path> opened;
    bool canOpen = true;
    std::deque<QFont> fonts;     // cancelled when empty
    std::deque<QColor> colours;  // cancelled when empty

  private:
    template <class T>
    static std::optional<T> next(std::deque<T>& answers) {
        if (answers.empty()) return std::nullopt;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

/// The button of a dialog that shows this text; nothing when there is none.
QPushButton* buttonNamed(QWidget* dialog, const QString& text);

/// Shows a dialog without its own loop and waits until it is the active window.
void showActive(QDialog& dialog);

/// The desktop program on a working folder of its own, started empty as without arguments.
struct DesktopFixture {
    DesktopFixture();
    /// Stops waiting for dialogs that never showed, so that no wait acts in a later test.
    ~DesktopFixture();

    /// Runs `act` on the next modal dialog once it shows, while the command that opens it
    /// waits in its dialog loop.
    static void whenDialogShows(std::function<void(QDialog*)> act);
    /// How many of those waits still poll.
    static int pendingDialogWaits();

    std::filesystem::path exampleCopy(const std::string& name = "embankment.slw");

    TempFolder folder;
    ScriptedUser user;
    DesktopSession session;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace dorvo::test
