// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/search_insight.h"

#include <fstream>

#include "calc/circle_explanation.h"
#include "calc/section.h"

namespace dorvo {

SearchInsight searchInsight(const Project& project, const CircleResult& critical,
                            const std::filesystem::path& records) {
    SearchInsight insight;
    std::ifstream in(records, std::ios::binary);
    insight.centreMinima = readCentreMinima(in);
    const PreparedSection prepared = prepareSection(project);
    const auto search = validCircleSearch(project.circleSearch, nullptr);
    if (!prepared.section || !search) return insight;
    insight.bishopFs = bishopFactorOfSafety(
        explainCircle(*prepared.section, critical.rx, critical.ry, critical.r));
    insight.warnings =
        searchEdgeWarnings(*search, *prepared.section, critical, insight.centreMinima);
    return insight;
}

}  // namespace dorvo
