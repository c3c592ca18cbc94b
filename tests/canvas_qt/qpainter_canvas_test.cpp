// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_qt/qpainter_canvas.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace dorvo {
namespace {

QImage whiteImage(QSize size, double dpi) {
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

bool inked(const QImage& image, QPoint at) {
    return image.pixel(at) != qRgb(255, 255, 255);
}

// Hatches

/// A square of `side` device pixels filled with a black hatch at a resolution.
QImage hatchedSquare(Fill fill, int side, double dpi) {
    QImage image = whiteImage({side, side}, dpi);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, dpi);
        const DevicePoint square[] = {{0, 0}, {side, 0}, {side, side}, {0, side}};
        const int counts[] = {4};
        canvas.fillPolygons(square, counts, fill, 0);
    }
    return image;
}

/// The distance between neighbouring hatch lines along a row (or a column), in device pixels.
double hatchPeriod(Fill fill, double dpi, bool alongColumn) {
    const QImage image = hatchedSquare(fill, 400, dpi);
    std::vector<int> lineStarts;
    bool previous = true;  // a line cut by the square's edge does not start there
    for (int i = 0; i < image.width(); ++i) {
        const bool here = inked(image, alongColumn ? QPoint(203, i) : QPoint(i, 203));
        if (here && !previous) lineStarts.push_back(i);
        previous = here;
    }
    if (lineStarts.size() < 2) return 0.0;
    return double(lineStarts.back() - lineStarts.front()) / double(lineStarts.size() - 1);
}

TEST(QPainterCanvasHatch, LinesKeepTheirPaperSpacingAtEveryResolution) {
    struct Case {
        Fill fill;
        bool alongColumn;
    };
    for (const Case& c :
         {Case{Fill::Horizontal, true}, Case{Fill::Vertical, false},
          Case{Fill::ForwardDiagonal, false}, Case{Fill::BackwardDiagonal, false}}) {
        const double screen = hatchPeriod(c.fill, 96, c.alongColumn);
        const double print = hatchPeriod(c.fill, 300, c.alongColumn);
        EXPECT_NEAR(screen, 8.0, 0.1) << "hatch " << int(c.fill);
        EXPECT_NEAR(print / screen, 300.0 / 96.0, 0.02) << "hatch " << int(c.fill);
    }
}

TEST(QPainterCanvasHatch, ForwardDiagonalFallsToTheRightAndBackwardRises) {
    auto firstInkOnRow = [](const QImage& image, int row) {
        int x = 0;
        while (x < image.width() && !inked(image, {x, row})) ++x;
        return x;
    };
    const QImage forward = hatchedSquare(Fill::ForwardDiagonal, 64, 96);
    EXPECT_EQ(firstInkOnRow(forward, 22), (firstInkOnRow(forward, 20) + 2) % 8);
    const QImage backward = hatchedSquare(Fill::BackwardDiagonal, 64, 96);
    EXPECT_EQ(firstInkOnRow(backward, 22), (firstInkOnRow(backward, 20) + 6) % 8);
}

TEST(QPainterCanvasFill, PolygonsSharingAnEdgeLeaveNoSeam) {
    QImage image = whiteImage({64, 64}, 96);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, 96);
        // Two triangles of one square, split along its diagonal.
        const DevicePoint triangles[] = {{8, 8}, {56, 8}, {56, 56}, {8, 8}, {56, 56}, {8, 56}};
        const int counts[] = {3, 3};
        canvas.fillPolygons(triangles, counts, Fill::Solid, 0);
    }
    for (int i = 10; i < 54; ++i) {
        EXPECT_EQ(image.pixel(i, i), qRgb(0, 0, 0)) << "on the diagonal at " << i;
    }
}

// Clipping

const QSize kPage(400, 300);
const QRect kWindow(QPoint(100, 80), QPoint(299, 219));  // pixels 100 to 299, 80 to 219

