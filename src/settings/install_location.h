// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/messages.h"
#include "model/result.h"

namespace dorvo {

/// The per-user folders the program looks in, taken from the process or set by tests.
struct Environment {
    std::filesystem::path configHome;  // $XDG_CONFIG_HOME, default ~/.config
    std::filesystem::path dataHome;    // $XDG_DATA_HOME, default ~/.local/share
    std::filesystem::path currentDir;
};

/// Reads the per-user folders from the environment variables of this process.
Environment environmentFromProcess();

/// The location file "Quenvar/Morvik5.whr" under a base folder.
std::filesystem::path locationFilePath(const std::filesystem::path& base);

/// The default working folder "Quenvar/Dorvo5" under the per-user data folder.
std::filesystem::path defaultWorkFolder(const Environment& environment);

/// Finds the working folder: the location file of the configuration folder, then the one of
/// the current folder, then the default.
std::filesystem::path findWorkFolder(const Environment& environment);

/// What the folder field shows after it loses the focus: a relative text gets a "/" in
/// front. A text of at most one character fails with "データがありません" and stays as it is.
Result<std::string> completeFolderField(const std::string& text);

/// A folder taken for the installation location.
struct StoredLocation {
    std::filesystem::path folder;    // the folder to use from now on
    std::optional<Message> unsaved;  // why the location file keeps the old folder, if it does
};

/// Checks a folder typed for the installation location and writes it to the location file.
/// A folder that is not absolute is refused. When the location file cannot be written the
/// folder is used all the same, for this run.
Result<StoredLocation> storeInstallLocation(const std::string& folder,
                                            const Environment& environment);

}  // namespace dorvo
