// SPDX-License-Identifier: GPL-3.0-or-later
#include "verification/independent_slices.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dorvo::verification {

namespace {

const SectionBlock& blockAt(const Section& section, double x) {
    for (const SectionBlock& block : section.blocks) {
        if (x <= block.xr && block.lineCount > 0) return block;
    }
    return section.blocks.back();
}

double groundAt(const Section& section, double x) {
    const SectionBlock& block = blockAt(section, x);
    return block.lineY(block.lineCount, x);
}

/// The X where the circle meets the ground between an X above it and an X below it.
double crossing(const Section& section, double rx, double ry, double r, double above,
                double below) {
    const auto depth = [&](double x) {
        return groundAt(section, x) - (ry - std::sqrt(r * r - (x - rx) * (x - rx)));
    };
    for (int i = 0; i < 200; ++i) {
        const double middle = 0.5 * (above + below);
        (depth(middle) > 0.0 ? below : above) = middle;
    }
    return 0.5 * (above + below);
}

/// The soil of a column of unit width at x above the height `arc`.
struct Column {
    double w1 = 0.0;
    double w2 = 0.0;
    double moment = 0.0;  // of w1 about y = 0, for the centroid's height
    const SoilLayer* base = nullptr;
};

Column columnAt(const Section& section, double x, double arc) {
    const SectionBlock& block = blockAt(section, x);
    Column column;
    for (int i = block.lineCount; i >= 1; --i) {
        const double top = block.lineY(i, x);
        const double bottom = block.lineY(i - 1, x);
        const SoilLayer& soil =
            section
                .layers[static_cast<std::size_t>(block.lines[static_cast<std::size_t>(i)].layer)];
        const double low = std::max(bottom, arc);
        if (top > low) {
            column.w1 += soil.gamma1 * (top - low);
            column.w2 += soil.gamma2 * (top - low);
            column.moment += soil.gamma1 * (top - low) * 0.5 * (top + low);
        }
        if (arc >= bottom) {
            column.base = &soil;
            break;
        }
    }
    return column;
}

struct Slice {
    double w1, w2, sinA, cosA, lever, cohesion, tanPhi;
};

}  // namespace

SliceValues valuesBySlices(const Section& section, double rx, double ry, double r, int slices,
                           QuakeLever lever) {
    const double entry = crossing(section, rx, ry, r, rx - r, rx);
    const double exit = crossing(section, rx, ry, r, rx + r, rx);
    const double width = (exit - entry) / slices;
    const double kh = section.kh;
    constexpr int kColumnSteps = 20;
    std::vector<Slice> all;
    for (int i = 0; i < slices; ++i) {
        const double left = entry + i * width;
        const double middle = left + width / 2;
        const double baseY = ry - std::sqrt(r * r - (middle - rx) * (middle - rx));
        double w1 = 0.0;
        double w2 = 0.0;
        double moment = 0.0;
        for (int k = 0; k < kColumnSteps; ++k) {
            const double x = left + (k + 0.5) * width / kColumnSteps;
            const Column column = columnAt(section, x, ry - std::sqrt(r * r - (x - rx) * (x - rx)));
            w1 += column.w1 * width / kColumnSteps;
            w2 += column.w2 * width / kColumnSteps;
            moment += column.moment * width / kColumnSteps;
        }
        const Column baseColumn = columnAt(section, middle, baseY);
        const SoilLayer& soil = baseColumn.base ? *baseColumn.base : section.layers.front();
        const double sinA = (middle - rx) / r;
        const double cosA = std::sqrt(1.0 - sinA * sinA);
        const double centroidY = w1 > 0.0 ? moment / w1 : baseY;
        const double cohesion = soil.co + soil.k * std::max(section.yc - baseY, 0.0);
        all.push_back({w1, w2, sinA, cosA, lever == QuakeLever::Base ? r * cosA : ry - centroidY,
                       cohesion, soil.tanPhi});
    }
    double driving = 0.0;
    double ordinaryDriving = 0.0;
    double ordinaryResisting = 0.0;
    for (const Slice& s : all) {
        driving += s.w1 * s.sinA + kh * s.w1 * s.lever / r;
        ordinaryDriving += s.w1 * (s.sinA + kh * s.cosA);
        ordinaryResisting += s.cohesion * width / s.cosA + s.w2 * (s.cosA - kh * s.sinA) * s.tanPhi;
    }
    SliceValues values;
    values.ordinary = ordinaryResisting / ordinaryDriving;
    const auto bishopMap = [&](double fs) {
        double resisting = 0.0;
        for (const Slice& s : all)
            resisting += (s.cohesion * width + s.w2 * s.tanPhi) / (s.cosA + s.sinA * s.tanPhi / fs);
        return resisting / driving;
    };
    // The root of G(F) = F by bisection above the F at which every mα turns positive, where
    // G(F) − F starts positive and ends negative.
    double lo = 1e-9;
    for (const Slice& s : all) {
        if (s.sinA < 0.0) lo = std::max(lo, -s.sinA * s.tanPhi / s.cosA * (1.0 + 1e-12));
    }
    double hi = std::max(10.0, 10.0 * values.ordinary);
    for (int doubling = 0; doubling < 60 && bishopMap(hi) > hi; ++doubling) hi *= 2.0;
    for (int iteration = 0; iteration < 200; ++iteration) {
        const double middle = 0.5 * (lo + hi);
        (bishopMap(middle) > middle ? lo : hi) = middle;
    }
    const double fs = 0.5 * (lo + hi);
    values.bishop = fs;
    const double step = 1e-6 * fs;
    values.bishopSlope = (bishopMap(fs + step) - bishopMap(fs - step)) / (2.0 * step);
    return values;
}

}  // namespace dorvo::verification
