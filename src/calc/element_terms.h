// SPDX-License-Identifier: GPL-3.0-or-later
// The physics of one element of a circle's arc, shared by the direct and the stepped
// evaluation: the soil column above the element, its strength and its shares of the moments.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "calc/arc_geometry.h"
#include "calc/circle_evaluation.h"
#include "calc/section.h"

namespace dorvo {

/// The heights of a block's lines at one end of an element; line 0, the base, at 0.
using LineHeights = std::array<double, kMaxBlockLines + 1>;

/// The block's lines at x, each interpolated between its two ends.
inline void placeHeights(const SectionBlock& block, double x, LineHeights& heights) {
    heights[0] = 0.0;
    const double width = block.xr - block.xl;
    for (int i = 1; i <= block.lineCount; ++i) {
        const SectionLine& line = block.lines[static_cast<std::size_t>(i)];
        heights[static_cast<std::size_t>(i)] =
            line.yLeft + (line.yRight - line.yLeft) * (x - block.xl) / width;
    }
}

/// An end of an element: where it lies on the arc and the heights of the block's lines there.
struct ElementEnd {
    double x;
    double y;
    const LineHeights& heights;
};

/// What the columns of one segment's elements have in common.
struct SegmentColumns {
    const Section& section;
    const SectionBlock& block;
    bool capped;  // above `cap` soil only loads the column
    double cap;
    double capArea;  // between an element's chord and its arc
};

/// The weights of the soil column above an element, walked from the ground down: W1 and W2
/// above a cap (unsupported, only loading) and down to the arc, and the layer the arc lies in.
struct ColumnWeights {
    double ground1 = 0.0;  // the ground above the element's two ends
    double ground2 = 0.0;
    double area = 0.0;
    double w1 = 0.0;
    double w2 = 0.0;
    const SoilLayer* baseLayer = nullptr;  // none: the column ends before the arc (R-Over)
    bool layerMissing = false;             // a line above the arc names a layer without a row
    int missingLayerNo = 0;                // that line's layer number
};

inline ColumnWeights weighColumn(const SegmentColumns& segment, const ElementEnd& a,
                                 const ElementEnd& b) {
    const SectionBlock& block = segment.block;
    const double cap = segment.cap;
    const double v = b.x - a.x;
    const double ground1 = a.heights[static_cast<std::size_t>(block.lineCount)];
    const double ground2 = b.heights[static_cast<std::size_t>(block.lineCount)];
    double yT1 = ground1;
    double yT2 = ground2;
    // Summed in locals, which stay in registers, and handed over whole.
    double area = 0.0;
    double w1 = 0.0;
    double w2 = 0.0;
    auto add = [&](const SoilLayer& layer, double piece) {
        area += piece;
        w1 += layer.gamma1 * piece;
        w2 += layer.gamma2 * piece;
    };
    for (int line = block.lineCount; line >= 1; --line) {
        const SectionLine& top = block.lines[static_cast<std::size_t>(line)];
        if (top.layer == kMissingLayer) {
            return {ground1, ground2, area, w1, w2, nullptr, true, top.layerNo};
        }
        const SoilLayer& layer = segment.section.layers[static_cast<std::size_t>(top.layer)];
        const double yB1 = a.heights[static_cast<std::size_t>(line - 1)];
        const double yB2 = b.heights[static_cast<std::size_t>(line - 1)];
        if (segment.capped) {
            if (yT1 > cap || yT2 > cap) {
                if (yB1 > cap && yB2 > cap) {
                    add(layer, ((yT2 - yB2) + (yT1 - yB1)) * v * 0.5);
                    yT1 = yB1;
                    yT2 = yB2;
                    continue;
                }
                add(layer, ((yT2 - cap) + (yT1 - cap)) * v * 0.5);
                yT1 = cap;
                yT2 = cap;
            }
        }
        if (a.y + kEpsilon >= yB1 && b.y + kEpsilon >= yB2) {
            add(layer, ((yT2 - b.y) + (yT1 - a.y)) * v * 0.5 + segment.capArea);
            return {ground1, ground2, area, w1, w2, &layer, false, 0};
        }
        add(layer, ((yT2 - yB2) + (yT1 - yB1)) * v * 0.5);
        yT1 = yB1;
        yT2 = yB2;
    }
    return {ground1, ground2, area, w1, w2, nullptr, false, 0};
}

/// How far right of an element's left end its column's centroid lies, for a column of width
/// v whose heights above the arc are h1 and h2 at its ends.
inline double centroidOffset(double v, double h1, double h2) {
    return v * (h1 + 2.0 * h2) / (3.0 * (h1 + h2));
}

/// The strength along an element's arc: W2·tanφ of its column and Co + kZ at its depth.
struct ElementStrength {
    double friction;
    double cohesion;
};

inline ElementStrength elementStrength(const SoilLayer& layer, double w2, double depth) {
    return {layer.tanPhi * w2, layer.co + layer.k * depth};
}

/// Z, the depth of an element's centroid on the arc below Yc; none above it.
inline double cohesionDepth(const Section& section, double arcY) {
    return std::max(section.yc - arcY, 0.0);
}

/// An element's shares of the moments about the centre, each before it is multiplied by R; or
/// their sums over the arc. The moments are those the calculation dialog states:
/// Md = R·ΣW1·sinθ, Me = R·ΣW1·cosθ·kh, MT = R·ΣW2·cosθ·tanφ, ME = R·ΣW2·sinθ·tanφ·kh and
/// MC = R·Σ(Co + kZ)·L.
struct MomentTerms {
    double slide = 0.0;        // W1·sinθ, of Md
    double quakeSlide = 0.0;   // W1·cosθ·kh, of Me
    double friction = 0.0;     // W2·cosθ·tanφ, of MT
    double quakeRelief = 0.0;  // W2·sinθ·tanφ·kh, of ME
    double cohesion = 0.0;     // (Co + kZ)·L, of MC
};

/// The terms of an element of arc length L, its column weighing W1, at the angle θ of its
/// column's centroid.
inline MomentTerms elementTerms(double w1, const ElementStrength& strength, double sinTheta,
                                double cosTheta, double kh, double length) {
    return {w1 * sinTheta, w1 * cosTheta * kh, strength.friction * cosTheta,
            strength.friction * sinTheta * kh, strength.cohesion * length};
}

inline void addTerms(MomentTerms& sums, const MomentTerms& element) {
    sums.slide += element.slide;
    sums.quakeSlide += element.quakeSlide;
    sums.friction += element.friction;
    sums.quakeRelief += element.quakeRelief;
    sums.cohesion += element.cohesion;
}

// The two below are inline, as the rest: an evaluation that handed its sums to a function of
// another file would let its state escape, and its element loop would then keep that state in
// memory and reload it after every call of sine and cosine.

/// Mf: the concentrated loads between the arc's entry and exit, about the centre's X.
inline double loadMoment(const Section& section, const Circle& circle, const Arc& arc) {
    double mf = 0.0;
    for (const ConcentratedForce& load : section.loads) {
        if (arc.entry.x <= load.x && load.x <= arc.exit.x) mf += load.force * (load.x - circle.rx);
    }
    return mf;
}

/// The result of a circle from the sums of its elements' terms and Mf: MD = Md + Me + Mf,
/// MR = MT − ME + MC and Fs = MR / MD; false where one of them is not finite.
inline bool circleResult(const Circle& circle, const Arc& arc, const MomentTerms& sums, double mf,
                         CircleResult& result) {
    const double r = circle.r;
    result = {circle.rx, circle.ry,     r,           0,           0,          0,
              0,         kNoSolutionFs, arc.entry.x, arc.entry.y, arc.exit.x, arc.exit.y};
    result.mr = (sums.friction - sums.quakeRelief + sums.cohesion) * r;
    result.md = (sums.quakeSlide + sums.slide) * r + mf;
    result.mc = sums.cohesion * r;
    result.mtMe = (sums.friction - sums.quakeRelief) * r;
    if (result.md > kEpsilon && result.mr > kEpsilon) result.fs = result.mr / result.md;
    return std::isfinite(result.fs) && std::isfinite(result.md) && std::isfinite(result.mr);
}

}  // namespace dorvo
