// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/document.h"

#include "app/probability_editing.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <system_error>

#include "model/line_io.h"
#include "model/project_file.h"
#include "model/storable_text.h"

namespace dorvo {

namespace fs = std::filesystem;

namespace {

/// Whether the document's file is now another than the one it was loaded from or saved to.
bool changedByAnotherProgram(const Document& document) {
    if (!document.stamp) return false;
    const auto now = stampOf(document.pathName);
    return now && *now != *document.stamp;
}

}  // namespace

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

void reportNotStandardExtension(const FileCommandContext& context) {
    context.messages.report(makeMessage(MessageId::NotStandardExtension));
}

/// Writes the project file as Save and Save As do, reporting what the write gives back; true
/// when the project was saved.
bool saveTo(Document& document, const fs::path& path, const FileCommandContext& context) {
    const auto written = writeProjectFile(document, path, context.installation.resultsFile());
    if (!written) {
        context.messages.report(written.error());
        return false;
    }
    if (*written) context.messages.report(**written);
    return true;
}

}  // namespace

namespace {

Status readIntoDocument(Document& document, const fs::path& file, OpenPath path,
                        const FileCommandContext& context) {
    if (path == OpenPath::Framework) {
        setUpWorkingFiles(context.installation, document.project, Reload::No, context.messages);
    }
    std::error_code error;
    std::ifstream in(file, std::ios::binary);
    if (!in || fs::is_directory(file, error)) {
        return Failure{makeMessage(MessageId::FileNotFound, file.string())};
    }
    Project loaded;
    std::optional<Failure> readFailure;
    const fs::path resultsFile = context.installation.resultsFile();
    const Status written = writeFileAtomically(resultsFile, [&](std::ostream& results) {
        Status read = readProjectLines(loaded, in, results, file.string(), context.messages);
        if (!read) readFailure = Failure{read.error()};
        return read.ok();
    });
    if (readFailure) return *readFailure;
    if (!written)
        return Failure{makeMessage(MessageId::CannotCreateWorkFile, resultsFile.string())};
    document.project = std::move(loaded);
    document.pathName = file;
    document.modified = false;
    document.stamp = stampOf(file);
    document.probabilityInputs.reset();
    return Done{};
}

}  // namespace

Status loadDocument(Document& document, const fs::path& file, OpenPath path,
                    const FileCommandContext& context) {
    Status loaded = readIntoDocument(document, file, path, context);
    if (!loaded) context.messages.report(loaded.error());
    return loaded;
}

void newDocument(Document& document, const FileCommandContext& context) {
    std::error_code error;
    document.pathName = fs::current_path(error) / "無題";
    document.modified = false;
    document.stamp.reset();
    document.probabilityInputs.reset();
    fs::remove(context.installation.resultsFile(), error);
    clearProject(document.project);
    ensureDefaults(document.project);
}

bool openCommand(Document& document, const FileCommandContext& context) {
    const fs::path lastFolderFile = context.installation.lastFolderFile();
    std::vector<std::string> remembered =
        readTextLines(lastFolderFile).value_or(std::vector<std::string>{});
    remembered.resize(2);
    auto chosen = context.chooser.chooseFileToOpen(remembered[0]);
    if (!chosen) return false;
    Status loaded = loadDocument(document, *chosen, OpenPath::OpenCommand, context);
    const Status remembers =
        writeLinesFile(lastFolderFile, {chosen->parent_path().string(), remembered[1]});
    if (!remembers) context.messages.report(remembers.error());
    return loaded.ok();
}

std::optional<fs::path> completeSavePath(const std::string& path) {
    std::string completed = path;
    if (completed.ends_with('.')) completed.pop_back();
    std::string name = fs::path(completed).filename().string();
    std::size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (extension.empty()) {
        completed += ".slw";
        extension = "slw";
    }
    if (!equalsIgnoringCase(extension, "slw")) return std::nullopt;
    return fs::path(completed);
}

bool saveAsCommand(Document& document, const FileCommandContext& context) {
    auto chosen = context.chooser.chooseFileToSave(document.pathName);
    if (!chosen) return false;
    auto path = completeSavePath(chosen->string());
    if (!path) {
        reportNotStandardExtension(context);
        return false;
    }
    return saveTo(document, *path, context);
}

bool saveCommand(Document& document, const FileCommandContext& context) {
    const std::string pathName = document.pathName.string();
    if (pathName.empty() || pathName.ends_with('.')) return saveAsCommand(document, context);
    const std::string title = document.title();
    std::size_t dot = title.find('.');
    std::string extension = dot == std::string::npos ? std::string() : title.substr(dot + 1);
    if (extension.size() < 2) return saveAsCommand(document, context);
    if (!equalsIgnoringCase(extension, "slw")) {
        reportNotStandardExtension(context);
        return saveAsCommand(document, context);
    }
    if (changedByAnotherProgram(document)) {
        Message question =
            literalMessage(document.title() +
                           " は開いた後で他のプログラムが変更しました。\n上書きしますか？\n"
                           "（いいえ: 別の名前で保存し、両方を残します）");
        if (context.questions == nullptr || !context.questions->askYesNo(question)) {
            return saveAsCommand(document, context);
        }
    }
    return saveTo(document, document.pathName, context);
}

std::optional<FileStamp> stampOf(const fs::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(status.st_dev),
                     static_cast<std::uint64_t>(status.st_ino), status.st_size,
                     status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec};
}

std::optional<Message> exportOverProject(const fs::path& output, const Document& document) {
    std::error_code error;
    if (document.pathName.empty() || !fs::equivalent(output, document.pathName, error)) {
        return std::nullopt;
    }
    return literalMessage("開いているプロジェクトのファイルには書き出せません\n( " +
                          output.string() + " )");
}

Result<std::optional<Message>> writeProjectFile(Document& document, const fs::path& path,
                                                const fs::path& resultsFile) {
    if (auto unstorable = findUnstorableCell(document.project)) return Failure{*unstorable};
    if (path != document.pathName) takeProbabilityInputsAlong(document);
    const Status written = writeFileAtomically(path, [&](std::ostream& out) {
        std::ifstream results(resultsFile, std::ios::binary);
        return writeProject(document.project, out, results ? &results : nullptr).ok();
    });
    if (!written) {
        Message failed = makeMessage(MessageId::CouldNotSave);
        failed.text += "\n" + written.error().text;
        return Failure{failed};
    }
    document.pathName = path;
    document.modified = false;
    document.stamp = stampOf(path);
    if (auto side = saveProbabilityInputs(document); !side) {
        return std::optional<Message>(side.error());
    }
    return std::optional<Message>();
}

}  // namespace dorvo
