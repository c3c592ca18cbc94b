// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/design_pages.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"
#include "render/drawing.h"
#include "render/figure_legend.h"

namespace dorvo {

namespace {

constexpr Colour kLineColour = rgb(200, 40, 40);
constexpr Colour kLowerColour = rgb(70, 110, 200);
constexpr Colour kUpperColour = rgb(220, 120, 40);
/// More bars would not read on one page; the table lists every parameter.
constexpr std::size_t kMostTornadoBars = 20;

std::string circleText(double rx, double ry, double r) {
    return formatC("中心 (%.2f, %.2f)  半径 %.2f", rx, ry, r);
}

void circleRows(AnalysisLayout& page, const RestraintCircle& c, std::string_view unit) {
    page.row({{5, circleText(c.rx, c.ry, c.r)}, {75, formatC("Fs %.3f", c.fs)}});
    page.row({{5, formatC("MD %.2f", c.md)},
              {45, formatC("MR %.2f", c.mr)},
              {85, formatC("P %.2f %.*s", c.force, int(unit.size()), unit.data())}});
}

/// A fixed number with no "-0.00".
std::string fixed(double value, int places) {
    return formatC("%.*f", places, value + 0.0);
}

/// The half-open interval of a tornado bar: the parameter's two variations.
void drawTornado(Canvas& canvas, const RenderInputs& inputs, DeviceRect box,
                 const Sensitivity& sensitivity, const SensitivityLimits& limits) {
    const Project& project = inputs.project;
    std::vector<const SensitivityRow*> rows = sensitivity.bySwing();
    if (rows.size() > kMostTornadoBars) rows.resize(kMostTornadoBars);
    if (rows.empty() || !sensitivity.plain) return;
    const double plain = sensitivity.plain->fs;
    double low = plain, high = plain;
    for (const SensitivityRow* row : rows) {
        for (const VariedSearch* v : {&row->lower, &row->upper}) {
            if (!v->critical) continue;
            low = std::min(low, v->critical->fs);
            high = std::max(high, v->critical->fs);
        }
    }
    const double margin = std::max((high - low) * 0.1, 0.01);
    const int fontPx = fontHeightPx(inputs.font(font_slot::kFigureFs), canvas.dpiY());
    const int labelWidth = fontPx * 6;
    ChartArea chart;
    chart.plot = {box.left + labelWidth, box.top + 2 * fontPx, box.right - fontPx,
                  box.bottom - 3 * fontPx};
    chart.xMin = low - margin;
    chart.xMax = high + margin;
    chart.yMin = 0.0;
    chart.yMax = double(rows.size());
    drawChartAxes(canvas, inputs, chart, roundStep(chart.xMax - chart.xMin, 6), 0.0,
                  "最小安全率 Fs", "");
    // Which colour is which variation, above the right end of the chart.
    canvas.setTextAlign(TextAlign::TopLeft);
    int keyX = chart.plot.right - 12 * fontPx;
    for (auto [percent, colour] : {std::pair{limits.lowerPercent, kLowerColour},
                                   std::pair{limits.upperPercent, kUpperColour}}) {
        const int top = box.top;
        const std::vector<DevicePoint> swatch = {
            {keyX, top}, {keyX + fontPx, top}, {keyX + fontPx, top + fontPx}, {keyX, top + fontPx}};
        const std::vector<int> counts = {4};
        canvas.fillPolygons(swatch, counts, Fill::Solid, colour);
        canvas.drawText({keyX + fontPx * 3 / 2, top}, formatC("%+g %%", percent));
        keyX += 6 * fontPx;
    }
    const int width = legendLineWidth(canvas);
    const DevicePoint top = chart.at(plain, chart.yMax);
    const DevicePoint bottom = chart.at(plain, 0.0);
    canvas.drawLine(top, bottom, PenStyle::Dash, width, kLegendFrameColour);
    canvas.setTextAlign(TextAlign::TopLeft);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SensitivityRow& row = *rows[i];
        const double y = chart.yMax - double(i);
        const DevicePoint labelAt = chart.at(chart.xMin, y - 0.5);
        canvas.drawText({box.left, labelAt.y - fontPx / 2},
                        describeParameter(project, row.parameter, WarningLanguage::Japanese));
        for (auto [varied, colour] :
             {std::pair{&row.lower, kLowerColour}, std::pair{&row.upper, kUpperColour}}) {
            if (!varied->critical) continue;
            const DevicePoint from = chart.at(plain, y - 0.2);
            const DevicePoint to = chart.at(varied->critical->fs, y - 0.8);
            const std::vector<DevicePoint> bar = {from, {to.x, from.y}, to, {from.x, to.y}};
            const std::vector<int> counts = {4};
            canvas.fillPolygons(bar, counts, Fill::Solid, colour);
        }
    }
}

}  // namespace

