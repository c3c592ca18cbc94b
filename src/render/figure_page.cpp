// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/figure_page.h"

#include <algorithm>
#include <cmath>

#include "calc/circle_search.h"
#include "calc/result_records.h"
#include "model/encoding.h"
#include "model/number_text.h"
#include "model/results_format.h"
#include "model/text_cell.h"
#include "render/drawing.h"
#include "render/figure_annotations.h"
#include "render/figure_blocks.h"
#include "render/figure_legend.h"
#include "render/fs_contour_layer.h"
#include "render/label_placement.h"
#include "render/restraint_layer.h"
#include "render/result_stream.h"

namespace dorvo {

namespace {

constexpr Colour kWindowOutline = 0xffff80;        // RGB(128, 255, 255)
constexpr Colour kFailingCircleColour = 0x4040e0;  // RGB(224, 64, 64)
constexpr int kMaxGridLines = 400;
// Grid and axis loops draw within the window only; this bounds them for absurd windows.
constexpr int kMaxRuledLines = 10000;

/// The first multiple of step from −10 steps up that is not below `from`.
double firstMultiple(double step, double from) {
    return std::max(-10.0 * step, std::ceil(from / step) * step);
}

/// The first multiple of step from −10 steps up that lies strictly above `edge`.
double firstMultipleAbove(double step, double edge) {
    double multiple = std::ceil(edge / step) * step;
    if (multiple <= edge) multiple += step;
    return std::max(-10.0 * step, multiple);
}

class FigurePainter {
  public:
    FigurePainter(Canvas& canvas, const RenderInputs& inputs, PageState& state)
        : canvas_(canvas),
          inputs_(inputs),
          state_(state),
          settings_(inputs.settings),
          mapping_(makeDeviceMapping(canvas.dpiX(), canvas.dpiY(), inputs.setup)),
          draw_(canvas, mapping_),
          blocks_(figureBlocks(inputs.project)) {}

    void paint() {
        window_ = figureWindowOf(inputs_.setup, state_.view);
        mapping_.shiftX = -window_.left;
        mapping_.topY = inputs_.setup.figureTopY;
        firstPage_ = state_.view.currentPage == 1;
        repeat_ = settingIsOn(inputs_, page_line::kRepeatOnLaterPages);
        if (!state_.view.printing) {
            draw_.frame(window_.left, window_.top, window_.right, window_.bottom,
                        settings_.windowFrameWidth, kWindowOutline);
        }
        clipToWindow();
        fillSoilBands();
        canvas_.removeClip();
        drawGrid();
        drawAxes();
        selectFontSlot(canvas_, inputs_, font_slot::kFigureFs);
        canvas_.setTextAlign(TextAlign::TopLeft);
        clipToWindow();
        if (state_.figure.contours) {
            contours_ = fsContoursOf(inputs_.project, state_.figure.contourMinima
                                                          ? *state_.figure.contourMinima
                                                          : resultOverlay().labels);
            if (contours_) drawFsBands(draw_, *contours_);
        }
        drawSectionLinesAndLoads();
        if (auto search = validCircleSearch(inputs_.project.circleSearch)) {
            drawSearchData(search->values());
        }
        drawResultOverlay();
        if (state_.figure.annotate) {
            drawLoadArrows(draw_, inputs_, blocks_, windowOnDevice());
            drawCriticalCircleLabel(draw_, inputs_, shownCritical(), criticalFsLine(),
                                    windowOnDevice());
        }
        if (state_.figure.restraint) {
            drawRestraintMark(draw_, inputs_, *state_.figure.restraint, windowOnDevice());
        }
        drawLegends();
        canvas_.setTextAlign(TextAlign::TopLeft);
        canvas_.removeClip();
        drawHeadingAndPageNumber();
    }

  private:
    bool onShownPage() const { return firstPage_ || repeat_; }

    void clipToWindow() { draw_.clip(window_.left, window_.top, window_.right, window_.bottom); }

    double metresX(double mm) const { return inputs_.setup.scaleX * mm * 0.001; }
    double metresY(double mm) const { return inputs_.setup.scaleY * mm * 0.001; }

