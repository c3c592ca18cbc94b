// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/back_analysis.h"

#include <algorithm>
#include <cmath>

#include "calc/unrecorded_runs.h"

namespace dorvo {

namespace {

// The calculation turns degrees into radians with π taken as 3.14159.
constexpr double kRadiansPerDegree = 0.01745327777777778;

std::optional<CircleResult> evaluated(const Section& section, const TrialCircle& circle) {
    return evaluateUnrecorded(section, circle.rx, circle.ry, circle.r);
}

SoilLayer* layerNumbered(Section& section, int layerNo) {
    for (SoilLayer& layer : section.layers) {
        if (layer.layerNo == layerNo) return &layer;
    }
    return nullptr;
}

}  // namespace

std::optional<TrialCircle> circleThroughEnds(double x1, double y1, double x2, double y2,
                                             double depth) {
    if (!(depth > 0.0) || (x1 == x2 && y1 == y2)) return std::nullopt;
    const double x3 = (x1 + x2) / 2.0;
    const double y3 = (y1 + y2) / 2.0 - depth;
    // The centre is equally far from the three points: two linear equations.
    const double a1 = 2.0 * (x2 - x1), b1 = 2.0 * (y2 - y1);
    const double c1 = x2 * x2 - x1 * x1 + y2 * y2 - y1 * y1;
    const double a2 = 2.0 * (x3 - x1), b2 = 2.0 * (y3 - y1);
    const double c2 = x3 * x3 - x1 * x1 + y3 * y3 - y1 * y1;
    const double determinant = a1 * b2 - a2 * b1;
    if (std::abs(determinant) < 1e-12) return std::nullopt;
    const double rx = (c1 * b2 - c2 * b1) / determinant;
    const double ry = (a1 * c2 - a2 * c1) / determinant;
    return TrialCircle{rx, ry, std::hypot(x1 - rx, y1 - ry)};
}

Section withLayerStrength(const Section& section, int layerNo, double co, double phiDegrees) {
    Section changed = section;
    if (SoilLayer* layer = layerNumbered(changed, layerNo)) {
        layer->co = co;
        layer->tanPhi = std::tan(phiDegrees * kRadiansPerDegree);
    }
    return changed;
}

double BackAnalysis::coAt(double phiDegrees) const {
    return (targetFs * md - base - perTanPhi * std::tan(phiDegrees * kRadiansPerDegree)) / perCo;
}

std::optional<double> BackAnalysis::phiAt(double co) const {
    if (perTanPhi <= 0.0) return std::nullopt;
    const double tanPhi = (targetFs * md - base - perCo * co) / perTanPhi;
    if (!(tanPhi >= 0.0) || !std::isfinite(tanPhi)) return std::nullopt;
    return std::atan(tanPhi) / kRadiansPerDegree;
}

BackAnalysis backAnalyse(const Section& section, const TrialCircle& circle, int layerNo,
                         double targetFs) {
    BackAnalysis analysis;
    analysis.circle = circle;
    analysis.layerNo = layerNo;
    analysis.targetFs = targetFs;
    Section probe = section;
    const SoilLayer* layer = layerNumbered(probe, layerNo);
    if (layer == nullptr) {
        analysis.status = BackAnalysisStatus::NoSuchLayer;
        return analysis;
    }
    analysis.currentCo = layer->co;
    analysis.currentPhiDegrees = std::atan(layer->tanPhi) / kRadiansPerDegree;

    // MR is linear in Co and tanφ of the layer: three evaluations give the line exactly, with
    // nothing of the evaluation repeated here.
    const auto current = evaluated(section, circle);
    if (!current) {
        analysis.status = BackAnalysisStatus::NotEvaluated;
        return analysis;
    }
    analysis.current = *current;
    const auto none = evaluated(withLayerStrength(section, layerNo, 0.0, 0.0), circle);
    const auto unitCo = evaluated(withLayerStrength(section, layerNo, 1.0, 0.0), circle);
    const auto unitTan = evaluated(withLayerStrength(section, layerNo, 0.0, 45.0), circle);
    if (!none || !unitCo || !unitTan) {
        analysis.status = BackAnalysisStatus::NotEvaluated;
        return analysis;
    }
    analysis.md = current->md;
    analysis.base = none->mr;
    analysis.perCo = unitCo->mr - none->mr;
    analysis.perTanPhi = (unitTan->mr - none->mr) / std::tan(45.0 * kRadiansPerDegree);
    // The cohesion of a layer the arc does not cross changes no element.
    if (analysis.perCo <= 1e-9 * std::max(1.0, std::abs(current->mr))) {
        analysis.status = BackAnalysisStatus::NotThroughLayer;
        return analysis;
    }
    if (!(analysis.md > 0.0)) {
        analysis.status = BackAnalysisStatus::NoDrivingMoment;
        return analysis;
    }
    const double layerPart = current->mr - analysis.base;
    analysis.share = current->mr > 0.0 ? layerPart / current->mr : 0.0;
    for (int phi = 0; phi <= 45; phi += 5) {
        analysis.table.push_back({double(phi), analysis.coAt(phi)});
    }
    analysis.coAtCurrentPhi = analysis.coAt(analysis.currentPhiDegrees);
    analysis.phiAtCurrentCo = analysis.phiAt(analysis.currentCo);
    analysis.status = BackAnalysisStatus::Found;
    return analysis;
}

}  // namespace dorvo
