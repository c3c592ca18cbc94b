// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sstream>
#include <string>
#include <string_view>

#include "model/project_file.h"

namespace dorvo::fuzz {

/// Fuzz runs discard the messages the core reports.
class IgnoreMessages : public MessageSink {
  public:
    void report(const Message&) override {}
};

/// Loads bytes as a project file; the results text is discarded.
inline Project loadProject(std::string_view bytes) {
    IgnoreMessages messages;
    std::istringstream in{std::string(bytes)};
    std::ostringstream results;
    Project project;
    (void)readProjectLines(project, in, results, "fuzz", messages);  // a cut file is fine
    return project;
}

}  // namespace dorvo::fuzz
