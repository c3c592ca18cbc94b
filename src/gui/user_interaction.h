#pragma once

#include <filesystem>

#include "app/document.h"
#include "app/save_prompt.h"
#include "model/messages.h"

class QWidget;

namespace dorvo {

/// Everything the desktop program asks of the user and the desktop: messages, questions
/// with Yes and No, the question before changes are lost, the file choosers and opening a file in
/// another program. The program shows dialogs; tests answer without blocking.
class UserInteraction : public MessageSink,
                        public YesNoQuestion,
                        public SaveQuestion,
                        public FileChooser {
  public:
    /// Opens a file in the desktop's default program; false when nothing opens it.
    virtual bool openExternally(const std::filesystem::path& file) = 0;
};

/// The real dialogs: message boxes, file dialogs and the desktop's default programs.
class DesktopInteraction : public UserInteraction {
  public:
    explicit DesktopInteraction(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void report(const Message& message) override;
    bool askYesNo(const Message& question) override;
    SaveAnswer askToSave(const std::string& title) override;
    std::optional<std::filesystem::path> chooseFileToOpen(
        const std::filesystem::path& startFolder) override;
    std::optional<std::filesystem::path> chooseFileToSave(
        const std::filesystem::path& currentPath) override;
    bool openExternally(const std::filesystem::path& file) override;

  private:
    QWidget* parent_;
};

/// The caption of the program's message boxes and main window.
inline constexpr const char* kProgramCaption = "安定計算 V5 ";

}  // namespace dorvo
