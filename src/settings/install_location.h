// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/messages.h"

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

/// What the folder field shows after it loses the focus: a text of at most one character
/// reports "データがありません"; a relative text gets a "/" in front.
std::string completeFolderField(const std::string& text, MessageSink& messages);

/// Checks a folder typed for the installation location and writes it to the location file.
/// Returns the folder to use from now on, or nothing when it was refused (with a message).
std::optional<std::filesystem::path> storeInstallLocation(const std::string& folder,
                                                          const Environment& environment,
                                                          MessageSink& messages);

}  // namespace dorvo
