// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_analyses.h"

#include <charconv>
#include <fstream>

#include "app/dialog_fields.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

std::string shortestText(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace

Result<RestraintForce> restraintForceOfResults(const Project& project,
                                               const std::filesystem::path& results,
                                               double plannedFs) {
    Result<Section> prepared = prepareSection(project);
    if (!prepared) return Failure{prepared.error()};
    std::ifstream in(results, std::ios::binary);
    if (!in) return Failure{makeMessage(MessageId::FileNotFound, results.string())};
    return restraintForceFromRecords(in, plannedFs, *prepared);
}

std::optional<RestraintMark> restraintMarkOf(const RestraintForce& force) {
    if (!force.governing || !force.governingEnds) return std::nullopt;
    const RestraintCircle& g = *force.governing;
    const CircleResult& e = *force.governingEnds;
    return RestraintMark{g.rx, g.ry, g.r, e.p1x, e.p1y, e.p2x, e.p2y, g.force, force.plannedFs};
}

Result<double> typedPlannedFs(std::string_view typed) {
    if (typed.find_first_not_of(' ') == typed.npos) return kDefaultPlannedFs;
    return typedReal(typed, "計画安全率 Fsp", {0.5, 10.0});
}

Result<double> typedTargetFs(std::string_view typed) {
    if (typed.find_first_not_of(' ') == typed.npos) return kDefaultCurrentFs;
    return typedReal(typed, "現在の安全率 Fs0", {0.1, 10.0});
}

Result<double> typedVariationPercent(std::string_view typed, std::string_view label) {
    return typedReal(typed, label, {-99.0, 1000.0});
}

Status applyLayerStrength(Project& project, int layerNo, const StrengthPair& pair) {
    const std::optional<int> row = findLayerRow(project, layerNo);
    if (!row) return Failure{literalMessage(formatC("層No.%d の層データがありません", layerNo))};
    if (!isUsableInput(pair.co) || !isUsableInput(pair.phiDegrees)) {
        return Failure{literalMessage("粘着力または内部摩擦角が不適当です")};
    }
    Layer& layer = project.layer(*row);
    layer.co = shortestText(pair.co);
    layer.phi = shortestText(pair.phiDegrees);
    return Done{};
}

}  // namespace dorvo
