// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <optional>

#include "render/canvas.h"

namespace dorvo {

/// The resolution the pages' sizes in points are drawn at on screen.
inline constexpr double kScreenDpi = 96.0;

/// Draws the pages with QPainter on any paint device: screen, printer, PDF, image or SVG.
/// Clipping cuts the geometry itself rather than asking the painter, which an SVG device would
/// ignore, so every device shows the same page; text boxes are not clipped. Hatches are drawn
/// as lines, so their spacing follows the resolution on every device.
class QPainterCanvas : public Canvas {
  public:
    /// Draws at `dpi` pixels per inch; the painter's transformation maps them to its device.
    /// `painter` must be active on its device for the canvas's whole life.
    QPainterCanvas(QPainter& painter, double dpi);

    double dpiX() const override { return dpi_; }
    double dpiY() const override { return dpi_; }
    double pixelScale() const override;

    void drawLine(DevicePoint from, DevicePoint to, PenStyle style, int width,
                  Colour colour) override;
    void drawPolyline(std::span<const DevicePoint> points, PenStyle style, int width,
                      Colour colour) override;
    void fillPolygons(std::span<const DevicePoint> points, std::span<const int> counts, Fill fill,
                      Colour colour) override;
    void drawArc(DeviceRect box, DevicePoint start, DevicePoint end, PenStyle style, int width,
                 Colour colour) override;
    void drawEllipse(DeviceRect box, PenStyle style, int width, Colour colour) override;
    void drawTextBox(DeviceRect rect, std::string_view utf8, Colour colour, int heightPx) override;
    void drawText(DevicePoint at, std::string_view utf8) override;
    void setTextAlign(TextAlign align) override { align_ = align; }
    bool selectFont(const FontRequest& font) override;
    void clipToRect(DeviceRect rect) override;
    void removeClip() override;

  private:
    void stroke(const QPainterPath& path, const QPen& pen);
    /// The part of an area inside the clip rectangle.
    QPainterPath clipped(const QPainterPath& area) const;

    QPainter& painter_;
    double dpi_;
    TextAlign align_ = TextAlign::TopLeft;
    QFont font_;
    QFontMetricsF metrics_;  // of font_ on this device, measured once per font
    QColor textColour_ = Qt::black;
    int angleDegrees_ = 0;
    std::optional<QRectF> clip_;
};

/// A Windows colour value 0x00BBGGRR as a QColor.
QColor toQColor(Colour colour);

/// The installed family that stands in for a face name of the settings ("ＭＳ 明朝" and the
/// other Windows faces become the IPA faces), so Japanese text never shows as boxes.
QString installedFamilyFor(const QString& face);

}  // namespace dorvo
