// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvo {

/// The longest entry of the operating guide's list, in bytes.
inline constexpr std::size_t kHelpPieceBytes = 199;

/// Splits one line of code page 932 text into pieces of at most `limit` bytes, never between
/// the two bytes of a double-byte character.
std::vector<std::string> splitHelpLine(std::string_view line, std::size_t limit = kHelpPieceBytes);

/// The entries of the operating guide: every line of the file in pieces; nothing when the
/// file cannot be read.
std::optional<std::vector<std::string>> readHelpEntries(const std::filesystem::path& file);

}  // namespace dorvo
