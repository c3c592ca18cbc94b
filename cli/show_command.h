// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <iosfwd>

#include "model/messages.h"
#include "model/project.h"

namespace dorvo::cli {

/// Prints the tables of a project in UTF-8, as a reader checks what a file holds.
void printProject(const Project& project, std::size_t resultLines, std::ostream& out);

/// Loads a project file for the command line without touching the user's working files.
/// Returns the number of result lines, or nothing, with the reason reported, when the file
/// cannot be read.
std::optional<std::size_t> loadForCommandLine(const std::filesystem::path& file, Project& project,
                                              std::ostream& results, MessageSink& messages);

}  // namespace dorvo::cli
