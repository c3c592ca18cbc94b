// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "calc/circle_evaluation.h"
#include "calc/circle_search.h"

namespace dorvo {

/// The minimum of one centre as its 055 record gives it.
struct CentreMinimum {
    double rx = 0.0;
    double ry = 0.0;
    double r = 0.0;
    double fs = 0.0;
};

/// The per-centre minima of a result stream: its 055 records before the answer.
std::vector<CentreMinimum> readCentreMinima(std::istream& records);

/// Why the true minimum may lie outside what the search tried.
enum class SearchEdge {
    GridLeft,          // the critical centre is in the grid's first column
    GridRight,         // last column
    GridBottom,        // first row
    GridTop,           // last row
    FirstRadius,       // the critical radius is the smallest its centre tried
    LastRadius,        // the largest
    EdgeCentreNearby,  // a centre on the grid's edge comes within 0.5 % of the minimum
    SectionLeftEnd,    // the critical circle is cut at the section's left end
    SectionRightEnd,   // at its right end
};

/// The warnings for a completed search whose critical circle is `critical`.
std::vector<SearchEdge> searchEdgeWarnings(const ValidCircleSearch& search, const Section& section,
                                           const CircleResult& critical,
                                           const std::vector<CentreMinimum>& minima);

enum class WarningLanguage { English, Japanese };

/// The warning as the command line (English) or the desktop program (Japanese) says it, with
/// the direction in which to extend the search.
std::string describeSearchEdge(SearchEdge edge, WarningLanguage language);

}  // namespace dorvo
