// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "calc/probability_summary.h"
#include "render/canvas.h"

namespace dorvo {

/// What the page of a probabilistic analysis shows.
struct ProbabilityPageData {
    std::string title;  // UTF-8: the project and how the realisations were drawn
    ProbabilitySummary summary;
    double deterministicFs = 0.0;
};

/// Draws the histogram of Fs (above) and its cumulative curve (below) inside `page`, with
/// Fs = 1 marked in red, the deterministic Fs dashed, and the statistics beside the title.
void drawProbabilityPage(Canvas& canvas, const ProbabilityPageData& data, DeviceRect page);

}  // namespace dorvo
