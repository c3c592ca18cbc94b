// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "model/project.h"
#include "render/drawing.h"
#include "render/figure_legend.h"
#include "render/fs_bands.h"
#include "render/result_overlay.h"

namespace dorvo {

/// The filled bands of the minimum Fs of each centre over the centre grid, as the figure
/// shows them.
struct FsContours {
    FsBandLimits bands;
    std::vector<BandArea> areas;
    /// The lines between the bands, segments x1, y1, x2, y2, one list per limit but the first.
    std::vector<std::vector<double>> limitLines;
    std::vector<double> unitLine;  // where Fs = 1.0
};

/// The contours of the project's centre grid; nothing when the search is not valid, the grid
/// has no cells or no centre has a result.
std::optional<FsContours> fsContoursOf(const Project& project,
                                       const std::vector<CentreLabel>& labels);

/// The colour of a band: reds below Fs = 1.0, then light orange through yellow and green to
/// blue for the highest, light enough for the labels to read on.
Colour fsBandColour(const FsBandLimits& bands, int band);

/// The colour of what marks Fs below 1.0: the hatch over those bands and the line of 1.0.
inline constexpr Colour kFsBelowOneColour = rgb(200, 0, 0);

/// Fills the bands, hatches those below Fs = 1.0, draws thin lines between the bands and a
/// bold one where Fs = 1.0.
void drawFsBands(ModelDrawing& draw, const FsContours& contours);

/// The legend of the bands, highest at the top, with the line of Fs = 1.0.
void drawFsLegend(Canvas& canvas, LegendShelf& shelf, const FsContours& contours, int fontHeightPx);

}  // namespace dorvo
