// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/project.h"
#include "model/result.h"

namespace dorvo {

/// How a cell is stored in the project file, which decides what it may hold.
enum class CellStorage {
    WholeLine,    // settings and circle-search lines: one cell per line
    JoinedField,  // a block's X, layer and load cells: joined by commas into one line
    BlockLines,   // a block's comma list of lines, written after its X
};

/// Why this text (code page 932 bytes) would not read back from a project file as it is,
/// or nothing when it would.
std::optional<std::string> unstorableReason(std::string_view stored, CellStorage storage);

/// Converts text the user typed (UTF-8) to the bytes a cell stores, or says why it cannot be
/// stored: a character outside code page 932, "$$", a line end, a comma or quote where cells
/// are joined by commas.
Result<std::string> toStorableText(std::string_view typed, CellStorage storage);

/// The first cell of the project that would not read back as it is, named and with the
/// reason; nothing when every cell is storable.
std::optional<Message> findUnstorableCell(const Project& project);

}  // namespace dorvo
