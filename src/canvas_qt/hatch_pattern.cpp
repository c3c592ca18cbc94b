#include "canvas_qt/hatch_pattern.h"

#include <QPolygonF>
#include <cmath>

namespace dorvo {

namespace {

constexpr double kPeriodPx = 8.0;
constexpr double kLineWidthPx = 1.0;

enum class Direction { Horizontal, Vertical, Falling, Rising };

/// Every line of one direction; a falling line runs down to the right (x − y constant on the
/// device, whose Y grows downward), a rising one up to the right (x + y constant).
QPainterPath linesOf(Direction direction, const QRectF& b, double period, double width) {
    QPainterPath lines;
    auto firstAt = [&](double from) { return std::floor((from - width) / period) * period; };
    switch (direction) {
        case Direction::Horizontal:
            for (double y = firstAt(b.top()); y < b.bottom(); y += period) {
                lines.addRect(QRectF(b.left(), y, b.width(), width));
            }
            break;
        case Direction::Vertical:
            for (double x = firstAt(b.left()); x < b.right(); x += period) {
                lines.addRect(QRectF(x, b.top(), width, b.height()));
            }
            break;
        case Direction::Falling:
            for (double c = firstAt(b.left() - b.bottom()); c < b.right() - b.top(); c += period) {
                lines.addPolygon(QPolygonF({{c + b.top(), b.top()},
                                            {c + width + b.top(), b.top()},
                                            {c + width + b.bottom(), b.bottom()},
                                            {c + b.bottom(), b.bottom()}}));
                lines.closeSubpath();
            }
            break;
        case Direction::Rising:
            for (double c = firstAt(b.left() + b.top()); c < b.right() + b.bottom(); c += period) {
                lines.addPolygon(QPolygonF({{c - b.top(), b.top()},
                                            {c + width - b.top(), b.top()},
                                            {c + width - b.bottom(), b.bottom()},
                                            {c - b.bottom(), b.bottom()}}));
                lines.closeSubpath();
            }
            break;
    }
    return lines;
}

std::vector<Direction> directionsOf(Fill fill) {
    switch (fill) {
        case Fill::Horizontal:
            return {Direction::Horizontal};
        case Fill::Vertical:
            return {Direction::Vertical};
        case Fill::ForwardDiagonal:
            return {Direction::Falling};
        case Fill::BackwardDiagonal:
            return {Direction::Rising};
        case Fill::Cross:
            return {Direction::Horizontal, Direction::Vertical};
        case Fill::DiagonalCross:
            return {Direction::Falling, Direction::Rising};
        case Fill::Solid:
            break;
    }
    return {};
}

}  // namespace

std::vector<QPainterPath> hatchLines(Fill fill, const QRectF& bounds, double pixelScale) {
    std::vector<QPainterPath> lines;
    for (Direction direction : directionsOf(fill)) {
        lines.push_back(
            linesOf(direction, bounds, kPeriodPx * pixelScale, kLineWidthPx * pixelScale));
    }
    return lines;
}

}  // namespace dorvo
