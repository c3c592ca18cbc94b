// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/parameter_change.h"

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

bool isLayerParameter(ParameterKind kind) {
    return kind != ParameterKind::SeismicCoefficient && kind != ParameterKind::LoadForce;
}

template <class ProjectType>
auto& cellOf(ProjectType& project, ProjectParameter parameter) {
    switch (parameter.kind) {
        case ParameterKind::Gamma1:
            return project.layer(parameter.row).gamma1;
        case ParameterKind::Gamma2:
            return project.layer(parameter.row).gamma2;
        case ParameterKind::Phi:
            return project.layer(parameter.row).phi;
        case ParameterKind::Co:
            return project.layer(parameter.row).co;
        case ParameterKind::K:
            return project.layer(parameter.row).k;
        case ParameterKind::LoadForce:
            return project.load(parameter.row).force;
        case ParameterKind::SeismicCoefficient:
            break;
    }
    return project.settings.line(settings_line::kKh);
}

}  // namespace

std::vector<ProjectParameter> variableParameters(const Project& project) {
    std::vector<ProjectParameter> parameters;
    for (int row = 1; row <= layerCount(project); ++row) {
        for (ParameterKind kind : {ParameterKind::Gamma1, ParameterKind::Gamma2, ParameterKind::Phi,
                                   ParameterKind::Co, ParameterKind::K}) {
            parameters.push_back({kind, row});
        }
    }
    parameters.push_back({ParameterKind::SeismicCoefficient, 0});
    for (int row = 1; row <= kMaxLoads; ++row) {
        if (isPresent(project.load(row).x)) parameters.push_back({ParameterKind::LoadForce, row});
    }
    return parameters;
}

double parameterValue(const Project& project, ProjectParameter parameter) {
    return readReal(cellOf(project, parameter));
}

Project withParameterValue(const Project& project, ProjectParameter parameter, double value) {
    Project changed = project;
    cellOf(changed, parameter) = formatC("%.17g", value);
    return changed;
}

int parameterLayerNo(const Project& project, ProjectParameter parameter) {
    if (!isLayerParameter(parameter.kind)) return 0;
    return readInteger(project.layer(parameter.row).layerNo);
}

std::string describeParameter(const Project& project, ProjectParameter parameter,
                              WarningLanguage language) {
    const bool english = language == WarningLanguage::English;
    const auto layer = [&](const char* english_, const char* japanese) {
        return formatC(english ? "layer %d %s" : "層%d %s", parameterLayerNo(project, parameter),
                       english ? english_ : japanese);
    };
    switch (parameter.kind) {
        case ParameterKind::Gamma1:
            return layer("gamma1", "γ1");
        case ParameterKind::Gamma2:
            return layer("gamma2", "γ2");
        case ParameterKind::Phi:
            return layer("phi", "φ");
        case ParameterKind::Co:
            return layer("Co", "Co");
        case ParameterKind::K:
            return layer("k", "k");
        case ParameterKind::LoadForce:
            return formatC(english ? "load %d F" : "荷重%d F", parameter.row);
        case ParameterKind::SeismicCoefficient:
            break;
    }
    return "Kh";
}

}  // namespace dorvo
