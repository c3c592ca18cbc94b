#include "app/search_insight.h"

#include <fstream>

#include "calc/circle_explanation.h"
#include "calc/section.h"

namespace dorvo {

SearchInsight searchInsight(const Project& project, const CircleResult& critical,
                            const std::filesystem::path& records,
                            const std::function<void(const CentreMinimum&)>& eachMinimum) {
    SearchInsight insight;
    const PreparedSection prepared = prepareSection(project);
    const auto search = validCircleSearch(project.circleSearch, nullptr);
    std::ifstream in(records, std::ios::binary);
    CentreMinimumReader minima(in);
    bool anEdgeCentreNearby = false;
    for (CentreMinimum minimum; minima.next(minimum);) {
        if (eachMinimum) eachMinimum(minimum);
        anEdgeCentreNearby =
            anEdgeCentreNearby || (search && edgeCentreNearby(*search, critical, minimum));
    }
    if (!prepared.section || !search) return insight;
    insight.bishopFs = bishopFactorOfSafety(
        explainCircle(*prepared.section, critical.rx, critical.ry, critical.r));
    insight.warnings = searchEdgeWarnings(*search, *prepared.section, critical, anEdgeCentreNearby);
    return insight;
}

}  // namespace dorvo
