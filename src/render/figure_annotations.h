// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "model/project.h"
#include "render/drawing.h"
#include "render/figure_blocks.h"
#include "render/figure_legend.h"
#include "render/render_inputs.h"

namespace dorvo {

// Boxes of text that would reach out of the figure window (device pixels) are left out.

/// Each load as an arrow down onto the ground with its value above it.
void drawLoadArrows(ModelDrawing& draw, const RenderInputs& inputs,
                    const std::vector<FigureBlock>& blocks, const DeviceRect& window);

/// The critical circle's Fs line ("Fs = 1.013"), centre and radius in a box inside the
/// circle, beside the middle of its arc. Without an Fs line the box leaves it out.
void drawCriticalCircleLabel(ModelDrawing& draw, const RenderInputs& inputs,
                             const CriticalCircle& circle, std::string_view fsLine,
                             const DeviceRect& window);

/// A legend with the scale as "1 : N", a scale bar and a table of the soil layers: fill,
/// layer No., γ1, γ2, φ, Co and k with their units.
void drawScaleAndLayerLegend(ModelDrawing& draw, LegendShelf& shelf, const RenderInputs& inputs,
                             int fontHeightPx);

/// The length of the scale bar: the round length (1, 2 or 5 × 10ⁿ metres) that is longest
/// while at most 50 mm on paper at 1 : scale.
double scaleBarMetres(int scale);

}  // namespace dorvo
