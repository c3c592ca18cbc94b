// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/section.h"

namespace dorvo::verification {

/// A circle's factors of safety by vertical slices of equal width, independent of Dorvo's
/// angular elements.
struct SliceValues {
    double ordinary = 0.0;
    double bishop = 0.0;
    double bishopSlope = 0.0;  // dG/dF of the Bishop map F ↦ G(F) at its root
};

/// Both methods on `slices` vertical slices, each slice's weight from its soil column, its base
/// angle at its middle. For a section in one soil, without loads or seismic coefficient.
SliceValues valuesBySlices(const Section& section, double rx, double ry, double r, int slices);

}  // namespace dorvo::verification
