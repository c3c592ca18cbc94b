// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/search_edges.h"

#include <cmath>

#include "model/line_io.h"
#include "model/number_text.h"
#include "model/results_format.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

/// The number after `marker` in a record, and the text after it.
bool numberAfter(std::string_view& text, std::string_view marker, double& value) {
    const TextAfter after = textAfter(text, marker);
    if (after.position == 0) return false;
    value = readReal(after.text);
    text = text.substr(text.find(marker) + marker.size());
    return true;
}

bool onGridEdge(const ValidCircleSearch& search, double rx, double ry) {
    const CircleSearchValues& v = search.values();
    const double column = std::round((rx - v.centreStartX()) / v.stepX());
    const double row = std::round((ry - v.centreStartY()) / v.stepY());
    return column <= 0.0 || column >= double(search.columns() - 1) || row <= 0.0 ||
           row >= double(search.rows() - 1);
}

}  // namespace

bool CentreMinimumReader::nextLine(std::string_view& line) {
    constexpr std::size_t kBlock = 1 << 20;
    for (std::size_t from = lineStart_;;) {
        const std::size_t end = buffer_.find('\n', from);
        if (end != buffer_.npos) {
            line =
                withoutLineEnd(std::string_view(buffer_).substr(lineStart_, end + 1 - lineStart_));
            lineStart_ = end + 1;
            return true;
        }
        buffer_.erase(0, lineStart_);  // the start of a line the next block ends
        lineStart_ = 0;
        const std::size_t kept = buffer_.size();
        buffer_.resize(kept + kBlock);
        records_.read(buffer_.data() + kept, static_cast<std::streamsize>(kBlock));
        buffer_.resize(kept + static_cast<std::size_t>(records_.gcount()));
        from = kept;
        if (buffer_.size() == kept) {
            if (buffer_.empty()) return false;
            lastLine_ = std::move(buffer_);  // a last line without a line end
            buffer_.clear();
            line = withoutLineEnd(lastLine_);
            return true;
        }
    }
}

bool CentreMinimumReader::next(CentreMinimum& minimum) {
    std::string_view line;
    while (!ended_ && nextLine(line)) {
        const ResultsLine kind = classifyResultsLine(line);
        if (kind == ResultsLine::Answer || kind == ResultsLine::End) break;
        if (!line.starts_with("055,")) continue;
        if (numberAfter(line, "Rx:", minimum.rx) && numberAfter(line, "Ry:", minimum.ry) &&
            numberAfter(line, "R:", minimum.r) && numberAfter(line, "=", minimum.fs)) {
            return true;
        }
    }
    ended_ = true;
    return false;
}

bool edgeCentreNearby(const ValidCircleSearch& search, const CircleResult& critical,
                      const CentreMinimum& minimum) {
    const bool criticalCentre = std::fabs(minimum.rx - critical.rx) < kEpsilon &&
                                std::fabs(minimum.ry - critical.ry) < kEpsilon;
    return !criticalCentre && onGridEdge(search, minimum.rx, minimum.ry) &&
           minimum.fs <= critical.fs * 1.005;
}

std::vector<SearchEdge> searchEdgeWarnings(const ValidCircleSearch& search, const Section& section,
                                           const CircleResult& critical, bool anEdgeCentreNearby) {
    std::vector<SearchEdge> warnings;
    const CircleSearchValues& v = search.values();
    const double column = std::round((critical.rx - v.centreStartX()) / v.stepX());
    const double row = std::round((critical.ry - v.centreStartY()) / v.stepY());
    // A grid of one column, row or radius is a choice, not an edge the search ran into.
    if (search.columns() > 1) {
        if (column <= 0.0) warnings.push_back(SearchEdge::GridLeft);
        if (column >= double(search.columns() - 1)) warnings.push_back(SearchEdge::GridRight);
    }
    if (search.rows() > 1) {
        if (row <= 0.0) warnings.push_back(SearchEdge::GridBottom);
        if (row >= double(search.rows() - 1)) warnings.push_back(SearchEdge::GridTop);
    }

    const double firstRadius = critical.ry - v.upperY();
    const double lastRadius = firstRadius + double(search.radiiPerCentre() - 1) * v.stepR();
    const double tolerance = 0.5 * v.stepR();
    if (search.radiiPerCentre() > 1) {
        if (std::fabs(critical.r - firstRadius) < tolerance) {
            warnings.push_back(SearchEdge::FirstRadius);
        }
        if (std::fabs(critical.r - lastRadius) < tolerance) {
            warnings.push_back(SearchEdge::LastRadius);
        }
    }

    if (anEdgeCentreNearby) warnings.push_back(SearchEdge::EdgeCentreNearby);
    if (!section.blocks.empty()) {
        if (critical.p1x <= section.blocks.front().xl + kEpsilon) {
            warnings.push_back(SearchEdge::SectionLeftEnd);
        }
        if (critical.p2x >= section.blocks.back().xr - kEpsilon) {
            warnings.push_back(SearchEdge::SectionRightEnd);
        }
    }
    return warnings;
}

std::string describeSearchEdge(SearchEdge edge, WarningLanguage language) {
    const bool en = language == WarningLanguage::English;
    switch (edge) {
        case SearchEdge::GridLeft:
            return en ? "the critical centre is on the left edge of the centre grid: extend the "
                        "grid to smaller X"
                      : "最小安全率の中心点が中心点範囲の左端にあります。範囲を左（X の小さい方）へ"
                        "広げてください";
        case SearchEdge::GridRight:
            return en ? "the critical centre is on the right edge of the centre grid: extend the "
                        "grid to larger X"
                      : "最小安全率の中心点が中心点範囲の右端にあります。範囲を右（X の大きい方）へ"
                        "広げてください";
        case SearchEdge::GridBottom:
            return en ? "the critical centre is on the bottom edge of the centre grid: extend the "
                        "grid downward"
                      : "最小安全率の中心点が中心点範囲の下端にあります。範囲を下へ広げてください";
        case SearchEdge::GridTop:
            return en ? "the critical centre is on the top edge of the centre grid: extend the "
                        "grid upward"
                      : "最小安全率の中心点が中心点範囲の上端にあります。範囲を上へ広げてください";
        case SearchEdge::FirstRadius:
            return en ? "the critical radius is the smallest its centre tried: raise the upper "
                        "slip-surface Y"
                      : "最小安全率の半径がその中心点の最小の半径です。上部すべり面座標 Y を上げて"
                        "ください";
        case SearchEdge::LastRadius:
            return en ? "the critical radius is the largest its centre tried: lower the lower "
                        "slip-surface Y"
                      : "最小安全率の半径がその中心点の最大の半径です。下部すべり面座標 Y を下げて"
                        "ください";
        case SearchEdge::EdgeCentreNearby:
            return en ? "a centre on the edge of the grid comes within 0.5 % of the minimum Fs: "
                        "extend the grid"
                      : "中心点範囲の端の中心点の安全率が最小値との差 0.5 % 以内です。範囲を広げて"
                        "ください";
        case SearchEdge::SectionLeftEnd:
            return en ? "the critical circle runs out of the section at its left end: extend the "
                        "section to the left"
                      : "最小安全率の円弧が断面の左端で切れています。断面を左へ延ばしてください";
        case SearchEdge::SectionRightEnd:
            return en ? "the critical circle runs out of the section at its right end: extend the "
                        "section to the right"
                      : "最小安全率の円弧が断面の右端で切れています。断面を右へ延ばしてください";
    }
    return {};
}

}  // namespace dorvo
