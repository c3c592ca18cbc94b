// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/canvas.h"
#include "render/render_inputs.h"
#include "render/row_engine.h"

namespace dorvo {

/// A page of its own that a design analysis prints: when PageState holds one, it is drawn
/// instead of the page the view shows.
class AnalysisPage {
  public:
    virtual ~AnalysisPage() = default;
    /// Draws the current page, or only counts, and returns the number of pages.
    virtual int layOut(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                       PageMode mode) const = 0;
};

/// A text cell of a row: its column in millimetres from the left margin and its UTF-8 text.
struct RowCell {
    double columnMm = 0.0;
    std::string text;
};

/// An analysis page's title, rows and charts, paged as the text pages are, in the fonts of the
/// result table.
class AnalysisLayout {
  public:
    AnalysisLayout(Canvas& canvas, const RenderInputs& inputs, PageState& state, PageMode mode,
                   std::string_view title);

    void row(const std::vector<RowCell>& cells);
    void blankRow() { row({}); }
    /// Room of this height below the last row, on a new page when it does not fit; the box in
    /// device pixels when it is on the page being drawn.
    std::optional<DeviceRect> room(double heightMm);
    int pages() const { return rows_.page(); }
    /// The mapping of the page in paper centimetres (one model unit is 10 mm).
    const DeviceMapping& mapping() const { return rows_.mapping(); }
    Canvas& canvas() { return canvas_; }
    const RenderInputs& inputs() const { return inputs_; }
    /// Selects the result table's font again after a chart drew its own texts.
    void restoreRowFont();

  private:
    Canvas& canvas_;
    const RenderInputs& inputs_;
    double rememberedRow_ = 0.0;
    double rememberedHeading_ = 0.0;
    RowEngine rows_;
};

/// Chart helpers in device pixels.
struct ChartArea {
    DeviceRect plot;  // the axes' box
    double xMin = 0.0, xMax = 1.0, yMin = 0.0, yMax = 1.0;

    DevicePoint at(double x, double y) const;
};

/// A round step for about `divisions` ticks over a span: 1, 2 or 5 × 10ⁿ.
double roundStep(double span, int divisions);

/// Draws the box of the axes, ticks and numbers every `xStep` and `yStep` (none for a step of
/// 0), with the axis captions, in the figure's Fs font.
void drawChartAxes(Canvas& canvas, const RenderInputs& inputs, const ChartArea& chart, double xStep,
                   double yStep, std::string_view xCaption, std::string_view yCaption);

}  // namespace dorvo
