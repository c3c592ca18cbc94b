// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_qt/qpainter_canvas.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <cmath>

#include "canvas_qt/hatch_pattern.h"
#include "model/encoding.h"

namespace dorvo {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::PenStyle toQtStyle(PenStyle style) {
    switch (style) {
        case PenStyle::Dash:
            return Qt::DashLine;
        case PenStyle::Dot:
            return Qt::DotLine;
        case PenStyle::Solid:
            break;
    }
    return Qt::SolidLine;
}

QPen penFor(PenStyle style, int width, Colour colour) {
    QPen pen(toQColor(colour));
    pen.setStyle(toQtStyle(style));
    pen.setWidth(std::max(1, width));
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QRect toQRect(DeviceRect r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)).normalized();
}

QPolygonF toQPolygon(std::span<const DevicePoint> points) {
    QPolygonF polygon;
    for (const DevicePoint& p : points) polygon << QPointF(p.x, p.y);
    return polygon;
}

/// Angle of a point seen from the centre of a box, counter-clockwise on the page from
/// 3 o'clock, in degrees.
double angleOnBox(const QRectF& box, DevicePoint p) {
    const double dx = p.x - box.center().x();
    const double dy =
        (box.center().y() - p.y) * (box.height() > 0 ? box.width() / box.height() : 1);
    return std::atan2(dy, dx) * 180.0 / M_PI;
}

}  // namespace

QColor toQColor(Colour colour) {
    return QColor(int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff));
}

