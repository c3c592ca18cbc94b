#pragma once

#include <QPainterPath>
#include <QRectF>
#include <vector>

#include "render/canvas.h"

namespace dorvo {

/// The lines of a hatch as areas covering `bounds`, one path for each direction of lines (two
/// for the crosses). A hatch repeats every 8 screen pixels with lines one screen pixel thick;
/// `pixelScale` device pixels stand for one screen pixel. Lines fall on multiples of the period
/// from the device origin, so neighbouring areas continue each other's hatch.
std::vector<QPainterPath> hatchLines(Fill fill, const QRectF& bounds, double pixelScale);

}  // namespace dorvo
