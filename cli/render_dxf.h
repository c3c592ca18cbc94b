// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>

#include "model/messages.h"
#include "model/project.h"

namespace dorvo::cli {

/// Writes the figure's section to a DXF drawing in model metres: first into `scratch`, then in
/// place of `output` once whole. Returns the exit status.
int renderDxf(const Project& project, const std::filesystem::path& resultsFile,
              const std::filesystem::path& scratch, const std::filesystem::path& output,
              std::ostream& out, MessageSink& messages);

}  // namespace dorvo::cli
