// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/section.h"

namespace dorvo::verification {

/// Where the horizontal seismic force kh·W of a slice acts, which sets its lever about the
/// circle's centre.
enum class QuakeLever {
    Base,      // at the slice's base, lever R·cos α: Dorvo's convention
    Centroid,  // at the centroid of the slice's soil column: the textbooks' convention
};

/// A circle's factors of safety by vertical slices of equal width, independent of Dorvo's
/// angular elements.
struct SliceValues {
    double ordinary = 0.0;
    double bishop = 0.0;
    double bishopSlope = 0.0;  // dG/dF of the Bishop map F ↦ G(F) at its root
};

/// Both methods on `slices` vertical slices, each slice's weights (γ1 and γ2) and centroid
/// from its soil column in the section's layers, its base angle and strength at its middle.
/// The seismic coefficient acts as Dorvo's ordinary method states it, its lever as `lever`
/// says in the simplified Bishop method. For a section without loads, and circles whose slip
/// surface leaves the ground below the centre's height.
SliceValues valuesBySlices(const Section& section, double rx, double ry, double r, int slices,
                           QuakeLever lever = QuakeLever::Base);

}  // namespace dorvo::verification
