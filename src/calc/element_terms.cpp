// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/element_terms.h"

#include <cmath>

namespace dorvo {

double loadMoment(const Section& section, const Circle& circle, const Arc& arc) {
    double mf = 0.0;
    for (const ConcentratedForce& load : section.loads) {
        if (arc.entry.x <= load.x && load.x <= arc.exit.x) mf += load.force * (load.x - circle.rx);
    }
    return mf;
}

bool circleResult(const Circle& circle, const Arc& arc, const MomentTerms& sums, double mf,
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