    void fillSoilBands() {
        const std::optional<Fill> fill = soilLayerFill(inputs_);
        if (!fill) return;
        for (const FigureBlock& block : blocks_) {
            for (const Band& band : block.bands) {
                auto row = findLayerRow(inputs_.project, band.layerNo);
                if (!row) continue;
                const Colour colour = colourFromText(inputs_.project.layer(*row).colour);
                draw_.fillQuadrilaterals(
                    {block.left, band.bottomLeft, block.left, band.topLeft, block.right,
                     band.topRight, block.right, band.bottomRight},
                    *fill, colour);
            }
        }
    }

    void drawGrid() {
        const int width = settings_.gridWidth;
        if (width <= 0) return;
        const Colour colour = colourFromText(settings_.gridColour);
        if (const int s = settings_.gridStepY; s > 0) {
            const double last = std::trunc(window_.top + 0.5);
            int drawn = 0;
            for (double y = std::max(double(s), std::ceil(window_.bottom / s) * s);
                 y <= last && drawn < kMaxRuledLines; y += s, ++drawn) {
                if (y > window_.bottom)
                    draw_.line(window_.left, y, window_.right, y, width, colour);
            }
        }
        if (const int t = settings_.gridStepX; t > 0) {
            const double last = std::trunc(window_.right + 0.5);
            int drawn = 0;
            for (double x = std::max(double(t), std::ceil(window_.left / t) * t);
                 x <= last && drawn < kMaxRuledLines; x += t, ++drawn) {
                if (x > window_.left) draw_.line(x, window_.bottom, x, window_.top, width, colour);
            }
        }
    }

    void drawAxes() {
        if (!settingIsOn(inputs_, settings_line::kShowAxes)) return;
        selectFontSlot(canvas_, inputs_, font_slot::kFigureAxes);
        const double tickMm = settings_.axisTickLengthMm;
        const double f = metresX(tickMm);
        const double g = metresY(tickMm);
        const double h = fontHeightPx(inputs_.font(font_slot::kFigureAxes), canvas_.dpiY()) /
                         mapping_.pxPerMetreY;
        const int p = settings_.axisTickStep;
        const int n = settings_.axisLabelStep;
        const int width = settings_.axisWidth;
        const Colour colour = colourFromText(settings_.axisColour);

        if (onShownPage()) {
            double top = std::trunc(window_.top + 0.5);
            const std::string& yMax = inputs_.setting(page_line::kYAxisMax);
            if (isPresent(yMax) && readReal(yMax) >= 0.0) top = readReal(yMax);
            if (p > 0 && width > 0) {
                double lastTick = window_.bottom;
                int drawn = 0;
                for (double v = firstMultiple(p, window_.bottom);
                     v <= top && drawn < kMaxRuledLines; v += p, ++drawn) {
                    draw_.line(window_.left, v, window_.left + f, v, width, colour);
                    lastTick = v;
                }
                draw_.line(window_.left, window_.bottom, window_.left, lastTick, width, colour);
            }
            if (n > 0) {
                canvas_.setTextAlign(TextAlign::TopLeft);
                int drawn = 0;
                for (double v = firstMultipleAbove(n, window_.bottom);
                     v <= top && drawn < kMaxRuledLines; v += n, ++drawn) {
                    // Adding 0.0 prints −0 as 0.
                    draw_.text(window_.left + f, v + h / 2, formatC("%.0f", v + 0.0));
                }
            }
        }

        const double right = std::trunc(window_.right + 0.5);
        if (p > 0 && width > 0) {
            int drawn = 0;
            for (double u = firstMultiple(p, window_.left); u <= right && drawn < kMaxRuledLines;
                 u += p, ++drawn) {
                draw_.line(u, window_.bottom, u, window_.bottom + g, width, colour);
            }
            draw_.line(window_.left, window_.bottom, window_.right, window_.bottom, width, colour);
        }
        if (n > 0) {
            canvas_.setTextAlign(TextAlign::BottomCentre);
            int drawn = 0;
            for (double u = firstMultipleAbove(n, window_.left);
                 u <= right && drawn < kMaxRuledLines; u += n, ++drawn) {
                draw_.text(u, window_.bottom + g, formatC("%.0f", u + 0.0));
            }
        }
    }

