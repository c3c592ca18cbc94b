// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/search_insight.h"

#include <fstream>

#include "calc/circle_explanation.h"
#include "calc/section.h"

namespace dorvo {

namespace {

bool upwardLoadOn(const Section& section, const CircleResult& circle) {
    for (const ConcentratedForce& load : section.loads) {
        if (load.force < 0.0 && circle.p1x <= load.x && load.x <= circle.p2x) return true;
    }
    return false;
}

/// The Bishop value, the ordinary Fs and the load warning of the insight's critical circle.
void describeCritical(const Section& section, SearchInsight& insight) {
    const CircleResult& c = *insight.critical;
    const CircleExplanation explanation = explainCircle(section, c.rx, c.ry, c.r);
    insight.bishop = bishopFactorOfSafety(explanation);
    insight.ordinaryFs = explanation.outcome.result.fs;
    insight.upwardLoadOnSlipMass = upwardLoadOn(section, c);
}

}  // namespace

std::string describeUpwardLoad(WarningLanguage language) {
    return language == WarningLanguage::English
               ? "a load acting upward lies on the slip mass: it counts only in the driving "
                 "moment, not in the normal forces, which leans Fs to the unsafe side"
               : "上向きの荷重がすべり土塊上にあります: 起動モーメントにだけ算入され、"
                 "垂直力には入らないため、安全率は危険側になります";
}

SearchInsight searchInsight(const Project& project, const CircleResult& critical,
                            const std::filesystem::path& records,
                            const std::function<void(const CentreMinimum&)>& eachMinimum) {
    SearchInsight insight;
    insight.critical = critical;
    const Result<Section> prepared = prepareSection(project);
    const auto search = validCircleSearch(project.circleSearch);
    std::ifstream in(records, std::ios::binary);
    CentreMinimumReader minima(in);
    bool anEdgeCentreNearby = false;
    for (CentreMinimum minimum; minima.next(minimum);) {
        if (eachMinimum) eachMinimum(minimum);
        anEdgeCentreNearby =
            anEdgeCentreNearby || (search && edgeCentreNearby(*search, critical, minimum));
    }
    if (!prepared || !search) return insight;
    describeCritical(*prepared, insight);
    insight.warnings = searchEdgeWarnings(*search, *prepared, critical, anEdgeCentreNearby);
    return insight;
}

std::optional<BishopSearch> searchByBishop(const Project& project, int threads,
                                           const std::stop_token& stop, SearchProgress* progress) {
    const Result<Section> prepared = prepareSection(project);
    const auto search = validCircleSearch(project.circleSearch);
    if (!prepared || !search) return std::nullopt;
    return runBishopSearch(*prepared, *search, threads, stop, progress);
}

SearchInsight bishopSearchInsight(const Project& project, const BishopSearch& search) {
    SearchInsight insight;
    insight.method = SearchMethod::Bishop;
    insight.critical = search.critical;
    const Result<Section> prepared = prepareSection(project);
    const auto valid = validCircleSearch(project.circleSearch);
    if (!insight.critical || !prepared || !valid) return insight;
    describeCritical(*prepared, insight);
    bool anEdgeCentreNearby = false;
    for (const CentreMinimum& minimum : search.centreMinima) {
        anEdgeCentreNearby =
            anEdgeCentreNearby || edgeCentreNearby(*valid, *insight.critical, minimum);
    }
    insight.warnings = searchEdgeWarnings(*valid, *prepared, *insight.critical, anEdgeCentreNearby);
    return insight;
}

}  // namespace dorvo
