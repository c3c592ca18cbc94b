// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"
#include "settings/working_files.h"

namespace dorvo {

/// One version of a file on disk: another program's save gives the file another stamp.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

/// The stamp of the file as it is now; nothing when it does not exist.
std::optional<FileStamp> stampOf(const std::filesystem::path& file);

/// The one open project and the file it belongs to.
struct Document {
    Project project;
    std::filesystem::path pathName;  // empty before the first New, Open or Save
    bool modified = false;           // changed since the last New, load or save
    std::optional<FileStamp> stamp;  // of the file when it was loaded or last saved
    /// The probabilistic analysis's inputs as its dialog last kept them (NAME.prob.json), written
    /// beside the file at each save; nothing while they were not edited.
    std::optional<std::string> probabilityInputs;

    /// The file name shown in the title bar.
    std::string title() const { return pathName.filename().string(); }
};

/// The system's file dialogs; the GUI shows them, tests answer them.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    /// Asks for a project to open, starting in this folder; nothing on Cancel.
    virtual std::optional<std::filesystem::path> chooseFileToOpen(
        const std::filesystem::path& startFolder) = 0;
    /// Asks where to save, starting with this path; nothing on Cancel.
    virtual std::optional<std::filesystem::path> chooseFileToSave(
        const std::filesystem::path& currentPath) = 0;
};

/// Everything the file commands work with besides the document.
struct FileCommandContext {
    Installation& installation;
    FileChooser& chooser;
    MessageSink& messages;
    /// Asks before a save replaces a file that another program changed since it was loaded
    /// or saved; without it such a save goes to another name.
    YesNoQuestion* questions = nullptr;
};

/// Which way a file is opened: the Open command, or the other ways (recent files, a dropped
/// file, the command line), which may come before anything has set up the working files.
enum class OpenPath { OpenCommand, Framework };

/// Loads a project file into the document and its results into the results working file.
/// Both change only when the whole file was read; otherwise the failure is reported and
/// returned, and the document keeps its project, its path and its results.
Status loadDocument(Document& document, const std::filesystem::path& file, OpenPath path,
                    const FileCommandContext& context);

/// New: an untitled empty project, no results.
void newDocument(Document& document, const FileCommandContext& context);

/// Open: asks for a file in the folder last used, loads it and remembers its folder.
/// Returns whether a project was loaded.
bool openCommand(Document& document, const FileCommandContext& context);

/// Save: saves under the document's name, or asks for one as Save As does. When another
/// program changed the file since it was loaded or last saved, asks first whether to replace
/// it; No saves under another name, keeping both.
bool saveCommand(Document& document, const FileCommandContext& context);

/// Save As: asks for a name, completes the extension "slw" and saves.
bool saveAsCommand(Document& document, const FileCommandContext& context);

/// Writes the tables and the results working file to this path, replacing the old file only
/// once the new one is complete. Fails with "保存できませんでした" and why, or with why a cell
/// cannot be stored. A saved project whose kept probability inputs could not be written
/// beside it gives back why.
Result<std::optional<Message>> writeProjectFile(Document& document,
                                                const std::filesystem::path& path,
                                                const std::filesystem::path& resultsFile);

/// Why an export (a printed PDF, a CSV table) may not be written to `output`: it is the open
/// project's file, under this name or another, which the export would replace with something
/// that is no project. Nothing when it may.
std::optional<Message> exportOverProject(const std::filesystem::path& output,
                                         const Document& document);

/// Completes a Save As path: a trailing "." is dropped and an empty extension becomes "slw".
/// Nothing when the extension is another one.
std::optional<std::filesystem::path> completeSavePath(const std::string& path);

}  // namespace dorvo
