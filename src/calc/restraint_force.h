// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <istream>
#include <optional>
#include <string_view>
#include <vector>

#include "calc/circle_evaluation.h"
#include "calc/section.h"
#include "model/project.h"

namespace dorvo {

/// The planned safety factor when the user enters none.
inline constexpr double kDefaultPlannedFs = 1.20;

/// The restraint force per metre of slope that raises a circle's Fs to `plannedFs`, acting
/// along its slip surface: (Fsp·MD − MR) / R, and 0 where the circle already reaches Fsp.
double requiredRestraintForce(double plannedFs, double md, double mr, double r);

/// One circle of the records with the force it needs.
struct RestraintCircle {
    double rx = 0.0;
    double ry = 0.0;
    double r = 0.0;
    double md = 0.0;
    double mr = 0.0;
    double fs = 0.0;
    double force = 0.0;
};

/// The restraint forces of a completed search, from its records.
struct RestraintForce {
    double plannedFs = kDefaultPlannedFs;
    /// The circle that needs the largest force; nothing when no circle needs any (every Fs
    /// reaches Fsp) or the records hold no circle.
    std::optional<RestraintCircle> governing;
    /// Where the governing circle's slip surface meets the ground, by evaluating it again;
    /// nothing when it cannot be evaluated from the rounded values of its record.
    std::optional<CircleResult> governingEnds;
    /// The critical circle (minimum Fs) of the answer, with the force it needs.
    std::optional<RestraintCircle> critical;
    /// The circle of each centre that needs the largest force (where none needs any, the one
    /// of lowest Fs), in search order; centres without a written circle are left out.
    std::vector<RestraintCircle> centreMaxima;
};

/// Reads every circle record (028, 038) and the answer of a result stream and finds the forces
/// for `plannedFs`. MD, MR and the circles are those the records print; ties keep the first
/// circle in search order.
RestraintForce restraintForceFromRecords(std::istream& records, double plannedFs,
                                         const Section& section);

/// The unit of a force per metre with the project's units: "tf/m" when it works in tf, else
/// "kN/m".
std::string_view forcePerMetreUnit(const Project& project);

}  // namespace dorvo
