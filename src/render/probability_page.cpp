// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/probability_page.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"
#include "render/drawing.h"
#include "render/page_setup.h"
#include "settings/font_slots.h"

namespace dorvo {

namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kBars = 0xd0a060;  // 0x00BBGGRR: a light blue
constexpr Colour kCurve = 0x803000;
constexpr Colour kFailure = 0x0000d0;
constexpr Colour kGrey = 0x808080;

/// A chart's plot area and the Fs range along its X axis.
struct Chart {
    DeviceRect area;
    double fsFrom = 0.0;
    double fsTo = 1.0;
    double valueTo = 1.0;  // top of the Y axis

    int x(double fs) const {
        return clampToDevice(area.left +
                             (fs - fsFrom) / (fsTo - fsFrom) * (area.right - area.left));
    }
    int y(double value) const {
        return clampToDevice(area.bottom - value / valueTo * (area.bottom - area.top));
    }
};

/// 1, 2 or 5 times a power of ten, about a fifth to a tenth of the span.
double tickStep(double span) {
    const double rough = span / 6.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) return factor * power;
    }
    return 10.0 * power;
}

void selectText(Canvas& canvas, int heightPx) {
    canvas.selectFont({std::string(kDefaultFontFace), heightPx, kBlack, 0, false});
}

void drawAxes(Canvas& canvas, const Chart& chart, int textPx, const char* yFormat, double yStep) {
    const DeviceRect& a = chart.area;
    drawFrame(canvas, a, PenStyle::Solid, 2, kBlack);
    canvas.setTextAlign(TextAlign::TopCentre);
    const double step = tickStep(chart.fsTo - chart.fsFrom);
    for (double fs = std::ceil(chart.fsFrom / step) * step; fs <= chart.fsTo + step * 1e-9;
         fs += step) {
        const int x = chart.x(fs);
        canvas.drawLine({x, a.bottom}, {x, a.bottom + textPx / 3}, PenStyle::Solid, 2, kBlack);
        canvas.drawText({x, a.bottom + textPx / 2}, formatC("%.*f", step < 0.1 ? 2 : 1, fs));
    }
    canvas.setTextAlign(TextAlign::TopLeft);
    for (double v = 0.0; v <= chart.valueTo * (1 + 1e-9); v += yStep) {
        const int y = chart.y(v);
        canvas.drawLine({a.left - textPx / 3, y}, {a.left, y}, PenStyle::Solid, 2, kBlack);
        const std::string label = formatC(yFormat, v);
        const int width = static_cast<int>(label.size()) * textPx * 6 / 10;
        canvas.drawText({a.left - textPx / 2 - width, y - textPx / 2}, label);
    }
}

void drawMarks(Canvas& canvas, const Chart& chart, double deterministicFs) {
    const DeviceRect& a = chart.area;
    if (1.0 >= chart.fsFrom && 1.0 <= chart.fsTo) {
        canvas.drawLine({chart.x(1.0), a.top}, {chart.x(1.0), a.bottom}, PenStyle::Solid, 4,
                        kFailure);
    }
    if (deterministicFs >= chart.fsFrom && deterministicFs <= chart.fsTo) {
        canvas.drawLine({chart.x(deterministicFs), a.top}, {chart.x(deterministicFs), a.bottom},
                        PenStyle::Dash, 2, kGrey);
    }
}

void drawHistogram(Canvas& canvas, const Chart& chart, const FsHistogram& histogram,
                   std::int64_t total) {
    std::vector<DevicePoint> corners;
    std::vector<int> counts;
    for (std::size_t bin = 0; bin < histogram.counts.size(); ++bin) {
        if (histogram.counts[bin] == 0) continue;
        const double from = histogram.start + double(bin) * histogram.width;
        const double share = double(histogram.counts[bin]) / double(total);
        const DeviceRect bar{chart.x(from), chart.y(share), chart.x(from + histogram.width),
                             chart.area.bottom};
        corners.insert(corners.end(), {{bar.left, bar.top},
                                       {bar.right, bar.top},
                                       {bar.right, bar.bottom},
                                       {bar.left, bar.bottom}});
        counts.push_back(4);
    }
    if (!counts.empty()) canvas.fillPolygons(corners, counts, Fill::Solid, kBars);
    for (std::size_t k = 0; k < counts.size(); ++k) {
        const DevicePoint* c = &corners[k * 4];
        drawFrame(canvas, {c[0].x, c[0].y, c[2].x, c[2].y}, PenStyle::Solid, 1, kCurve);
    }
}