int RestraintPage::layOut(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                          PageMode mode) const {
    AnalysisLayout page(canvas, inputs, state, mode, "必要抑止力");
    const std::string_view unit = forcePerMetreUnit(inputs.project);
    page.row({{0, formatC("計画安全率 Fsp = %.2f", force_.plannedFs)},
              {60, formatC("P = (Fsp·MD − MR) / R  (%.*s)", int(unit.size()), unit.data())}});
    page.blankRow();
    if (force_.governing) {
        page.row({{0, "抑止力が最大の円"}});
        circleRows(page, *force_.governing, unit);
        if (force_.governingEnds) {
            const CircleResult& e = *force_.governingEnds;
            page.row({{5, formatC("すべり面  P1 (%.2f, %.2f)  P2 (%.2f, %.2f)", e.p1x, e.p1y, e.p2x,
                                  e.p2y)}});
        }
    } else {
        page.row({{0, "どの円も計画安全率に達しています (P = 0)"}});
    }
    if (force_.critical) {
        page.blankRow();
        page.row({{0, "最小安全率の円"}});
        circleRows(page, *force_.critical, unit);
    }
    page.blankRow();
    page.row({{0, "中心ごとの最大抑止力"}});
    page.row({{5, "Rx"}, {25, "Ry"}, {45, "R"}, {65, "Fs"}, {85, "P"}});
    for (const RestraintCircle& c : force_.centreMaxima) {
        page.row({{5, fixed(c.rx, 2)},
                  {25, fixed(c.ry, 2)},
                  {45, fixed(c.r, 2)},
                  {65, fixed(c.fs, 3)},
                  {85, fixed(c.force, 2)}});
    }
    return page.pages();
}

