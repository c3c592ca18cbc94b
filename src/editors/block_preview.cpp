// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/block_preview.h"

#include <algorithm>

#include "model/encoding.h"
#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr int kCircleRadius = 3;
constexpr int kCirclePen = 2;
constexpr int kLabelHeight = 10;
constexpr double kBaseBelowBottom = 1.7;

struct Range {
    double from = 0.0;
    double to = 100.0;
};

Range xRange(const PreviewFrame& frame) {
    const double width = frame.xRight - frame.xLeft;
    if (width < 1.0) return {};
    return {frame.xLeft - 0.6 * width, frame.xRight + 0.4 * width};
}

Range yRange(const PreviewFrame& frame) {
    const double height = frame.top - frame.bottom;
    if (height < 1.0) return {};
    return {frame.bottom - 0.6 * height, frame.top + 0.6 * height};
}

/// Pixels of model values in one redraw.
struct PreviewMapping {
    Range x;
    Range y;
    DeviceRect window;

    int px(double value) const {
        return mapToPixel(value, x.from, x.to, window.left, window.right);
    }
    int py(double value) const {
        return mapToPixel(value, y.from, y.to, window.bottom, window.top);
    }
};

/// The pixel columns shared by every line.
struct Columns {
    int left = 0;
    int right = 0;
    int label = 0;
    int farLeft = 0;
    int stub = 0;
    bool farLeftDrawn = false;
};

class SceneBuilder {
  public:
    explicit SceneBuilder(std::vector<PreviewShape>& shapes) : shapes_(shapes) {}

    void circle(int x, int y, Colour colour) {
        shapes_.push_back({PreviewShape::Kind::Circle, {x, y}, {x, y}, colour, {}});
    }
    void line(int x1, int y1, int x2, int y2, Colour colour) {
        shapes_.push_back({PreviewShape::Kind::Line, {x1, y1}, {x2, y2}, colour, {}});
    }
    void label(int x, int y, const std::string& text) {
        shapes_.push_back({PreviewShape::Kind::Label, {x, y}, {x, y}, kPreviewBlue, text});
    }

  private:
    std::vector<PreviewShape>& shapes_;
};

void addListedLine(SceneBuilder& scene, const PreviewMapping& map, const Columns& columns, int base,
                   const TableRow& line) {
    const int yLeft = map.py(readReal(line[0]));
    const bool hasRight = isPresent(line[1]);
    const int yRight = map.py(readReal(line[1]));
    scene.circle(columns.left, yLeft, kPreviewRed);
    if (hasRight) {
        scene.circle(columns.right, yRight, kPreviewRed);
        scene.line(columns.left, yLeft, columns.right, yRight, kPreviewBlack);
    } else {
        scene.line(columns.left, yLeft, columns.stub, yLeft, kPreviewGrey);
    }
    if (!columns.farLeftDrawn)
        scene.line(columns.farLeft, yLeft, columns.left, yLeft, kPreviewGrey);
    scene.line(columns.left, base, columns.left, yLeft, kPreviewBlack);
    scene.line(columns.right, base, columns.right, yRight, hasRight ? kPreviewBlack : kPreviewGrey);
    if (!line[2].empty()) {
        const double middle = (readReal(line[0]) + readReal(line[1])) / 2.0;
        scene.label(columns.label - 1, map.py(middle), line[2]);
    }
}

}  // namespace

PreviewFrame previewFrame(std::string_view xLeft, std::string_view xRight,
                          std::string_view farLeftX, const EditorTable& lines,
                          std::vector<LeftBlockLine> leftLines) {
    PreviewFrame frame;
    frame.xLeft = readReal(xLeft);
    frame.xRight = readReal(xRight);
    frame.farLeftX = readReal(farLeftX);
    for (const TableRow& row : lines.rows) {
        for (int column : {0, 1}) {
            const std::string& cell = row[static_cast<std::size_t>(column)];
            if (isPresent(cell)) frame.top = std::max(frame.top, readReal(cell));
        }
    }
    if (!leftLines.empty()) {
        frame.top = std::max({frame.top, leftLines.back().yLeft, leftLines.back().yRight});
        frame.bottom = std::max(frame.bottom, leftLines.front().yRight);
    }
    frame.leftLines = std::move(leftLines);
    return frame;
}

int mapToPixel(double value, double from, double to, int p, int q) {
    if (to - from < 0.01) return 0;
    const double pixel = p + (value - from) / (to - from) * (q - p);
    if (pixel < -999999.9 || pixel > 99999.9) return 0;
    return static_cast<int>(pixel);
}

std::vector<PreviewShape> previewScene(PreviewFrame& frame, const EditorTable& lines,
                                       const LineEntry& pending, DeviceRect window) {
    const PreviewMapping map{xRange(frame), yRange(frame), window};
    if (frame.bottom < 0.0) frame.bottom = readReal(lines.cell(1, 1));
    const int base = map.py(frame.bottom - kBaseBelowBottom);

    Columns columns;
    columns.left = map.px(frame.xLeft);
    columns.right = map.px(frame.xRight);
    columns.label = (columns.left + columns.right) / 2;
    columns.farLeftDrawn = frame.farLeftX >= 0.0;
    columns.farLeft = columns.farLeftDrawn ? map.px(frame.farLeftX)
                                           : columns.left - (columns.right - columns.left) / 8;
    columns.stub = columns.left + (columns.right - columns.left) / 4;

    std::vector<PreviewShape> shapes;
    SceneBuilder scene(shapes);
    for (const LeftBlockLine& line : frame.leftLines) {
        if (line.yLeft < 0.01 || line.yRight < 0.01) break;
        const int yLeft = map.py(line.yLeft);
        const int yRight = map.py(line.yRight);
        if (columns.farLeftDrawn) scene.circle(columns.farLeft, yLeft, kPreviewGrey);
        scene.circle(columns.left, yRight, kPreviewGreen);
        scene.line(columns.farLeft, yLeft, columns.left, yRight, kPreviewGrey);
        if (columns.farLeftDrawn && frame.xLeft > map.x.from) {
            scene.line(columns.farLeft, base, columns.farLeft, yLeft, kPreviewGrey);
        }
        scene.line(columns.left, base, columns.left, yRight, kPreviewGrey);
    }
    for (int row = 1; row <= lines.rowCount() && isPresent(lines.cell(row, 1)); ++row) {
        addListedLine(scene, map, columns, base, lines.row(row));
    }
    if (isPresent(pending.yLeft)) {
        addListedLine(scene, map, columns, base, {pending.yLeft, pending.yRight, pending.layerNo});
    }
    return shapes;
}

void drawPreview(Canvas& canvas, std::span<const PreviewShape> shapes) {
    canvas.selectFont({"MS Gothic", kLabelHeight, kPreviewBlue, 0, false});
    canvas.setTextAlign(TextAlign::TopLeft);
    for (const PreviewShape& shape : shapes) {
        switch (shape.kind) {
            case PreviewShape::Kind::Circle:
                canvas.drawEllipse({shape.from.x - kCircleRadius, shape.from.y - kCircleRadius,
                                    shape.from.x + kCircleRadius, shape.from.y + kCircleRadius},
                                   PenStyle::Solid, kCirclePen, shape.colour);
                break;
            case PreviewShape::Kind::Line:
                canvas.drawLine(shape.from, shape.to, PenStyle::Solid, 1, shape.colour);
                break;
            case PreviewShape::Kind::Label:
                canvas.drawText(shape.from, toDisplayText(shape.text));
                break;
        }
    }
}

}  // namespace dorvo
