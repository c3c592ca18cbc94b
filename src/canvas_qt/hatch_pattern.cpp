// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_qt/hatch_pattern.h"

#include <algorithm>
#include <cmath>

namespace dorvo {

namespace {

constexpr double kPeriodPx = 8.0;
constexpr double kLineWidthPx = 1.0;

/// A family of parallel lines n·p = c; `along` runs along them.
struct Direction {
    QPointF normal;
    QPointF along;
};

// Horizontal, vertical, falling (down to the right on the device, whose Y grows downward:
// x − y constant) and rising (x + y constant).
constexpr Direction kHorizontal{{0, 1}, {1, 0}};
constexpr Direction kVertical{{1, 0}, {0, 1}};
constexpr Direction kFalling{{1, -1}, {1, 1}};
constexpr Direction kRising{{1, 1}, {1, -1}};

std::vector<Direction> directionsOf(Fill fill) {
    switch (fill) {
        case Fill::Horizontal:
            return {kHorizontal};
        case Fill::Vertical:
            return {kVertical};
        case Fill::ForwardDiagonal:
            return {kFalling};
        case Fill::BackwardDiagonal:
            return {kRising};
        case Fill::Cross:
            return {kHorizontal, kVertical};
        case Fill::DiagonalCross:
            return {kFalling, kRising};
        case Fill::Solid:
            break;
    }
    return {};
}

double dot(QPointF a, QPointF b) {
    return a.x() * b.x() + a.y() * b.y();
}

void addLinesOf(const Direction& direction, const std::vector<QPolygonF>& area, double period,
                double width, std::vector<QLineF>& segments) {
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    for (const QPolygonF& polygon : area) {
        for (const QPointF& point : polygon) {
            low = std::min(low, dot(direction.normal, point));
            high = std::max(high, dot(direction.normal, point));
        }
    }
    if (!(low <= high)) return;
    std::vector<QPointF> crossings;
    for (double c = std::floor(low / period) * period + width / 2.0; c < high; c += period) {
        crossings.clear();
        for (const QPolygonF& polygon : area) {
            const qsizetype count = polygon.size();
            for (qsizetype i = 0; i < count; ++i) {
                const QPointF a = polygon[i];
                const QPointF b = polygon[(i + 1) % count];
                const double da = dot(direction.normal, a) - c;
                const double db = dot(direction.normal, b) - c;
                if ((da < 0.0) == (db < 0.0)) continue;
                crossings.push_back(a + (b - a) * (da / (da - db)));
            }
        }
        std::sort(crossings.begin(), crossings.end(), [&](QPointF p, QPointF q) {
            return dot(direction.along, p) < dot(direction.along, q);
        });
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            // Ends drawn a line width short, so that the square ends of a slanting line and
            // their smoothed edge stay inside the area.
            QLineF segment(crossings[k], crossings[k + 1]);
            const double length = segment.length();
            if (length <= 2.0 * width) continue;
            const QPointF inset = (segment.p2() - segment.p1()) * (width / length);
            segments.emplace_back(segment.p1() + inset, segment.p2() - inset);
        }
    }
}

}  // namespace

double hatchLineWidth(double pixelScale) {
    return kLineWidthPx * pixelScale;
}

std::vector<QLineF> hatchSegments(Fill fill, const std::vector<QPolygonF>& area,
                                  double pixelScale) {
    std::vector<QLineF> segments;
    for (const Direction& direction : directionsOf(fill)) {
        addLinesOf(direction, area, kPeriodPx * pixelScale, hatchLineWidth(pixelScale), segments);
    }
    return segments;
}

}  // namespace dorvo