    void drawSectionLinesAndLoads() {
        const int width = settings_.blockLineWidth;
        const Colour colour = colourFromText(settings_.blockLineColour);
        const double loadLength = metresY(readReal(settings_.loadLineLengthMm));
        const Colour loadColour = colourFromText(settings_.loadColour);
        for (const FigureBlock& block : blocks_) {
            for (const Band& b : block.bands) {
                draw_.line(block.left, b.bottomLeft, block.left, b.topLeft, width, colour);
                draw_.line(block.left, b.topLeft, block.right, b.topRight, width, colour);
                draw_.line(block.right, b.topRight, block.right, b.bottomRight, width, colour);
                draw_.line(block.right, b.bottomRight, block.left, b.bottomLeft, width, colour);
            }
            for (const LoadOnGround& load : loadsOnBlock(inputs_.project, block)) {
                draw_.line(load.x, load.y, load.x, load.y + loadLength, settings_.loadWidth,
                           loadColour);
            }
        }
    }

    void drawSearchData(const CircleSearchValues& v) {
        const CircleSearch& search = inputs_.project.circleSearch;
        const Colour rangeColour = colourFromText(settings_.slipRangeColour);
        for (int field : {7, 8}) {
            if (!isPresent(search.line(field))) continue;
            const double y = v.fields[static_cast<std::size_t>(field - 1)];
            draw_.dashedLine(std::max(window_.left, v.centreStartX() - 10), y,
                             std::min(window_.right, v.centreEndX() + 10), y,
                             settings_.slipRangeDash, settings_.slipRangeGap,
                             settings_.slipRangeWidth, rangeColour);
        }
        const double markMm = std::max(readReal(settings_.limitPointRadiusMm), 0.2);
        for (int field : {10, 12, 14}) {
            if (!isPresent(search.line(field)) || !isPresent(search.line(field + 1))) continue;
            draw_.circle(v.fields[static_cast<std::size_t>(field - 1)],
                         v.fields[static_cast<std::size_t>(field)], metresY(markMm),
                         settings_.slipRangeWidth, rangeColour);
        }

        const Colour gridColour = colourFromText(settings_.centreGridColour);
        const int width = settings_.centreGridWidth;
        int rows = 0;
        for (double y = v.centreStartY(); y <= v.centreEndY() + kEpsilon && rows < kMaxGridLines;
             y += v.stepY(), ++rows) {
            draw_.dashedLine(v.centreStartX(), y, v.centreEndX(), y, settings_.centreGridDash,
                             settings_.centreGridGap, width, gridColour);
        }
        int columns = 0;
        for (double x = v.centreStartX(); x <= v.centreEndX() + kEpsilon && columns < kMaxGridLines;
             x += v.stepX(), ++columns) {
            draw_.dashedLine(x, v.centreStartY(), x, v.centreEndY(), settings_.centreGridDash,
                             settings_.centreGridGap, width, gridColour);
        }
        if (rows <= 1) {
            int marks = 0;
            for (double x = v.centreStartX();
                 x <= v.centreEndX() + kEpsilon && marks < kMaxGridLines; x += v.stepX(), ++marks) {
                draw_.line(x, v.centreEndY() + 0.8, x, v.centreStartY() - 0.8, width, gridColour);
            }
        }
        if (columns <= 1) {
            int marks = 0;
            for (double y = v.centreStartY();
                 y <= v.centreEndY() + kEpsilon && marks < kMaxGridLines; y += v.stepY(), ++marks) {
                draw_.line(v.centreStartX() - 0.8, y, v.centreEndX() + 0.8, y, width, gridColour);
            }
        }
    }

    /// What the figure read of the results working file, read again when the file changed.
    ResultOverlay& resultOverlay() {
        ResultOverlay& overlay = state_.overlay;
        const ResultFileIdentity file = identityOf(inputs_.resultsFile);
        if (!overlay.read || !(overlay.file == file)) {
            overlay = {true, file, readResultOverlay(inputs_.resultsFile, state_.critical), {}, {}};
        }
        return overlay;
    }

