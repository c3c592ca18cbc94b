// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/restraint_layer.h"

#include <cmath>

#include "calc/restraint_force.h"
#include "model/number_text.h"
#include "render/figure_legend.h"
#include "render/render_inputs.h"

namespace dorvo {

namespace {

constexpr Colour kRestraintColour = rgb(200, 0, 160);

}  // namespace

void drawRestraintMark(ModelDrawing& draw, const RenderInputs& inputs, const RestraintMark& mark,
                       const DeviceRect& window) {
    if (!(mark.r > 0.0)) return;
    Canvas& canvas = draw.canvas();
    const int width = std::max(2, draw.scaled(2));
    const DeviceRect box{draw.toDevice(mark.rx - mark.r, mark.ry + mark.r).x,
                         draw.toDevice(mark.rx - mark.r, mark.ry + mark.r).y,
                         draw.toDevice(mark.rx + mark.r, mark.ry - mark.r).x,
                         draw.toDevice(mark.rx + mark.r, mark.ry - mark.r).y};
    canvas.drawArc(box, draw.toDevice(mark.p1x, mark.p1y), draw.toDevice(mark.p2x, mark.p2y),
                   PenStyle::Dash, width, kRestraintColour);
    canvas.drawLine(draw.toDevice(mark.rx, mark.ry), draw.toDevice(mark.p1x, mark.p1y),
                    PenStyle::Dash, width / 2, kRestraintColour);
    canvas.drawLine(draw.toDevice(mark.rx, mark.ry), draw.toDevice(mark.p2x, mark.p2y),
                    PenStyle::Dash, width / 2, kRestraintColour);

    const std::string_view unit = forcePerMetreUnit(inputs.project);
    const std::string text = formatC("必要抑止力 P = %.1f %.*s (Fsp %.2f)", mark.force,
                                     int(unit.size()), unit.data(), mark.plannedFs);
    // Below the lowest point of the slip surface, where the countermeasure would act.
    const DevicePoint lowest = draw.toDevice(mark.rx, mark.ry - mark.r);
    const int h = fontHeightPx(inputs.font(font_slot::kFigureFs), canvas.dpiY());
    const int pad = h / 3;
    const int half = estimatedTextWidth(text, h) / 2 + pad;
    const DeviceRect label{lowest.x - half, lowest.y + pad, lowest.x + half,
                           lowest.y + 2 * pad + h + pad};
    if (!isInside(label, window)) return;
    drawLegendBox(canvas, label, kRestraintColour);
    selectFontSlot(canvas, inputs, font_slot::kFigureFs);
    canvas.setTextAlign(TextAlign::TopCentre);
    canvas.drawText({lowest.x, label.top + pad}, text);
}

}  // namespace dorvo
