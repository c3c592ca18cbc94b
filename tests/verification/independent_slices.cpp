// SPDX-License-Identifier: GPL-3.0-or-later
#include "verification/independent_slices.h"

#include <cmath>
#include <vector>

namespace dorvo::verification {

namespace {

double groundAt(const Section& section, double x) {
    for (const SectionBlock& block : section.blocks) {
        if (x <= block.xr && block.lineCount > 0) return block.lineY(block.lineCount, x);
    }
    const SectionBlock& last = section.blocks.back();
    return last.lineY(last.lineCount, last.xr);
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

}  // namespace

SliceValues valuesBySlices(const Section& section, double rx, double ry, double r, int slices) {
    const SoilLayer& soil = section.layers.front();
    const double entry = crossing(section, rx, ry, r, rx - r, rx);
    const double exit = crossing(section, rx, ry, r, rx + r, rx);
    const double width = (exit - entry) / slices;
    constexpr int kColumnSteps = 20;
    double driving = 0.0;
    double ordinaryResisting = 0.0;
    struct Slice {
        double weight, sinA, cosA;
    };
    std::vector<Slice> all;
    for (int i = 0; i < slices; ++i) {
        const double left = entry + i * width;
        double area = 0.0;
        for (int k = 0; k < kColumnSteps; ++k) {
            const double x = left + (k + 0.5) * width / kColumnSteps;
            const double arc = ry - std::sqrt(r * r - (x - rx) * (x - rx));
            area += (groundAt(section, x) - arc) * width / kColumnSteps;
        }
        const double sinA = (left + width / 2 - rx) / r;
        const double cosA = std::sqrt(1.0 - sinA * sinA);
        const double weight = area * soil.gamma1;
        all.push_back({weight, sinA, cosA});
        driving += weight * sinA;
        ordinaryResisting += soil.co * width / cosA + weight * cosA * soil.tanPhi;
    }
    SliceValues values;
    values.ordinary = ordinaryResisting / driving;
    const auto bishopMap = [&](double fs) {
        double resisting = 0.0;
        for (const Slice& s : all)
            resisting +=
                (soil.co * width + s.weight * soil.tanPhi) / (s.cosA + s.sinA * soil.tanPhi / fs);
        return resisting / driving;
    };
    double fs = values.ordinary;
    for (int iteration = 0; iteration < 100; ++iteration) fs = bishopMap(fs);
    values.bishop = fs;
    const double step = 1e-6 * fs;
    values.bishopSlope = (bishopMap(fs + step) - bishopMap(fs - step)) / (2.0 * step);
    return values;
}

}  // namespace dorvo::verification
