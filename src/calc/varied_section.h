// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "calc/section.h"
#include "model/project.h"

namespace dorvo {

/// A number of the project that an analysis may vary.
enum class VariedQuantity { Gamma1, Gamma2, Phi, Co, K, SeismicCoefficient, LoadForce };

/// Which number: a quantity of the layer with this No., of the concentrated load in this slot
/// (1 … 5), or the seismic coefficient (no number).
struct VariedParameter {
    VariedQuantity quantity = VariedQuantity::Co;
    int number = 0;
    bool operator==(const VariedParameter&) const = default;
};

/// Where a varied parameter sits in a prepared section of its project.
struct SectionSlot {
    VariedQuantity quantity = VariedQuantity::Co;
    std::size_t index = 0;  // into Section::layers or Section::loads
};

/// The parameter's place in the section prepared from this project; nothing when the project
/// has no row of that layer No. or nothing in that load slot.
std::optional<SectionSlot> sectionSlot(const Project& project, const VariedParameter& parameter);

/// The parameter's value as the project holds it (φ in degrees).
double projectValue(const Project& project, const VariedParameter& parameter);

/// Gives a copy of a prepared section another value of one parameter (φ in degrees); false,
/// leaving the section as it was, for a value the calculation would refuse in a cell.
bool setSectionValue(Section& section, const SectionSlot& slot, double value);

/// "layer 2 co", "load 1 force", "kh": how messages and tables name a parameter.
std::string parameterName(const VariedParameter& parameter);

}  // namespace dorvo
