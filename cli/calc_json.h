// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

#include "calc_command.h"

namespace dorvo::cli {

/// Computes each project, one after the other whatever happens to the others, and writes one
/// JSON document about them all. Returns 0 when every project was computed, else 1.
int runCalcJson(const std::vector<std::filesystem::path>& projects, const CalcRequest& settings,
                std::ostream& out);

}  // namespace dorvo::cli