    void drawResultOverlay() {
        ResultOverlay& overlay = resultOverlay();
        const CriticalCircle& c = shownCritical();
        const int fontHeight = fontHeightPx(inputs_.font(font_slot::kFigureFs), canvas_.dpiY());
        canvas_.setTextAlign(TextAlign::TopLeft);
        const DeviceMapping& m = mapping_;
        const LabelLayout layout{windowOnDevice(),
                                 fontHeight,
                                 m.pxPerMetreX,
                                 m.pxPerMetreY,
                                 m.shiftX * m.pxPerMetreX + m.marginXMm * m.pxPerMmX,
                                 m.topY * m.pxPerMetreY + m.marginYMm * m.pxPerMmY};
        if (overlay.placedFor != layout) {
            // A search of a million centres gives far more labels than a page can show apart.
            overlay.placed = placeCentreLabels(overlay.labels, mapping_, layout.window, fontHeight);
            overlay.placedFor = layout;
        }
        for (const std::size_t i : overlay.placed) {
            const CentreLabel& label = overlay.labels[i];
            canvas_.drawText(centreLabelCorner(mapping_, label, fontHeight), label.text);
        }
        for (const CriticalCircle& f : state_.figure.failingCircles) {
            draw_.arc(f.centreX - f.radius, f.centreY + f.radius, f.centreX + f.radius,
                      f.centreY - f.radius, f.p1x, f.p1y, f.p2x, f.p2y, 1, kFailingCircleColour);
        }
        if (!(c.radius > 0.0)) return;
        const Colour colour = colourFromText(settings_.arcColour);
        draw_.arc(c.centreX - c.radius, c.centreY + c.radius, c.centreX + c.radius,
                  c.centreY - c.radius, c.p1x, c.p1y, c.p2x, c.p2y, 1, colour);
        draw_.line(c.centreX, c.centreY, c.p1x, c.p1y, settings_.arcWidth, colour);
        draw_.line(c.centreX, c.centreY, c.p2x, c.p2y, settings_.arcWidth, colour);
    }

    /// The critical circle the figure draws: the chosen method's, else the records' one.
    const CriticalCircle& shownCritical() const {
        const auto& other = state_.figure.methodCritical;
        return other ? other->circle : state_.critical;
    }

    /// The Fs line of the critical circle's label: another method's Fs under its name, or the
    /// records' minimum of the circle's centre; empty when the records hold none.
    std::string criticalFsLine() {
        if (const auto& other = state_.figure.methodCritical) {
            const int places = fsPlaces(clampFsDecimals(settings_.fsDecimals));
            return other->method + formatC(" Fs = %.*f", places, other->fs);
        }
        const CriticalCircle& c = state_.critical;
        for (const CentreLabel& label : resultOverlay().labels) {
            if (std::fabs(label.x - c.centreX) < 0.005 && std::fabs(label.y - c.centreY) < 0.005) {
                return "Fs = " + label.text;
            }
        }
        return {};
    }

    DeviceRect windowOnDevice() const {
        const DevicePoint topLeft = draw_.toDevice(window_.left, window_.top);
        const DevicePoint bottomRight = draw_.toDevice(window_.right, window_.bottom);
        return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }

    void drawLegends() {
        if (!contours_ && !state_.figure.annotate) return;
        const int fontHeight = fontHeightPx(inputs_.font(font_slot::kFigureFs), canvas_.dpiY());
        LegendShelf shelf(windowOnDevice(), fontHeight);
        selectFontSlot(canvas_, inputs_, font_slot::kFigureFs);
        if (contours_) drawFsLegend(canvas_, shelf, *contours_, fontHeight);
        if (state_.figure.annotate) drawScaleAndLayerLegend(draw_, shelf, inputs_, fontHeight);
    }

