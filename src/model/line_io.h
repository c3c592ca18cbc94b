// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace dorvo {

/// Reads one line of any length, keeping its line end ("\n" or "\r\n") when it has one.
/// Returns false at the end of the stream.
bool readRawLine(std::istream& in, std::string& line);

/// Removes a trailing CR LF, or else a trailing LF.
std::string_view withoutLineEnd(std::string_view line);

/// Whether the line contains the section marker "$$".
inline bool isSectionLine(std::string_view line) {
    return line.find("$$") != line.npos;
}

/// Copies the rest of a stream byte for byte; returns false when writing failed.
bool copyStream(std::istream& from, std::ostream& to);

/// Writes a file through a temporary file in the same folder that is renamed over the target
/// once complete, so a failure half way leaves the previous file as it was; a symlink is
/// followed to its file, whose mode and owner stay. A device or pipe is written in place; a
/// folder, or a file the user may not write, is refused. The writer returns false to give up.
/// Returns false on any failure.
[[nodiscard]] bool writeFileAtomically(const std::filesystem::path& target,
                                       const std::function<bool(std::ostream&)>& writer);

/// The temporary file that `writeFileAtomically` writes before it replaces `target`:
/// ".saving-" and the process id after the name of the file a link leads to. Only a program
/// that is killed half way leaves it behind.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target);

/// Reads every line of a text file without line ends; nothing when it cannot be opened.
std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& path);

}  // namespace dorvo
