// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/drawing.h"

#include <cmath>
#include <cstdlib>

#include "model/number_text.h"

namespace dorvo {

Colour colourFromText(std::string_view text) {
    return readColour(text) & 0x00ffffffu;
}

void drawDashedLine(Canvas& canvas, DevicePoint from, DevicePoint to, int dash, int gap, int width,
                    Colour colour) {
    if (width == 0) return;
    if (gap <= 0) {
        canvas.drawLine(from, to, PenStyle::Solid, width, colour);
        return;
    }
    if (dash <= 0) return;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0.0) return;
    const double ux = dx / length;
    const double uy = dy / length;
    const double period = double(dash) + double(gap);
    int dashes = 0;
    for (double at = 0.0; at < length && dashes < 1000000; at += period, ++dashes) {
        const double end = std::min(at + dash, length);
        canvas.drawLine({from.x + int(std::lround(ux * at)), from.y + int(std::lround(uy * at))},
                        {from.x + int(std::lround(ux * end)), from.y + int(std::lround(uy * end))},
                        PenStyle::Solid, width, colour);
    }
}

void drawFrame(Canvas& canvas, DeviceRect r, PenStyle style, int width, Colour colour) {
    const DevicePoint points[] = {{r.left, r.top},
                                  {r.right, r.top},
                                  {r.right, r.bottom},
                                  {r.left, r.bottom},
                                  {r.left, r.top}};
    canvas.drawPolyline(points, style, width, colour);
}

int fontHeightPx(const FontSlot& slot, double dpiY) {
    return clampToDevice(dpiY * slot.sizePoints * 0.013888888888888888);
}

bool makeFont(Canvas& canvas, const FontSlot& slot, double dpiY) {
    return canvas.selectFont(
        {slot.face, fontHeightPx(slot, dpiY), static_cast<Colour>(slot.colour), 0, false});
}

int ModelDrawing::scaled(int pixels) const {
    return static_cast<int>(std::lround(pixels * canvas_.pixelScale()));
}

void ModelDrawing::line(double x1, double y1, double x2, double y2, int width, Colour colour) {
    if (width == 0) return;
    canvas_.drawLine(toDevice(x1, y1), toDevice(x2, y2), PenStyle::Solid, scaled(width), colour);
}

void ModelDrawing::dashedLine(double x1, double y1, double x2, double y2, int dash, int gap,
                              int width, Colour colour) {
    drawDashedLine(canvas_, toDevice(x1, y1), toDevice(x2, y2), scaled(dash), scaled(gap),
                   scaled(width), colour);
}

void ModelDrawing::frame(double left, double top, double right, double bottom, int width,
                         Colour colour) {
    const DevicePoint a = toDevice(left, top);
    const DevicePoint b = toDevice(right, bottom);
    drawFrame(canvas_, {a.x, a.y, b.x, b.y}, PenStyle::Solid, scaled(width), colour);
}

void ModelDrawing::fillQuadrilaterals(const std::vector<double>& xy, Fill fill, Colour colour) {
    std::vector<DevicePoint> points;
    std::vector<int> counts;
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) points.push_back(toDevice(xy[i], xy[i + 1]));
    for (std::size_t i = 0; i < points.size() / 4; ++i) counts.push_back(4);
    canvas_.fillPolygons(points, counts, fill, colour);
}

void ModelDrawing::fillPolygons(const std::vector<double>& xy, const std::vector<int>& counts,
                                Fill fill, Colour colour) {
    std::vector<DevicePoint> points;
    points.reserve(xy.size() / 2);
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) points.push_back(toDevice(xy[i], xy[i + 1]));
    canvas_.fillPolygons(points, counts, fill, colour);
}

void ModelDrawing::circle(double x, double y, double radius, int width, Colour colour) {
    const DevicePoint centre = toDevice(x, y);
    const int r = clampToDevice(radius * mapping_.pxPerMetreY);
    canvas_.drawEllipse({centre.x - r, centre.y - r, centre.x + r, centre.y + r}, PenStyle::Solid,
                        scaled(width), colour);
}

void ModelDrawing::arc(double left, double top, double right, double bottom, double startX,
                       double startY, double endX, double endY, int width, Colour colour) {
    const DevicePoint a = toDevice(left, top);
    const DevicePoint b = toDevice(right, bottom);
    canvas_.drawArc({a.x, a.y, b.x, b.y}, toDevice(startX, startY), toDevice(endX, endY),
                    PenStyle::Solid, scaled(width), colour);
}

void ModelDrawing::text(double x, double y, std::string_view utf8) {
    canvas_.drawText(toDevice(x, y), utf8);
}

void ModelDrawing::clip(double left, double top, double right, double bottom) {
    const DevicePoint a = toDevice(left, top);
    const DevicePoint b = toDevice(right, bottom);
    canvas_.clipToRect(
        {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
}

}  // namespace dorvo
