// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <istream>
#include <string>
#include <string_view>
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

/// Reads the per-centre minima of a result stream one at a time, so that a search of any
/// number of centres is read in constant memory: its 055 records before the answer.
class CentreMinimumReader {
  public:
    explicit CentreMinimumReader(std::istream& records) : records_(records) {}

    /// The next minimum; false after the last one.
    bool next(CentreMinimum& minimum);

  private:
    /// The next line without its line end, valid until the next call; false at the end.
    bool nextLine(std::string_view& line);

    std::istream& records_;
    // Read in large blocks: a stream of millions of circles is read while the user waits.
    std::string buffer_;
    std::size_t lineStart_ = 0;
    std::string lastLine_;
    bool ended_ = false;
};

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

/// Whether a centre other than the critical one lies on the grid's edge with a minimum within
/// 0.5 % of the critical circle's Fs.
bool edgeCentreNearby(const ValidCircleSearch& search, const CircleResult& critical,
                      const CentreMinimum& minimum);

/// The warnings for a completed search whose critical circle is `critical`; `anEdgeCentreNearby`
/// tells whether `edgeCentreNearby` held for one of its centres.
std::vector<SearchEdge> searchEdgeWarnings(const ValidCircleSearch& search, const Section& section,
                                           const CircleResult& critical, bool anEdgeCentreNearby);

enum class WarningLanguage { English, Japanese };

/// The warning as the command line (English) or the desktop program (Japanese) says it, with
/// the direction in which to extend the search.
std::string describeSearchEdge(SearchEdge edge, WarningLanguage language);

}  // namespace dorvo