    void drawHeadingAndPageNumber() {
        if (!onShownPage()) return;
        const DeviceMapping& m = mapping_;
        selectFontSlot(canvas_, inputs_, font_slot::kTitles);
        const double topMm =
            inputs_.setup.topMarginMm + readReal(inputs_.setting(page_line::kFigureHeadingTop));
        double xMm = 0.0;
        if (settingIsOn(inputs_, page_line::kFigureHeadingCentred)) {
            xMm = inputs_.setup.paperWidthMm / 2.0;
            canvas_.setTextAlign(TextAlign::TopCentre);
        } else {
            xMm = inputs_.setup.leftMarginMm +
                  readReal(inputs_.setting(page_line::kFigureHeadingLeft));
            canvas_.setTextAlign(TextAlign::TopLeft);
        }
        canvas_.drawText({paperToDeviceX(m, xMm), paperToDeviceY(m, topMm)},
                         toDisplayText(inputs_.setting(page_line::kFigureHeading)));
        drawPageNumber(
            canvas_, m, inputs_,
            {page_line::kFigureStartPage, page_line::kFigurePageForm, page_line::kFigurePagePrefix},
            state_.view.currentPage);
    }

    Canvas& canvas_;
    const RenderInputs& inputs_;
    PageState& state_;
    const ProgramSettings& settings_;
    DeviceMapping mapping_;
    ModelDrawing draw_;
    std::vector<FigureBlock> blocks_;
    FigureWindowOnPage window_;
    std::optional<FsContours> contours_;
    bool firstPage_ = true;
    bool repeat_ = false;
};

enum class OverlayState { None, Csv, CentreValues, Critical, Points };

/// The number after a marker, and the text that follows the marker.
std::optional<std::pair<double, std::string>> numberAfter(std::string_view text,
                                                          std::string_view marker) {
    TextAfter after = textAfter(text, marker);
    if (after.position == 0) return std::nullopt;
    return std::make_pair(readReal(after.text), after.text);
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == text.npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::vector<CentreLabel> readResultOverlay(const std::filesystem::path& resultsFile,
                                           CriticalCircle& critical) {
    std::vector<CentreLabel> labels;
    ResultStreamReader in(resultsFile);
    if (!in.isOpen()) return labels;
    OverlayState state = OverlayState::None;
    while (in.next()) {
        const std::string_view line = in.line();
        const ResultsLine kind = classifyResultsLine(line);
        if (kind == ResultsLine::End) break;
        if (kind == ResultsLine::SlipEnds) {
            state = OverlayState::Points;
        } else if (kind == ResultsLine::Answer) {
            state = OverlayState::Critical;
        } else if (kind == ResultsLine::OlderStart) {
            state = OverlayState::CentreValues;
        } else if (in.has("FS min") && state == OverlayState::Csv) {
            state = OverlayState::CentreValues;
        } else if (kind == ResultsLine::Start) {
            state = OverlayState::Csv;
            continue;
        }
        if (state == OverlayState::CentreValues) {
            auto x = numberAfter(line, "Rx:");
            auto y = x ? numberAfter(x->second, "Ry:") : std::nullopt;
            TextAfter label = y ? textAfter(y->second, "=") : TextAfter{};
            if (label.position != 0) labels.push_back({x->first, y->first, trimmed(label.text)});
        } else if (state == OverlayState::Critical) {
            auto x = numberAfter(line, "Rx:");
            auto y = x ? numberAfter(x->second, "Ry:") : std::nullopt;
            auto r = y ? numberAfter(y->second, "R:") : std::nullopt;
            if (r) {
                critical.centreX = x->first;
                critical.centreY = y->first;
                critical.radius = r->first;
            }
        } else if (state == OverlayState::Points) {
            auto p1 = numberAfter(line, "P1(");
            auto p2 = numberAfter(line, "P2(");
            if (p1 && p2) {
                critical.p1x = p1->first;
                critical.p1y = readReal(csvField(p1->second, 2).text);
                critical.p2x = p2->first;
                critical.p2y = readReal(csvField(p2->second, 2).text);
            }
        }
    }
    return labels;
}

void drawFigurePage(Canvas& canvas, const RenderInputs& inputs, PageState& state) {
    FigurePainter(canvas, inputs, state).paint();
}

}  // namespace dorvo
