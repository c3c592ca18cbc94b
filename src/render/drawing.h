// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "render/canvas.h"
#include "render/page_setup.h"
#include "settings/font_slots.h"

namespace dorvo {

/// Reads a colour text of the settings: automatic base, 0 (black) when it is not a number.
Colour colourFromText(std::string_view text);

/// Dashes of a device length stepping toward the end point along each axis; nothing for a
/// width or dash of 0, a plain line for a gap of 0, at most 1,000,000 dashes.
void drawDashedLine(Canvas& canvas, DevicePoint from, DevicePoint to, int dash, int gap, int width,
                    Colour colour);

/// The outline of a rectangle as one closed polyline of five points.
void drawFrame(Canvas& canvas, DeviceRect rect, PenStyle style, int width, Colour colour);

/// Selects a font slot at a cell height of trunc(dpiY × size / 72) pixels; reports
/// "Can't create font" through the return value when the device refuses it.
bool makeFont(Canvas& canvas, const FontSlot& slot, double dpiY);

/// The cell height of a font slot in device pixels.
int fontHeightPx(const FontSlot& slot, double dpiY);

/// Draws in model coordinates through a device mapping: the model-coordinate twins of the
/// primitives. Widths, dashes and gaps are setting pixels, scaled to the device.
class ModelDrawing {
  public:
    ModelDrawing(Canvas& canvas, DeviceMapping& mapping) : canvas_(canvas), mapping_(mapping) {}

    Canvas& canvas() { return canvas_; }
    DeviceMapping& mapping() { return mapping_; }

    DevicePoint toDevice(double x, double y) const {
        return {toDeviceX(mapping_, x), toDeviceY(mapping_, y)};
    }
    int scaled(int pixels) const;

    void line(double x1, double y1, double x2, double y2, int width, Colour colour);
    void dashedLine(double x1, double y1, double x2, double y2, int dash, int gap, int width,
                    Colour colour);
    void frame(double left, double top, double right, double bottom, int width, Colour colour);
    void fillQuadrilaterals(const std::vector<double>& xy, Fill fill, Colour colour);
    /// Fills polygons of x, y pairs with the point count of each as one area.
    void fillPolygons(const std::vector<double>& xy, const std::vector<int>& counts, Fill fill,
                      Colour colour);
    /// A full circle; the radius is converted with the vertical scale.
    void circle(double x, double y, double radius, int width, Colour colour);
    void arc(double left, double top, double right, double bottom, double startX, double startY,
             double endX, double endY, int width, Colour colour);
    void text(double x, double y, std::string_view utf8);
    void clip(double left, double top, double right, double bottom);

  private:
    Canvas& canvas_;
    DeviceMapping& mapping_;
};

}  // namespace dorvo
