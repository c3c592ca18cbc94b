// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/analysis_page.h"

#include <cmath>

#include "model/number_text.h"
#include "render/drawing.h"
#include "render/figure_legend.h"

namespace dorvo {

AnalysisLayout::AnalysisLayout(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                               PageMode mode, std::string_view title)
    : canvas_(canvas),
      inputs_(inputs),
      rows_(canvas, inputs, state.view, mode, font_slot::kResultTables, rememberedRow_,
            rememberedHeading_) {
    if (rows_.onCurrentPage()) {
        selectFontSlot(canvas_, inputs_, font_slot::kTitles);
        canvas_.setTextAlign(TextAlign::TopLeft);
        canvas_.drawText({toDeviceX(rows_.mapping(), 0.0), toDeviceY(rows_.mapping(), rows_.top())},
                         title);
        restoreRowFont();
    }
    rows_.setY(rows_.top() - rows_.headingHeight() * 1.5);
}

void AnalysisLayout::restoreRowFont() {
    if (!rows_.drawing()) return;
    selectFontSlot(canvas_, inputs_, font_slot::kResultTables);
    canvas_.setTextAlign(TextAlign::TopLeft);
}

void AnalysisLayout::row(const std::vector<RowCell>& cells) {
    rows_.advance();
    for (const RowCell& cell : cells) rows_.cell(cell.columnMm, cell.text);
}

std::optional<DeviceRect> AnalysisLayout::room(double heightMm) {
    const double height = heightMm * 0.1;
    if (rows_.y() - height < 2 * rows_.rowHeight()) rows_.newPage(rows_.top());
    const double top = rows_.y() - rows_.rowHeight();
    rows_.setY(top - height);
    if (!rows_.onCurrentPage()) return std::nullopt;
    const DeviceMapping& m = rows_.mapping();
    const double widthCm = (inputs_.setup.paperWidthMm - inputs_.setup.leftMarginMm - 20) * 0.1;
    return DeviceRect{toDeviceX(m, 0.0), toDeviceY(m, top), toDeviceX(m, widthCm),
                      toDeviceY(m, top - height)};
}

DevicePoint ChartArea::at(double x, double y) const {
    const double fx = (x - xMin) / (xMax - xMin);
    const double fy = (y - yMin) / (yMax - yMin);
    return {clampToDevice(plot.left + fx * (plot.right - plot.left)),
            clampToDevice(plot.bottom - fy * (plot.bottom - plot.top))};
}

double roundStep(double span, int divisions) {
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    const double raw = span / divisions;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= raw) return factor * power;
    }
    return 10.0 * power;
}

void drawChartAxes(Canvas& canvas, const RenderInputs& inputs, const ChartArea& chart, double xStep,
                   double yStep, std::string_view xCaption, std::string_view yCaption) {
    const int width = legendLineWidth(canvas);
    drawFrame(canvas, chart.plot, PenStyle::Solid, width, kLegendFrameColour);
    selectFontSlot(canvas, inputs, font_slot::kFigureFs);
    const int tick = std::max(2, int(canvas.dpiY() / 25.4 * 1.5));
    const int fontPx = fontHeightPx(inputs.font(font_slot::kFigureFs), canvas.dpiY());
    canvas.setTextAlign(TextAlign::TopCentre);
    for (double x = std::ceil(chart.xMin / xStep) * xStep; x <= chart.xMax + xStep * 1e-6;
         x += xStep) {
        const DevicePoint p = chart.at(x, chart.yMin);
        canvas.drawLine(p, {p.x, p.y - tick}, PenStyle::Solid, width, kLegendFrameColour);
        canvas.drawText({p.x, p.y + tick}, formatC("%g", x));
    }
    for (double y = std::ceil(chart.yMin / yStep) * yStep;
         yStep > 0.0 && y <= chart.yMax + yStep * 1e-6; y += yStep) {
        const DevicePoint p = chart.at(chart.xMin, y);
        canvas.drawLine(p, {p.x + tick, p.y}, PenStyle::Solid, width, kLegendFrameColour);
        const std::string text = formatC("%g", y);
        canvas.setTextAlign(TextAlign::TopLeft);
        canvas.drawText({p.x - tick - estimatedTextWidth(text, fontPx), p.y - fontPx / 2}, text);
    }
    canvas.setTextAlign(TextAlign::TopCentre);
    canvas.drawText({(chart.plot.left + chart.plot.right) / 2, chart.plot.bottom + tick + fontPx},
                    xCaption);
    canvas.setTextAlign(TextAlign::TopLeft);
    canvas.drawText({chart.plot.left, chart.plot.top - fontPx - tick}, yCaption);
}

}  // namespace dorvo
