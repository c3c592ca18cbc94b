// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/install_location.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "model/line_io.h"

namespace dorvo {

namespace fs = std::filesystem;

namespace {

fs::path fromVariable(const char* name, const fs::path& fallback) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] == '/') return value;
    return fallback;
}

std::string firstLineOf(const fs::path& file) {
    auto lines = readTextLines(file);
    if (!lines || lines->empty() || (*lines)[0].size() <= 1) return {};
    return (*lines)[0];
}

bool isUsableFolder(const std::string& text) {
    return text.size() >= 2 && text[0] == '/';
}

}  // namespace

Environment environmentFromProcess() {
    const char* home = std::getenv("HOME");
    fs::path homePath = home != nullptr ? fs::path(home) : fs::path("/");
    std::error_code error;
    fs::path current = fs::current_path(error);
    return {fromVariable("XDG_CONFIG_HOME", homePath / ".config"),
            fromVariable("XDG_DATA_HOME", homePath / ".local" / "share"), current};
}

fs::path locationFilePath(const fs::path& base) {
    return base / "Quenvar" / "Morvik5.whr";
}

fs::path defaultWorkFolder(const Environment& environment) {
    return environment.dataHome / "Quenvar" / "Dorvo5";
}

fs::path findWorkFolder(const Environment& environment) {
    std::string text = firstLineOf(locationFilePath(environment.configHome));
    if (!isUsableFolder(text)) text = firstLineOf(locationFilePath(environment.currentDir));
    if (isUsableFolder(text)) return fs::path(text);
    return defaultWorkFolder(environment);
}

Result<std::string> completeFolderField(const std::string& text) {
    if (text.size() <= 1) return Failure{makeMessage(MessageId::NoData)};
    return text[0] == '/' ? text : "/" + text;
}

Result<StoredLocation> storeInstallLocation(const std::string& folder,
                                            const Environment& environment) {
    if (!isUsableFolder(folder)) return Failure{literalMessage("ドライブ名が異常です")};
    fs::path file = locationFilePath(environment.configHome);
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    const Status written = writeFileAtomically(file, [&](std::ostream& out) {
        out << folder << "\r\n";
        return static_cast<bool>(out);
    });
    StoredLocation stored{fs::path(folder), std::nullopt};
    if (!written) stored.unsaved = literalMessage("フォルダ名またはドライブ名が異常です");
    return stored;
}

}  // namespace dorvo
