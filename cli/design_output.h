// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "calc/back_analysis.h"
#include "calc/restraint_force.h"
#include "calc/sensitivity.h"
#include "model/project.h"

namespace dorvo::cli {

/// The restraint forces as the summary of `calc` prints them.
void printRestraintForce(const RestraintForce& force, std::string_view unit, std::ostream& out);
nlohmann::json restraintForceJson(const RestraintForce& force, std::string_view unit);

/// The back-analysis, with the pair the user chose by Co or φ when there is one.
void printBackAnalysis(const BackAnalysis& analysis, const std::optional<StrengthPair>& chosen,
                       std::ostream& out);
nlohmann::json backAnalysisJson(const BackAnalysis& analysis,
                                const std::optional<StrengthPair>& chosen);

/// The sensitivity table, ordered by swing.
void printSensitivity(const Sensitivity& sensitivity, const SensitivityLimits& limits,
                      const Project& project, std::ostream& out);
nlohmann::json sensitivityJson(const Sensitivity& sensitivity, const SensitivityLimits& limits,
                               const Project& project);

/// Why a back-analysis found no line, in the command line's words; empty when it found one.
std::string_view backAnalysisProblem(BackAnalysisStatus status);

}  // namespace dorvo::cli
