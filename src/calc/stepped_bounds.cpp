// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/stepped_bounds.h"

#include <algorithm>
#include <cmath>

namespace dorvo {

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