QString installedFamilyFor(const QString& face) {
    static const QList<QPair<QString, QString>> kWindowsFaces = {
        {QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho")},
        {QStringLiteral("MS Mincho"), QStringLiteral("IPAMincho")},
        {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho")},
        {QStringLiteral("MS PMincho"), QStringLiteral("IPAPMincho")},
        {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")},
        {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")},
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("メイリオ"), QStringLiteral("IPAPGothic")},
    };
    for (const auto& [windows, installed] : kWindowsFaces) {
        if (face == windows) return installed;
    }
    if (QFontDatabase::hasFamily(face)) return face;
    return QStringLiteral("IPAMincho");
}

QPainterCanvas::QPainterCanvas(QPainter& painter, double dpi)
    : painter_(painter),
      dpi_(dpi),
      font_(installedFamilyFor(QStringLiteral("ＭＳ 明朝"))),
      metrics_(font_, painter.device()) {
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBackgroundMode(Qt::TransparentMode);
}

double QPainterCanvas::pixelScale() const {
    return std::max(1.0, dpi_ / kScreenDpi);
}

void QPainterCanvas::stroke(const QPainterPath& path, const QPen& pen) {
    const double reach = pen.widthF();
    if (!clip_ || clip_->contains(path.controlPointRect().adjusted(-reach, -reach, reach, reach))) {
        painter_.strokePath(path, pen);
        return;
    }
    QPainterPathStroker outline(pen);
    painter_.fillPath(clipped(outline.createStroke(path)), pen.color());
}

QPainterPath QPainterCanvas::clipped(const QPainterPath& area) const {
    if (!clip_ || clip_->contains(area.controlPointRect())) return area;
    QPainterPath window;
    window.addRect(*clip_);
    return area.intersected(window);
}

void QPainterCanvas::drawLine(DevicePoint from, DevicePoint to, PenStyle style, int width,
                              Colour colour) {
    if (width == 0) return;
    QPainterPath path(QPointF(from.x, from.y));
    path.lineTo(to.x, to.y);
    stroke(path, penFor(style, width, colour));
}

void QPainterCanvas::drawPolyline(std::span<const DevicePoint> points, PenStyle style, int width,
                                  Colour colour) {
    if (width == 0 || points.empty()) return;
    QPainterPath path;
    path.addPolygon(toQPolygon(points));
    stroke(path, penFor(style, width, colour));
}

void QPainterCanvas::fillPolygons(std::span<const DevicePoint> points, std::span<const int> counts,
                                  Fill fill, Colour colour) {
    // One path for all of them, so that polygons sharing an edge leave no seam between them.
    QPainterPath area;
    area.setFillRule(Qt::OddEvenFill);
    std::size_t at = 0;
    for (int count : counts) {
        const std::size_t end = std::min(points.size(), at + std::size_t(std::max(0, count)));
        area.addPolygon(toQPolygon(points.subspan(at, end - at)));
        area.closeSubpath();
        at = end;
    }
    area = clipped(area);
    const QColor qColour = toQColor(colour);
    if (fill == Fill::Solid) {
        painter_.fillPath(area, qColour);
        return;
    }
    std::vector<QPolygonF> polygons;
    for (const QPolygonF& polygon : area.toFillPolygons()) polygons.push_back(polygon);
    const std::vector<QLineF> segments = hatchSegments(fill, polygons, pixelScale());
    QPen pen(qColour, hatchLineWidth(pixelScale()), Qt::SolidLine, Qt::FlatCap);
    painter_.setPen(pen);
    painter_.drawLines(segments.data(), int(segments.size()));
}

void QPainterCanvas::drawArc(DeviceRect box, DevicePoint start, DevicePoint end, PenStyle style,
                             int width, Colour colour) {
    if (width == 0) return;
    const QRectF rect = toQRect(box);
    if (rect.width() <= 0 || rect.height() <= 0) return;
    const double from = angleOnBox(rect, start);
    double span = angleOnBox(rect, end) - from;
    while (span <= 0.0) span += 360.0;
    QPainterPath path;
    path.arcMoveTo(rect, from);
    path.arcTo(rect, from, span);
    stroke(path, penFor(style, width, colour));
}

void QPainterCanvas::drawEllipse(DeviceRect box, PenStyle style, int width, Colour colour) {
    if (width == 0) return;
    QPainterPath path;
    path.addEllipse(QRectF(toQRect(box)));
    stroke(path, penFor(style, width, colour));
}

void QPainterCanvas::drawTextBox(DeviceRect rect, std::string_view utf8, Colour colour,
                                 int heightPx) {
    QFont font = font_;
    font.setPixelSize(std::max(1, heightPx));
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(toQColor(colour));
    painter_.drawText(toQRect(rect).adjusted(1, 1, -1, -1), Qt::TextWordWrap, fromUtf8(utf8));
    painter_.restore();
}

void QPainterCanvas::drawText(DevicePoint at, std::string_view utf8) {
    const QString text = fromUtf8(utf8);
    const QFontMetricsF& metrics = metrics_;
    double x = 0.0;
    double baseline = metrics.ascent();
    if (align_ != TextAlign::TopLeft) x = -metrics.horizontalAdvance(text) / 2.0;
    if (align_ == TextAlign::BottomCentre) baseline = -metrics.descent();
    QTransform placed = QTransform::fromTranslate(at.x, at.y);
    if (angleDegrees_ != 0) placed.rotate(-angleDegrees_);
    if (clip_) {
        // Glyphs may reach a little past their advance: the margin lets the clip see them.
        const double margin = 2.0 * pixelScale();
        const QRectF box = placed.mapRect(metrics.boundingRect(text).translated(x, baseline))
                               .adjusted(-margin, -margin, margin, margin);
        if (!clip_->intersects(box)) return;
        if (!clip_->contains(box)) {
            QPainterPath outline;
            outline.addText(QPointF(x, baseline), font_, text);
            painter_.fillPath(clipped(placed.map(outline)), textColour_);
            return;
        }
    }
    painter_.setFont(font_);
    painter_.setPen(textColour_);
    if (angleDegrees_ == 0) {
        // Tables draw most of the text there is: spare them the painter's state changes.
        painter_.drawText(QPointF(at.x + x, at.y + baseline), text);
        return;
    }
    painter_.save();
    painter_.setTransform(placed, true);
    painter_.drawText(QPointF(x, baseline), text);
    painter_.restore();
}

bool QPainterCanvas::selectFont(const FontRequest& request) {
    const QString face = QString::fromUtf8(toDisplayText(request.face));
    QFont font(installedFamilyFor(face));
    font.setPixelSize(std::max(1, request.heightPx));
    font.setUnderline(request.underline);
    font_ = font;
    metrics_ = QFontMetricsF(font_, painter_.device());
    textColour_ = toQColor(request.colour);
    angleDegrees_ = request.angleDegrees;
    return true;
}

void QPainterCanvas::clipToRect(DeviceRect rect) {
    const QRectF window =
        QRectF(QPointF(rect.left, rect.top), QPointF(rect.right, rect.bottom)).normalized();
    clip_ = clip_ ? clip_->intersected(window) : window;
}

void QPainterCanvas::removeClip() {
    clip_.reset();
}

}  // namespace dorvo
