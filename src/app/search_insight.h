// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calc/bishop_method.h"
#include "calc/bishop_search.h"
#include "calc/search_edges.h"
#include "model/project.h"

namespace dorvo {

/// The method whose minima the summary, the warnings, the contours and the explanation follow.
/// The records and the saved project are the ordinary method's whichever is chosen.
enum class SearchMethod { Ordinary, Bishop };

/// What an engineer wants to know of a completed search besides its records: the critical
/// circle by the chosen method, its simplified Bishop factor of safety and whether the true
/// minimum may lie outside the search.
struct SearchInsight {
    SearchMethod method = SearchMethod::Ordinary;
    std::optional<CircleResult> critical;  // by the chosen method; `fs` its Fs by that method
    double ordinaryFs = kNoSolutionFs;     // of the critical circle
    BishopSolution bishop;                 // of the critical circle
    std::vector<SearchEdge> warnings;
    bool upwardLoadOnSlipMass = false;  // a load acting upward lies on the critical slip mass
};

/// The warning of a load acting upward on the slip mass: the Bishop value (and the ordinary
/// one) then leans to the unsafe side.
std::string describeUpwardLoad(WarningLanguage language);

/// The insight into a completed search of `project` whose result stream is in `records`. The
/// minimum of every centre is read one at a time and, when `eachMinimum` is given, shown to
/// it in search order; none is kept.
SearchInsight searchInsight(const Project& project, const CircleResult& critical,
                            const std::filesystem::path& records,
                            const std::function<void(const CentreMinimum&)>& eachMinimum = {});

/// Searches the project's grid by the simplified Bishop method; nothing when the input
/// cannot be calculated.
std::optional<BishopSearch> searchByBishop(const Project& project, int threads,
                                           const std::stop_token& stop,
                                           SearchProgress* progress = nullptr);

/// The insight into a search by the simplified Bishop method.
SearchInsight bishopSearchInsight(const Project& project, const BishopSearch& search);

}  // namespace dorvo
