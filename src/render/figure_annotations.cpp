// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/figure_annotations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Colour kWhite = rgb(255, 255, 255);
/// The shortest arrow of a load on paper, long enough for its head and value to read.
constexpr double kLeastLoadArrowMm = 8.0;

bool inTonnes(const RenderInputs& inputs) {
    return readInteger(inputs.setting(settings_line::kUnitDisplay)) == 2;
}

/// Metres of model that a length on paper stands for, across and up.
double metresAcross(const RenderInputs& inputs, double mm) {
    return inputs.setup.scaleX * mm * 0.001;
}
double metresUp(const RenderInputs& inputs, double mm) {
    return inputs.setup.scaleY * mm * 0.001;
}

void fillRect(Canvas& canvas, DeviceRect r, Fill fill, Colour colour) {
    const DevicePoint corners[] = {
        {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    const int counts[] = {4};
    canvas.fillPolygons(corners, counts, fill, colour);
}

std::string scaleText(const PageSetup& setup) {
    if (setup.scaleX == setup.scaleY) return formatC("縮尺  1 : %d", setup.scaleX);
    return formatC("縮尺  横 1 : %d  縦 1 : %d", setup.scaleX, setup.scaleY);
}

std::string metresText(double metres) {
    return formatC("%g m", metres);
}

/// The cells of the layer table: a header row, a unit row and a row per layer.
std::vector<std::array<std::string, 6>> layerTable(const RenderInputs& inputs) {
    const bool tonnes = inTonnes(inputs);
    const char* weight = tonnes ? "tf/m³" : "kN/m³";
    const char* stress = tonnes ? "tf/m²" : "kN/m²";
    std::vector<std::array<std::string, 6>> table = {
        {"層No.", "γ1", "γ2", "φ", "Co", "k"},
        {"", weight, weight, "°", stress, std::string(stress) + "/m"}};
    for (int row = 1; row <= layerCount(inputs.project); ++row) {
        const Layer& layer = inputs.project.layer(row);
        table.push_back(
            {formatC("%d", readInteger(layer.layerNo)), formatC("%.2f", readReal(layer.gamma1)),
             formatC("%.2f", readReal(layer.gamma2)), formatC("%.2f", readReal(layer.phi)),
             formatC("%.2f", readReal(layer.co)), formatC("%.2f", readReal(layer.k))});
    }
    return table;
}

}  // namespace

double scaleBarMetres(int scale) {
    const double most = std::max(scale, 1) * 0.05;
    const double decade = std::pow(10.0, std::floor(std::log10(most)));
    for (double factor : {5.0, 2.0, 1.0}) {
        if (factor * decade <= most * (1 + 1e-9)) return factor * decade;
    }
    return decade;
}

void drawLoadArrows(ModelDrawing& draw, const RenderInputs& inputs,
                    const std::vector<FigureBlock>& blocks, const DeviceRect& window) {
    const ProgramSettings& settings = inputs.settings;
    const double lengthMm = std::max(readReal(settings.loadLineLengthMm), kLeastLoadArrowMm);
    const double length = metresUp(inputs, lengthMm);
    const double headHalfWidth = metresAcross(inputs, 1.0);
    const double headLength = metresUp(inputs, 2.5);
    const Colour colour = colourFromText(settings.loadColour);
    const int width = std::max(settings.loadWidth, 1);
    const char* unit = inTonnes(inputs) ? "tf/m" : "kN/m";
    Canvas& canvas = draw.canvas();
    const int h = fontHeightPx(inputs.font(font_slot::kFigureFs), canvas.dpiY());
    const int pad = h / 4;
    for (const LoadOnGround& load : loadsOnGround(inputs.project, blocks)) {
        draw.line(load.x, load.y, load.x, load.y + length, width, colour);
        draw.line(load.x, load.y, load.x - headHalfWidth, load.y + headLength, width, colour);
        draw.line(load.x, load.y, load.x + headHalfWidth, load.y + headLength, width, colour);
        // The value on white above the arrow, so that it reads over grid labels.
        const std::string value = formatC("%.1f %s", readReal(load.force), unit);
        const DevicePoint top = draw.toDevice(load.x, load.y + length);
        const int half = estimatedTextWidth(value, h) / 2 + pad;
        const DeviceRect box{top.x - half, top.y - h - 3 * pad, top.x + half, top.y - pad};
        if (!isInside(box, window)) continue;
        drawLegendBox(canvas, box, colour);
        selectFontSlot(canvas, inputs, font_slot::kFigureFs);
        canvas.setTextAlign(TextAlign::TopCentre);
        canvas.drawText({top.x, box.top + pad}, value);
    }
}

void drawCriticalCircleLabel(ModelDrawing& draw, const RenderInputs& inputs,
                             const CriticalCircle& c, std::string_view fsLine,
                             const DeviceRect& window) {
    if (!(c.radius > 0.0)) return;
    std::vector<std::string> lines;
    if (!fsLine.empty()) lines.emplace_back(fsLine);
    lines.push_back(formatC("中心 (%.2f, %.2f)", c.centreX, c.centreY));
    lines.push_back(formatC("R = %.2f m", c.radius));

    // The middle of the arc, which runs counter-clockwise from P1 to P2.
    const double from = std::atan2(c.p1y - c.centreY, c.p1x - c.centreX);
    double sweep = std::atan2(c.p2y - c.centreY, c.p2x - c.centreX) - from;
    if (sweep <= 0.0) sweep += 2 * std::numbers::pi;
    const double middle = from + sweep / 2;
    const double inwardX = -std::cos(middle);
    const double inwardY = -std::sin(middle);
    const double gap = metresUp(inputs, 1.5);
    const DevicePoint anchor = draw.toDevice(c.centreX - inwardX * (c.radius - gap),
                                             c.centreY - inwardY * (c.radius - gap));

    Canvas& canvas = draw.canvas();
    const int h = fontHeightPx(inputs.font(font_slot::kFigureFs), canvas.dpiY());
    const int pad = h / 2;
    int width = 0;
    for (const std::string& line : lines) width = std::max(width, estimatedTextWidth(line, h));
    width += 2 * pad;
    const int height = static_cast<int>(lines.size()) * h * 5 / 4 + 2 * pad;
    // The box's side nearest the arc touches the anchor.
    const double reach = std::fabs(inwardX) * width / 2 + std::fabs(inwardY) * height / 2;
    const int centreX = anchor.x + static_cast<int>(std::lround(inwardX * reach));
    const int centreY = anchor.y - static_cast<int>(std::lround(inwardY * reach));
    const DeviceRect box{centreX - width / 2, centreY - height / 2, centreX + width / 2,
                         centreY + height / 2};
    if (!isInside(box, window)) return;
    drawLegendBox(canvas, box, colourFromText(inputs.settings.arcColour));
    selectFontSlot(canvas, inputs, font_slot::kFigureFs);
    canvas.setTextAlign(TextAlign::TopLeft);
    int top = box.top + pad;
    for (const std::string& line : lines) {
        canvas.drawText({box.left + pad, top}, line);
        top += h * 5 / 4;
    }
}

void drawScaleAndLayerLegend(ModelDrawing& draw, LegendShelf& shelf, const RenderInputs& inputs,
                             int fontHeightPx) {
    Canvas& canvas = draw.canvas();
    const int h = std::max(fontHeightPx, 1);
    const int row = h * 3 / 2;
    const int pad = h * 2 / 3;
    const int swatch = h * 5 / 2;
    const std::string scale = scaleText(inputs.setup);
    const double barMetres = scaleBarMetres(inputs.setup.scaleX);
    const int barWidth = static_cast<int>(std::lround(barMetres * draw.mapping().pxPerMetreX));
    const std::string barEnd = metresText(barMetres);

    const auto table = layerTable(inputs);
    std::array<int, 6> columns{};
    for (const auto& cells : table) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            columns[c] = std::max(columns[c], estimatedTextWidth(cells[c], h) + pad);
        }
    }
    int tableWidth = swatch + pad;
    for (int column : columns) tableWidth += column;
    const int width = std::max(
        {estimatedTextWidth(scale, h), barWidth + estimatedTextWidth(barEnd, h) / 2, tableWidth});
    const int rows = 3 + static_cast<int>(table.size());  // scale, bar with its numbers, gap
    const auto placed = shelf.place(width + 2 * pad, rows * row + 2 * pad);
    if (!placed) return;
    const DeviceRect box = *placed;
    drawLegendBox(canvas, box, kLegendFrameColour);

    const int left = box.left + pad;
    int top = box.top + pad;
    canvas.setTextAlign(TextAlign::TopLeft);
    canvas.drawText({left, top + (row - h) / 2}, scale);
    top += row;

    // The bar in black and white parts, with 0 and its length below its ends.
    const double leading = barMetres / std::pow(10.0, std::floor(std::log10(barMetres)));
    const int parts = std::lround(leading) == 2 ? 4 : 5;
    const int barTop = top + row / 4;
    const int barBottom = top + row / 2;
    for (int part = 0; part < parts; ++part) {
        const DeviceRect piece{left + barWidth * part / parts, barTop,
                               left + barWidth * (part + 1) / parts, barBottom};
        fillRect(canvas, piece, Fill::Solid, part % 2 == 0 ? kBlack : kWhite);
    }
    drawFrame(canvas, {left, barTop, left + barWidth, barBottom}, PenStyle::Solid,
              legendLineWidth(canvas), kBlack);
    canvas.setTextAlign(TextAlign::TopCentre);
    canvas.drawText({left, barBottom + h / 6}, "0");
    canvas.drawText({left + barWidth, barBottom + h / 6}, barEnd);
    top += 2 * row;

    const std::optional<Fill> fill = soilLayerFill(inputs);
    canvas.setTextAlign(TextAlign::TopLeft);
    for (std::size_t r = 0; r < table.size(); ++r) {
        if (r >= 2) {
            const Layer& layer = inputs.project.layer(static_cast<int>(r) - 1);
            const DeviceRect sample{left, top + row / 6, left + swatch, top + row - row / 6};
            if (fill) fillRect(canvas, sample, *fill, colourFromText(layer.colour));
            drawFrame(canvas, sample, PenStyle::Solid, legendLineWidth(canvas), kBlack);
        }
        int x = left + swatch + pad;
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            canvas.drawText({x, top + (row - h) / 2}, table[r][c]);
            x += columns[c];
        }
        top += row;
    }
}

}  // namespace dorvo
