// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/back_analysis.h"
#include "calc/probability_summary.h"
#include "calc/restraint_force.h"
#include "calc/sensitivity.h"

namespace dorvo {

// The few lines each design-analysis dialog shows above its table, in UTF-8.

/// The governing circle with its force and slip-surface ends, and the critical circle's force.
std::string restraintSummary(const RestraintForce& force, std::string_view unit);

/// Why a back-analysis found no line.
std::string_view backAnalysisRefusal(BackAnalysisStatus status);

/// The circle, the layer's current strength and share, and the two points of the line at its
/// current φ and Co; a warning when the layer's share is too small to decide anything.
std::string backAnalysisSummary(const BackAnalysis& analysis);

/// The plain search's minimum Fs and how many parameters were varied, or where it stopped.
std::string sensitivitySummary(const Sensitivity& sensitivity, std::size_t parameters);

/// Mean and spread of Fs, P(Fs < 1) with its interval and β, and how many of the realisations
/// were computed when the run stopped early.
std::string probabilitySummary(const ProbabilitySummary& summary, std::int64_t planned);

}  // namespace dorvo
