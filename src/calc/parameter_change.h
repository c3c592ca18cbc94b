// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "calc/search_edges.h"
#include "model/project.h"

namespace dorvo {

/// A number of the project that a design analysis may vary.
enum class ParameterKind { Gamma1, Gamma2, Phi, Co, K, SeismicCoefficient, LoadForce };

/// One parameter: a cell of a layer row or a load row (`row`, from 1), or Kh of the settings.
struct ProjectParameter {
    ParameterKind kind = ParameterKind::SeismicCoefficient;
    int row = 0;
    bool operator==(const ProjectParameter&) const = default;
};

/// The parameters of a project in table order: γ1, γ2, φ, Co and k of every layer row, Kh, and
/// the force of every load whose X is given.
std::vector<ProjectParameter> variableParameters(const Project& project);

/// The parameter's value as the calculation reads it.
double parameterValue(const Project& project, ProjectParameter parameter);

/// A copy of the project with the parameter's cell holding `value`, written so that it reads
/// back as exactly the same double.
Project withParameterValue(const Project& project, ProjectParameter parameter, double value);

/// The layer No. of a layer parameter's row, as the tables show it.
int parameterLayerNo(const Project& project, ProjectParameter parameter);

/// The parameter as the command line ("layer 2 phi", "Kh", "load 1 F") or the desktop
/// program and its pages ("層2 φ", "Kh", "荷重1 F") name it.
std::string describeParameter(const Project& project, ProjectParameter parameter,
                              WarningLanguage language);

}  // namespace dorvo
