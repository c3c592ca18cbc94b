// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineF>
#include <QPolygonF>
#include <vector>

#include "render/canvas.h"

namespace dorvo {

/// A hatch repeats every 8 screen pixels with lines one screen pixel thick; `pixelScale`
/// device pixels stand for one screen pixel.
double hatchLineWidth(double pixelScale);

/// The centre lines of a hatch inside an area given as closed polygons (odd-even rule), cut
/// at the area's edges: one direction of lines, or two for the crosses. Lines fall on
/// multiples of the period from the device origin, so neighbouring areas continue each
/// other's hatch. Cutting straight lines at polygon edges is exact and fast on every device.
std::vector<QLineF> hatchSegments(Fill fill, const std::vector<QPolygonF>& area, double pixelScale);

}  // namespace dorvo
