// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "calc/back_analysis.h"
#include "calc/restraint_force.h"
#include "calc/sensitivity.h"
#include "model/project.h"

namespace dorvo {

/// A table of an analysis as its dialog shows it: a heading row, then one row per line, every
/// cell UTF-8 text with its number already formatted.
using AnalysisTable = std::vector<std::vector<std::string>>;

/// The largest restraint force of each centre.
AnalysisTable restraintTable(const RestraintForce& force, std::string_view unit);

/// Co over φ on the back-analysis line.
AnalysisTable backAnalysisTable(const BackAnalysis& analysis);

/// Every parameter ordered by its swing, with the minimum Fs of each variation and, where its
/// critical circle moved, that circle.
AnalysisTable sensitivityTable(const Sensitivity& sensitivity, const Project& project);

/// The table as comma-separated values with CR LF line ends, a cell holding a comma or a
/// quote quoted.
std::string tableAsCsv(const AnalysisTable& table);

/// The table as tab-separated lines, as a spreadsheet takes it from the clipboard.
std::string tableAsTabs(const AnalysisTable& table);

}  // namespace dorvo
