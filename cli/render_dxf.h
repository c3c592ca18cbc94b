// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>

#include "app/search_insight.h"
#include "model/messages.h"
#include "model/project.h"

namespace dorvo::cli {

/// Writes the figure's section to a DXF drawing in model metres: first into `scratch`, then in
/// place of `output` once whole. Under the simplified Bishop method the centres' minima and
/// the critical circle are that method's search's. Returns the exit status.
int renderDxf(const Project& project, SearchMethod method, const std::filesystem::path& resultsFile,
              const std::filesystem::path& scratch, const std::filesystem::path& output,
              std::ostream& out, MessageSink& messages);

}  // namespace dorvo::cli
