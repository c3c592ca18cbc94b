#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "calc/search_edges.h"
#include "model/project.h"

namespace dorvo {

/// What an engineer wants to know of a completed search besides its records: the simplified
/// Bishop factor of safety of the critical circle and whether the true minimum may lie outside
/// the search.
struct SearchInsight {
    std::optional<double> bishopFs;
    std::vector<SearchEdge> warnings;
};

/// The insight into a completed search of `project` whose result stream is in `records`. The
/// minimum of every centre is read one at a time and, when `eachMinimum` is given, shown to
/// it in search order; none is kept.
SearchInsight searchInsight(const Project& project, const CircleResult& critical,
                            const std::filesystem::path& records,
                            const std::function<void(const CentreMinimum&)>& eachMinimum = {});

}  // namespace dorvo
