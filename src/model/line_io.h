// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/atomic_write.h"

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

/// Reads every line of a text file without line ends; nothing when it cannot be opened.
std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& path);

}  // namespace dorvo
