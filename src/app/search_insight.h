// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "calc/search_edges.h"
#include "model/project.h"

namespace dorvo {

/// What an engineer wants to know of a completed search besides its records: the simplified
/// Bishop factor of safety of the critical circle, whether the true minimum may lie outside
/// the search, and the minimum of every centre.
struct SearchInsight {
    std::optional<double> bishopFs;
    std::vector<SearchEdge> warnings;
    std::vector<CentreMinimum> centreMinima;
};

/// The insight into a completed search of `project` whose result stream is in `records`.
SearchInsight searchInsight(const Project& project, const CircleResult& critical,
                            const std::filesystem::path& records);

}  // namespace dorvo
