// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/stepped_bounds.h"

#include <algorithm>

#include "calc/circle_search.h"

namespace dorvo {

namespace {

// The sums lie within this share of their terms' sizes, each times its lever, times R, of the
// direct evaluation's: the moves of the rotated ends and the roundings of the sums, with room
// to spare (docs/stepped-evaluation.md).
constexpr double kSumMargin = 1e-12;
constexpr double kRoundingMargin = 1e-14;  // relative, for the last roundings of a result

}  // namespace

TermSizes termSizes(const SizeSums& sums, const SectionSizes& section, double scaleX,
                    double scaleY) {
    const double columns = sums.widths * scaleY + sums.heights * scaleX;
    return {sums.weights + section.weight1 * columns, sums.friction + section.friction2 * columns,
            sums.cohesion + section.cohesionRate * scaleY * sums.steepLengths};
}

std::optional<OutcomeBounds> boundsOf(const CircleResult& result, const TermSizes& sizes, double kh,
                                      double mf) {
    const double scale = kSumMargin * result.r;
    OutcomeBounds b;
    auto withRounding = [](double bound, double value) {
        return bound > 0.0 ? bound + kRoundingMargin * std::fabs(value) : 0.0;
    };
    b.md = withRounding(scale * sizes.weights * (1.0 + std::fabs(kh)), result.md);
    if (b.md > 0.0) b.md += kRoundingMargin * std::fabs(mf);
    b.mtMe = withRounding(scale * sizes.friction * (1.0 + std::fabs(kh)), result.mtMe);
    b.mc = withRounding(scale * sizes.cohesion, result.mc);
    b.mr = withRounding(b.mtMe + b.mc, result.mr);
    if (tooCloseToCall(result.md, kEpsilon, b.md) || tooCloseToCall(result.mr, kEpsilon, b.mr)) {
        return std::nullopt;
    }
    if (result.fs != kNoSolutionFs) {
        if (b.md > 0.25 * result.md || b.mr > 0.25 * result.mr) return std::nullopt;
        b.fs = withRounding(result.fs * (b.mr / result.mr + b.md / result.md), result.fs);
    }
    return b;
}

SectionSizes sectionSizes(const Section& section) {
    SectionSizes sizes;
    double tanPhi = 0.0;
    double gamma2 = 0.0;
    for (const SoilLayer& layer : section.layers) {
        sizes.weight1 = std::max(sizes.weight1, std::fabs(layer.gamma1));
        gamma2 = std::max(gamma2, std::fabs(layer.gamma2));
        tanPhi = std::max(tanPhi, std::fabs(layer.tanPhi));
        sizes.cohesionRate = std::max(sizes.cohesionRate, std::fabs(layer.k));
    }
    sizes.friction2 = gamma2 * tanPhi;
    for (const SectionBlock& block : section.blocks) {
        for (int i = 1; i <= block.lineCount; ++i) {
            const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
            sizes.height = std::max({sizes.height, std::fabs(line.yLeft), std::fabs(line.yRight)});
        }
    }
    return sizes;
}

}  // namespace dorvo
