// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace dorvo {

/// A Windows colour value 0x00BBGGRR: red is the low byte.
using Colour = std::uint32_t;

enum class PenStyle { Solid, Dash, Dot };

/// How drawText places its point on the text.
enum class TextAlign { TopLeft, TopCentre, BottomCentre };

/// Hatches 0 to 5; any other value fills solid.
enum class Fill : int {
    Horizontal = 0,
    Vertical = 1,
    ForwardDiagonal = 2,
    BackwardDiagonal = 3,
    Cross = 4,
    DiagonalCross = 5,
    Solid = 6,
};

struct DevicePoint {
    int x = 0;
    int y = 0;
    bool operator==(const DevicePoint&) const = default;
};

struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const DeviceRect&) const = default;
};

/// A font as the pages ask for it: face (code page 932), cell height in device pixels, text
/// colour, escapement in degrees and underline.
struct FontRequest {
    std::string face;
    int heightPx = 0;
    Colour colour = 0;
    int angleDegrees = 0;
    bool underline = false;
};

/// The device the pages draw on: screen, printer, PDF, image or a recording for tests.
/// Coordinates are device pixels from the top-left corner of the printable area, Y downward.
class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual double dpiX() const = 0;
    virtual double dpiY() const = 0;
    /// How many device pixels stand for one pixel of the line-style settings (1 on screen).
    virtual double pixelScale() const { return 1.0; }

    virtual void drawLine(DevicePoint from, DevicePoint to, PenStyle style, int width,
                          Colour colour) = 0;
    virtual void drawPolyline(std::span<const DevicePoint> points, PenStyle style, int width,
                              Colour colour) = 0;
    /// Fills the polygons as one area (alternate rule), so that neighbours show no seam.
    virtual void fillPolygons(std::span<const DevicePoint> points, std::span<const int> counts,
                              Fill fill, Colour colour) = 0;
    /// A counter-clockwise arc on the ellipse of the box, from the start to the end point.
    virtual void drawArc(DeviceRect box, DevicePoint start, DevicePoint end, PenStyle style,
                         int width, Colour colour) = 0;
    virtual void drawEllipse(DeviceRect box, PenStyle style, int width, Colour colour) = 0;
    /// Word-wrapped, unclipped text inside the rectangle shrunk by one pixel on each side.
    virtual void drawTextBox(DeviceRect rect, std::string_view utf8, Colour colour,
                             int heightPx) = 0;
    /// Text at a point with the current alignment and font; UTF-8.
    virtual void drawText(DevicePoint at, std::string_view utf8) = 0;
    virtual void setTextAlign(TextAlign align) = 0;
    /// Selects a font; false when it cannot be created (the previous font stays).
    virtual bool selectFont(const FontRequest& font) = 0;
    virtual void clipToRect(DeviceRect rect) = 0;
    virtual void removeClip() = 0;
};

}  // namespace dorvo
