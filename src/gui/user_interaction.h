// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <filesystem>
#include <optional>

#include "app/document.h"
#include "app/save_prompt.h"
#include "model/messages.h"

class QWidget;

namespace dorvo {

/// Everything the desktop program asks of the user and the desktop: messages, the questions
/// before changes are lost, the file, font and colour choosers and opening a file in another
/// program. The program shows dialogs; tests answer without blocking.
class UserInteraction : public MessageSink,
                        public SaveQuestion,
                        public YesNoQuestion,
                        public FileChooser {
  public:
    /// Opens a file in the desktop's default program; false when nothing opens it.
    virtual bool openExternally(const std::filesystem::path& file) = 0;
    /// Asks where to save an exported table (CSV); nothing on Cancel.
    virtual std::optional<std::filesystem::path> chooseExportFile(
        const std::filesystem::path& suggestion) = 0;
    /// A font chosen starting from `initial`; nothing when the user cancels.
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    /// A colour chosen starting from `initial`; nothing when the user cancels.
    virtual std::optional<QColor> chooseColour(const QColor& initial) = 0;
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
    std::optional<std::filesystem::path> chooseExportFile(
        const std::filesystem::path& suggestion) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QColor> chooseColour(const QColor& initial) override;

  private:
    QWidget* parent_;
};

/// The caption of the program's message boxes and main window.
inline constexpr const char* kProgramCaption = "安定計算 V5 ";

}  // namespace dorvo
