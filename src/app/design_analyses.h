// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>

#include "calc/back_analysis.h"
#include "calc/restraint_force.h"
#include "model/project.h"
#include "model/result.h"
#include "render/restraint_layer.h"

namespace dorvo {

/// The restraint forces of the results file of `project` for a planned Fs; fails when the
/// section cannot be calculated or the file cannot be read.
Result<RestraintForce> restraintForceOfResults(const Project& project,
                                               const std::filesystem::path& results,
                                               double plannedFs);

/// How the figure marks the governing circle; nothing when no circle needs a force or its
/// ends are not known.
std::optional<RestraintMark> restraintMarkOf(const RestraintForce& force);

/// The planned Fs, the target Fs and the limits of a sensitivity as the user types them:
/// a number in its range, or a failure naming the field.
Result<double> typedPlannedFs(std::string_view typed);
Result<double> typedTargetFs(std::string_view typed);
Result<double> typedVariationPercent(std::string_view typed, std::string_view label);

/// Gives the layer numbered `layerNo` the cohesion Co and angle φ (degrees) of a pair of the
/// back-analysis, each written as the shortest text that reads back as the same number; fails
/// when no layer row has the number or a value is not usable.
Status applyLayerStrength(Project& project, int layerNo, const StrengthPair& pair);

}  // namespace dorvo
