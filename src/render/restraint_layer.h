// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "render/drawing.h"

namespace dorvo {

struct RenderInputs;

/// The circle that needs the largest restraint force, as the figure marks it.
struct RestraintMark {
    double rx = 0.0;
    double ry = 0.0;
    double r = 0.0;
    double p1x = 0.0;
    double p1y = 0.0;
    double p2x = 0.0;
    double p2y = 0.0;
    double force = 0.0;
    double plannedFs = 0.0;
};

/// The governing circle dashed in its own colour with its radius lines, and a box beside the
/// middle of its slip surface that gives P and Fsp. The box is left out when it would reach out
/// of the figure window (device pixels).
void drawRestraintMark(ModelDrawing& draw, const RenderInputs& inputs, const RestraintMark& mark,
                       const DeviceRect& window);

}  // namespace dorvo