/// A band, a line, a dashed line, a circle and a label, each reaching past the clip window.
void drawClippedScene(QPainter& painter) {
    QPainterCanvas canvas(painter, 96);
    canvas.clipToRect({kWindow.left(), kWindow.top(), kWindow.right() + 1, kWindow.bottom() + 1});
    const DevicePoint band[] = {{40, 150}, {360, 150}, {360, 260}, {40, 260}};
    const DevicePoint block[] = {{150, 40}, {250, 40}, {250, 120}, {150, 120}};
    const int counts[] = {4};
    canvas.fillPolygons(band, counts, Fill::ForwardDiagonal, 0x008000);
    canvas.fillPolygons(block, counts, Fill::Solid, 0xff0000);
    canvas.drawLine({40, 100}, {360, 200}, PenStyle::Solid, 3, 0);
    canvas.drawLine({20, 210}, {380, 210}, PenStyle::Dash, 2, 0x0000ff);
    canvas.drawEllipse({250, 170, 350, 270}, PenStyle::Solid, 2, 0);
    canvas.selectFont({"MS Mincho", 24, 0, 0, false});
    canvas.drawText({260, 100}, "1.234 Fs");
    canvas.removeClip();
}

/// Whether any pixel outside the window has ink, and whether any inside has.
struct InkCheck {
    bool outside = false;
    bool inside = false;
};

InkCheck inkOf(const QImage& image) {
    InkCheck ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!inked(image, {x, y})) continue;
            (kWindow.contains(x, y) ? ink.inside : ink.outside) = true;
        }
    }
    return ink;
}

/// The points of every path in the page content of a PDF, as the page's pixels place them.
std::vector<QPointF> pathPointsOf(const QByteArray& pdf) {
    std::vector<QPointF> points;
    for (qsizetype at = pdf.indexOf("stream"); at >= 0; at = pdf.indexOf("stream", at + 1)) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end") continue;
        const qsizetype start = pdf.indexOf('\n', at) + 1;
        const qsizetype end = pdf.indexOf("endstream", start);
        // qUncompress wants the inflated size first; a guess that is too small is grown.
        QByteArray deflated(4, '\0');
        deflated[2] = 1;
        const QByteArray content = qUncompress(deflated + pdf.mid(start, end - start));
        const bool text = std::all_of(content.begin(), content.end(), [](char c) {
            return c == '\n' || c == '\r' || (c >= ' ' && c <= '~');
        });
        if (content.isEmpty() || !text) continue;  // fonts and other binary streams
        std::vector<double> operands;
        for (const QByteArray& token : content.simplified().split(' ')) {
            bool number = false;
            const double value = token.toDouble(&number);
            if (number) {
                operands.push_back(value);
                continue;
            }
            const std::size_t pairs = token == "m" || token == "l" ? 1 : token == "c" ? 3 : 0;
            for (std::size_t i = 0; i < pairs && operands.size() >= 2 * pairs; ++i) {
                const std::size_t first = operands.size() - 2 * pairs + 2 * i;
                points.emplace_back(operands[first], operands[first + 1]);
            }
            EXPECT_NE(token, "re") << "a rectangle or clip the check cannot place";
            operands.clear();
        }
    }
    return points;
}

TEST(QPainterCanvasClip, PngSvgAndPdfShowNothingOutsideTheClipWindow) {
    QImage png = whiteImage(kPage, 96);
    {
        QPainter painter(&png);
        drawClippedScene(painter);
    }
    EXPECT_TRUE(inkOf(png).inside);
    EXPECT_FALSE(inkOf(png).outside);

    QBuffer svg;
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setResolution(96);
    generator.setSize(kPage);
    generator.setViewBox(QRect(QPoint(0, 0), kPage));
    {
        QPainter painter(&generator);
        drawClippedScene(painter);
    }
    QImage svgPixels = whiteImage(kPage, 96);
    {
        QSvgRenderer renderer(svg.data());
        QPainter painter(&svgPixels);
        renderer.render(&painter);
    }
    EXPECT_TRUE(inkOf(svgPixels).inside);
    EXPECT_FALSE(inkOf(svgPixels).outside);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(96);
        writer.setPageSize(QPageSize(QSizeF(kPage) * 72.0 / 96.0, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        drawClippedScene(painter);
    }
    const std::vector<QPointF> points = pathPointsOf(pdf.data());
    EXPECT_GT(points.size(), 20u);
    // The PDF keeps vectors: its paths themselves must stay within the window.
    const QRectF window = QRectF(kWindow).adjusted(-0.01, -0.01, 1.01, 1.01);
    const auto outside =
        std::ranges::find_if(points, [&](QPointF p) { return !window.contains(p); });
    EXPECT_EQ(outside, points.end()) << outside->x() << ", " << outside->y();
}

}  // namespace
}  // namespace dorvo