void drawCumulative(Canvas& canvas, const Chart& chart, const FsHistogram& histogram,
                    std::int64_t total) {
    std::vector<DevicePoint> curve{{chart.x(histogram.start), chart.y(0.0)}};
    std::int64_t below = 0;
    for (std::size_t bin = 0; bin < histogram.counts.size(); ++bin) {
        below += histogram.counts[bin];
        const double edge = histogram.start + double(bin + 1) * histogram.width;
        curve.push_back({chart.x(edge), chart.y(double(below) / double(total))});
    }
    canvas.drawPolyline(curve, PenStyle::Solid, 4, kCurve);
}

std::string optionalText(const std::optional<double>& value) {
    return value ? formatC("%.3f", *value) : std::string("-");
}

}  // namespace

void drawProbabilityPage(Canvas& canvas, const ProbabilityPageData& data, DeviceRect page) {
    const ProbabilitySummary& s = data.summary;
    const int width = page.right - page.left;
    const int height = page.bottom - page.top;
    const int textPx = std::max(8, height / 55);
    const int margin = width / 12;

    selectText(canvas, textPx * 3 / 2);
    canvas.setTextAlign(TextAlign::TopLeft);
    canvas.drawText({page.left + margin, page.top + textPx * 2}, data.title);
    selectText(canvas, textPx);
    const std::string statistics = formatC(
        "N = %lld   mean Fs = %.4f   sd = %.4f   deterministic Fs = %.4f   P(Fs < 1) = %.5f "
        "(95 %% interval %.5f to %.5f)   β normal = %s   β lognormal = %s",
        static_cast<long long>(s.withFs), s.mean, s.sd, data.deterministicFs,
        s.probabilityOfFailure, s.probabilityLow, s.probabilityHigh,
        optionalText(s.betaNormal).c_str(), optionalText(s.betaLognormal).c_str());
    canvas.drawTextBox(
        {page.left + margin, page.top + textPx * 4, page.right - margin / 2, page.top + textPx * 7},
        statistics, kBlack, textPx);
    if (s.withFs == 0 || s.histogram.counts.empty()) return;

    const FsHistogram& h = s.histogram;
    Chart chart;
    chart.fsFrom = std::min(h.start, 0.95);
    chart.fsTo = std::max(h.start + h.width * double(h.counts.size()), 1.05);
    const int top = page.top + textPx * 8;
    const int gap = textPx * 4;
    const int chartHeight = (page.bottom - textPx * 3 - top - gap) / 2;
    chart.area = {page.left + margin, top, page.right - margin / 2, top + chartHeight};

    const std::int64_t highest = *std::max_element(h.counts.begin(), h.counts.end());
    chart.valueTo = double(highest) / double(s.withFs) * 1.1;
    const double yStep = tickStep(chart.valueTo);
    drawHistogram(canvas, chart, h, s.withFs);
    drawMarks(canvas, chart, data.deterministicFs);
    drawAxes(canvas, chart, textPx, yStep < 0.01 ? "%.3f" : "%.2f", yStep);
    canvas.drawText({chart.area.left + textPx, chart.area.top + textPx / 2},
                    "share of realisations per bin of Fs");

    Chart cumulative = chart;
    cumulative.area.top = chart.area.bottom + gap;
    cumulative.area.bottom = cumulative.area.top + chartHeight;
    cumulative.valueTo = 1.0;
    drawCumulative(canvas, cumulative, h, s.withFs);
    drawMarks(canvas, cumulative, data.deterministicFs);
    drawAxes(canvas, cumulative, textPx, "%.1f", 0.2);
    canvas.drawText({cumulative.area.left + textPx, cumulative.area.top + textPx / 2},
                    "cumulative share: P(Fs ≤ x)");
    canvas.setTextAlign(TextAlign::TopCentre);
    canvas.drawText(
        {(cumulative.area.left + cumulative.area.right) / 2, cumulative.area.bottom + textPx * 2},
        "Fs   (red: Fs = 1; dashed: the deterministic Fs)");
}

}  // namespace dorvo
