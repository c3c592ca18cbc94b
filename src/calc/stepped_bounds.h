// SPDX-License-Identifier: GPL-3.0-or-later
// How far the numbers of a stepped evaluation may lie from the direct evaluation's, and the
// margins within which a decision of the stepped evaluation is too close to call. The
// derivation: docs/stepped-evaluation.md.
#pragma once

#include <cmath>
#include <optional>

#include "calc/circle_evaluation.h"
#include "calc/circle_search.h"

namespace dorvo {

// A decision of the stepped evaluation is left to the direct one where it compares a value
// within these margins of its threshold: the rotation moves the element ends by some 1e-14 of
// the radius, and these allow for a million times that.
inline constexpr double kLengthMargin = 1e-8;      // times (1 + R), for heights and widths
inline constexpr double kRatioMargin = 1e-4;       // times kEpsilon, for the column's height ratio
inline constexpr double kSteepestCentroid = 0.01;  // cos θ below this makes ya too sensitive

inline bool tooCloseToCall(double value, double threshold, double margin) {
    return std::fabs(value - threshold) <= margin;
}

/// How much a centroid at |cos θ| = c magnifies a move of its X in the height of the arc under
/// it, bounded above: below kSteepestCentroid a stepped evaluation gives up.
inline double steepness(double c) {
    return c >= 0.5 ? 2.0 : c >= 0.1 ? 10.0 : 1.0 / kSteepestCentroid;
}

/// The sizes of an element's terms, each times its lever: an end placed by rotation moves some
/// ulps of the coordinates, and a term by its size times the coordinates over R (through θ,
/// more where the centroid is steep). `levelLever` is the X's size over R, `steepLever` the
/// Y's.
struct ElementSizes {
    double weight;    // |W1|
    double friction;  // |W2·tanφ|
    double cohesion;  // |(Co + kZ)·L|
    double steepness;
};

inline ElementSizes elementSizes(double w1, double friction, double cohesionTerm, double cosTheta,
                                 double levelLever, double steepLever) {
    const double steep = steepness(std::fabs(cosTheta));
    const double lever = 1.0 + levelLever + steepLever * steep;
    return {std::fabs(w1) * lever, std::fabs(friction) * lever, std::fabs(cohesionTerm) * lever,
            steep};
}

/// The sizes of the terms summed so far, each times its lever, from which the bounds follow.
struct SizeSums {
    double weights = 0.0;       // Σ |W1|
    double friction = 0.0;      // Σ |W2·tanφ|
    double cohesion = 0.0;      // Σ |(Co + kZ)·L|
    double widths = 0.0;        // Σ |v|
    double heights = 0.0;       // Σ |h1| + |h2|
    double steepLengths = 0.0;  // Σ L times the centroid's steepness
};

/// Adds an element's sizes, with its arc's length and its column's width |v| and heights
/// |h1| + |h2|: the column moves by its width times the heights and its heights times the X.
inline void addSizes(SizeSums& sums, const ElementSizes& element, double length, double width,
                     double heights) {
    sums.weights += element.weight;
    sums.friction += element.friction;
    sums.cohesion += element.cohesion;
    sums.steepLengths += std::fabs(length) * element.steepness;
    sums.widths += width;
    sums.heights += heights;
}

/// How far the sums of a stepped evaluation may stray, before kSumMargin and R.
struct TermSizes {
    double weights = 0.0;
    double friction = 0.0;
    double cohesion = 0.0;
};

/// The term sizes of a circle whose arithmetic meets X of size scaleX and Y of size scaleY.
inline TermSizes termSizes(const SizeSums& sums, const SectionSizes& section, double scaleX,
                           double scaleY) {
    const double columns = sums.widths * scaleY + sums.heights * scaleX;
    return {sums.weights + section.weight1 * columns, sums.friction + section.friction2 * columns,
            sums.cohesion + section.cohesionRate * scaleY * sums.steepLengths};
}

// The sums lie within this share of their terms' sizes, each times its lever, times R, of the
// direct evaluation's: the moves of the rotated ends and the roundings of the sums, with room
// to spare (docs/stepped-evaluation.md).
inline constexpr double kSumMargin = 1e-12;
inline constexpr double kRoundingMargin = 1e-14;  // relative, for the last roundings of a result

/// The bounds of a stepped result, or nothing where it is too close to call.
inline std::optional<OutcomeBounds> boundsOf(const CircleResult& result, const TermSizes& sizes,
                                             double kh, double mf) {
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

}  // namespace dorvo
