// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "calc/circle_explanation.h"

namespace dorvo {

/// The columns of the element table of a circle, as headed in its CSV.
inline constexpr std::array<const char*, 19> kElementColumns = {
    "No", "x1", "y1",      "x2", "y2", "theta_deg", "width", "area", "layer", "W1",
    "W2", "c",  "phi_deg", "L",  "Md", "Me",        "MT",    "ME",   "MC"};

/// Every element as the texts of its columns, the numbers with `decimals` decimals.
std::vector<std::array<std::string, kElementColumns.size()>> elementRows(
    const CircleExplanation& circle, int decimals);

/// The sums of the element shares and the record they make up.
struct ExplanationSums {
    double md = 0.0, me = 0.0, mf = 0.0, mt = 0.0, mE = 0.0, mc = 0.0;
    double drivingMoment() const { return md + me + mf; }
    double resistingMoment() const { return mt - mE + mc; }
};

ExplanationSums explanationSums(const CircleExplanation& circle);

/// The element table as CSV: a heading line, a line per element and the line of sums.
std::string explanationCsv(const CircleExplanation& circle);

}  // namespace dorvo