int BackAnalysisPage::layOut(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                             PageMode mode) const {
    const BackAnalysis& a = analysis_;
    AnalysisLayout page(canvas, inputs, state, mode, "強度の逆算");
    page.row(
        {{0, formatC("層No.%d", a.layerNo)}, {30, formatC("目標の安全率 Fs0 = %.3f", a.targetFs)}});
    page.row({{0, "すべり円  " + circleText(a.circle.rx, a.circle.ry, a.circle.r)}});
    switch (a.status) {
        case BackAnalysisStatus::Found:
            break;
        case BackAnalysisStatus::NoSuchLayer:
            page.row({{0, "この層No.の層データがありません"}});
            return page.pages();
        case BackAnalysisStatus::NotEvaluated:
            page.row({{0, "この円の安全率が求まりません"}});
            return page.pages();
        case BackAnalysisStatus::NotThroughLayer:
            page.row({{0, "すべり面がこの層を通りません"}});
            return page.pages();
        case BackAnalysisStatus::NoDrivingMoment:
            page.row({{0, "起動モーメントがありません"}});
            return page.pages();
    }
    page.row({{0, formatC("現在の Fs %.3f", a.current.fs)},
              {30, formatC("Co %.2f  φ %.2f°", a.currentCo, a.currentPhiDegrees)},
              {75, formatC("抵抗モーメントに占める割合 %.0f %%", a.share * 100.0)}});
    if (a.shareTooSmall()) {
        page.row({{0, "この層の抵抗は 10 % 未満で、強度を決められません"}});
    }
    if (auto box = page.room(70.0)) {
        double high = std::max(a.currentCo, 0.0);
        double low = 0.0;
        for (const StrengthPair& pair : a.table) {
            high = std::max(high, pair.co);
            low = std::min(low, pair.co);
        }
        if (chosen_) high = std::max(high, chosen_->co);
        const int fontPx = fontHeightPx(inputs.font(font_slot::kFigureFs), canvas.dpiY());
        ChartArea chart;
        chart.plot = {box->left + 6 * fontPx, box->top + 2 * fontPx, box->right - 2 * fontPx,
                      box->bottom - 3 * fontPx};
        chart.xMax = 45.0;
        // Only Co ≥ 0 means anything, unless the whole line lies below it.
        chart.yMin = high > 0.0 ? 0.0 : low;
        chart.yMax = high > 0.0 ? high * 1.1 : low + 1.0;
        drawChartAxes(canvas, inputs, chart, 5.0, roundStep(chart.yMax - chart.yMin, 5), "φ (°)",
                      "Co");
        std::vector<DevicePoint> line;
        for (int tenth = 0; tenth <= 450; tenth += 5)
            line.push_back(chart.at(tenth * 0.1, a.coAt(tenth * 0.1)));
        canvas.clipToRect(chart.plot);
        canvas.drawPolyline(line, PenStyle::Solid, 2 * legendLineWidth(canvas), kLineColour);
        const int mark = fontPx / 2;
        const auto dot = [&](double phi, double co, Colour colour) {
            const DevicePoint p = chart.at(phi, co);
            canvas.drawEllipse({p.x - mark, p.y - mark, p.x + mark, p.y + mark}, PenStyle::Solid,
                               legendLineWidth(canvas), colour);
        };
        dot(a.currentPhiDegrees, a.currentCo, kLegendFrameColour);
        if (chosen_) dot(chosen_->phiDegrees, chosen_->co, kLowerColour);
        canvas.removeClip();
        page.restoreRowFont();
    }
    page.row({{5, "φ (°)"}, {30, "Co"}});
    for (const StrengthPair& pair : a.table) {
        page.row({{5, fixed(pair.phiDegrees, 0)}, {30, fixed(pair.co, 2)}});
    }
    page.blankRow();
    page.row({{0, formatC("現在の φ %.2f° での Co", a.currentPhiDegrees)},
              {60, fixed(a.coAtCurrentPhi, 2)}});
    page.row({{0, formatC("現在の Co %.2f での φ", a.currentCo)},
              {60, a.phiAtCurrentCo ? fixed(*a.phiAtCurrentCo, 2) + "°" : "なし"}});
    if (chosen_) {
        page.row(
            {{0, "選んだ組"}, {60, formatC("Co %.2f  φ %.2f°", chosen_->co, chosen_->phiDegrees)}});
    }
    return page.pages();
}

int SensitivityPage::layOut(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                            PageMode mode) const {
    const Sensitivity& s = sensitivity_;
    AnalysisLayout page(canvas, inputs, state, mode, "感度分析");
    page.row({{0, formatC("変動 %+.0f %% / %+.0f %%", limits_.lowerPercent, limits_.upperPercent)},
              {60, s.plain ? formatC("元の最小安全率 Fs %.3f", s.plain->fs)
                           : std::string("元の計算に解がありません")}});
    if (!s.completed) page.row({{0, "中断しました"}});
    const double bars = double(std::min(s.rows.size(), kMostTornadoBars));
    const double barsMm = 6.0 * bars + 25.0;
    if (auto box = page.room(barsMm)) {
        drawTornado(canvas, inputs, *box, s, limits_);
        page.restoreRowFont();
    }
    page.row({{0, "パラメータ"},
              {30, "元の値"},
              {55, "下限"},
              {80, "Fs"},
              {100, "上限"},
              {125, "Fs"},
              {145, "幅"}});
    for (const SensitivityRow* row : s.bySwing()) {
        const auto fsText = [&](const VariedSearch& v) {
            if (v.refused) return std::string("計算不可");
            if (!v.critical) return std::string("解なし");
            return fixed(v.critical->fs, 3) + (criticalCircleMoved(s.plain, v) ? " *" : "");
        };
        page.row({{0, describeParameter(inputs.project, row->parameter, WarningLanguage::Japanese)},
                  {30, formatC("%g", row->base)},
                  {55, formatC("%g", row->lower.value)},
                  {80, fsText(row->lower)},
                  {100, formatC("%g", row->upper.value)},
                  {125, fsText(row->upper)},
                  {145, fixed(row->swing(), 3)}});
    }
    page.blankRow();
    page.row({{0, "* 臨界円の位置が元の計算と異なる"}});
    return page.pages();
}

}  // namespace dorvo
