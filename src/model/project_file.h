#pragma once

#include <istream>
#include <ostream>
#include <string_view>

#include "model/messages.h"
#include "model/project.h"

namespace dorvo {

inline constexpr std::string_view kProjectHeader = "$$_DORVO301";

/// Where the reader stands in a project file: the current section and its row counter.
struct ProjectReadState {
    char section = '\0';  // none until the first section line
    int row = 0;
};

/// Applies one line of a project file to the project according to the current section.
void parseProjectLine(ProjectReadState& state, Project& project, std::string_view line,
                      MessageSink& messages);

/// Whether this line starts the results text ("$$CSV", or the older "$$RSLT").
bool startsResults(std::string_view line);

/// Loads a project: clears it, parses the tables, and copies the results text that follows
/// them to `results`, every line ending with CR LF. Returns false when writing the results
/// failed.
bool readProjectLines(Project& project, std::istream& in, std::ostream& results,
                      MessageSink& messages);

/// Writes the header and the five tables, then copies `results` (may be null) after them.
bool writeProject(const Project& project, std::ostream& out, std::istream* results);

}  // namespace dorvo
