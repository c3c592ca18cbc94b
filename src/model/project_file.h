// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <istream>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"

namespace dorvo {

inline constexpr std::string_view kProjectHeader = "$$_DORVO301";

/// Where the reader stands in a project file: the current section and its row counter, the
/// file and line that messages about the line name, and the losses already reported.
struct ProjectReadState {
    char section = '\0';  // none until the first section line
    int row = 0;
    std::string_view source;
    int lineNumber = 0;
    std::set<std::string> reportedLosses;
};

/// Applies one line of a project file to the project according to the current section.
void parseProjectLine(ProjectReadState& state, Project& project, std::string_view line,
                      MessageSink& messages);

/// Loads a project from `source` (its name in messages): clears it, parses the tables, and
/// copies the results text that follows them to `results`, every line ending with CR LF.
/// Lines the tables cannot hold are reported, each kind once, with their place. Fails when
/// the first line has no section marker (not a project file), when the file cannot be read
/// to its end or when the results cannot be written; the project is then incomplete.
Status readProjectLines(Project& project, std::istream& in, std::ostream& results,
                        std::string_view source, MessageSink& messages);

/// Writes the header and the five tables, then copies `results` (may be null) after them.
/// Refuses, writing nothing, a project with a cell that would not read back as it is.
Status writeProject(const Project& project, std::ostream& out, std::istream* results);

}  // namespace dorvo
