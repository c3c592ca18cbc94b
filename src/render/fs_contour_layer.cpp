// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/fs_contour_layer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calc/circle_search.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

constexpr Colour kLimitLineColour = rgb(120, 120, 120);
constexpr int kUnitLineWidth = 2;

Colour mix(Colour a, Colour b, double t) {
    auto channel = [&](int shift) {
        const double from = double((a >> shift) & 0xff);
        const double to = double((b >> shift) & 0xff);
        return static_cast<Colour>(std::lround(from + (to - from) * t)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

/// Colours from just above 1.0 to the highest band.
constexpr std::array<Colour, 4> kSafeRamp = {rgb(250, 160, 90), rgb(255, 232, 120),
                                             rgb(176, 222, 140), rgb(130, 192, 235)};

Colour alongRamp(double t) {
    const double at = std::clamp(t, 0.0, 1.0) * double(kSafeRamp.size() - 1);
    const auto stop = std::min(static_cast<std::size_t>(at), kSafeRamp.size() - 2);
    return mix(kSafeRamp[stop], kSafeRamp[stop + 1], at - double(stop));
}

bool belowOne(const FsBandLimits& bands, int band) {
    return std::size_t(band) + 1 < bands.limits.size() &&
           bands.limits[std::size_t(band) + 1] <= 1.0;
}

/// Decimals that show every limit of the step exactly.
int decimalsOf(const FsBandLimits& bands) {
    const double hundredths = bands.step * 100.0;
    return std::fabs(hundredths - std::round(hundredths)) < 1e-6 ? 2 : 3;
}

std::string bandText(const FsBandLimits& bands, int band) {
    const int decimals = decimalsOf(bands);
    const double low = bands.limits[std::size_t(band)];
    if (std::size_t(band) + 1 == bands.limits.size()) return formatC("%.*f 以上", decimals, low);
    return formatC("%.*f 〜 %.*f", decimals, low, decimals, bands.limits[std::size_t(band) + 1]);
}

void drawSegments(ModelDrawing& draw, const std::vector<double>& segments, int width,
                  Colour colour) {
    for (std::size_t i = 0; i + 3 < segments.size(); i += 4) {
        draw.line(segments[i], segments[i + 1], segments[i + 2], segments[i + 3], width, colour);
    }
}

}  // namespace

std::optional<FsContours> fsContoursOf(const Project& project,
                                       const std::vector<CentreLabel>& labels) {
    const auto search = validCircleSearch(project.circleSearch);
    if (!search) return std::nullopt;
    const auto grid = fsGridOf(*search, labels);
    if (!grid) return std::nullopt;
    const auto range = fsRangeOf(*grid);
    if (!range) return std::nullopt;
    FsContours contours;
    contours.bands = fsBandLimits(range->lowest, range->highest);
    contours.areas = fsBandAreas(*grid, contours.bands);
    for (std::size_t i = 1; i < contours.bands.limits.size(); ++i) {
        contours.limitLines.push_back(fsLevelLine(*grid, contours.bands.limits[i]));
    }
    contours.unitLine = fsLevelLine(*grid, 1.0);
    return contours;
}

Colour fsBandColour(const FsBandLimits& bands, int band) {
    const auto count = static_cast<int>(bands.limits.size());
    int firstSafe = 0;
    while (firstSafe < count && belowOne(bands, firstSafe)) ++firstSafe;
    if (band < firstSafe) {
        return mix(rgb(240, 120, 120), rgb(255, 195, 195), double(band + 1) / double(firstSafe));
    }
    const int safeBands = count - firstSafe;
    return alongRamp(safeBands > 1 ? double(band - firstSafe) / double(safeBands - 1) : 0.0);
}

void drawFsBands(ModelDrawing& draw, const FsContours& contours) {
    for (std::size_t band = 0; band < contours.areas.size(); ++band) {
        const BandArea& area = contours.areas[band];
        if (area.counts.empty()) continue;
        const int index = static_cast<int>(band);
        draw.fillPolygons(area.xy, area.counts, Fill::Solid, fsBandColour(contours.bands, index));
        if (belowOne(contours.bands, index)) {
            draw.fillPolygons(area.xy, area.counts, Fill::BackwardDiagonal, kFsBelowOneColour);
        }
    }
    for (const std::vector<double>& line : contours.limitLines) {
        drawSegments(draw, line, 1, kLimitLineColour);
    }
    drawSegments(draw, contours.unitLine, kUnitLineWidth, kFsBelowOneColour);
}

void drawFsLegend(Canvas& canvas, LegendShelf& shelf, const FsContours& contours,
                  int fontHeightPx) {
    const int h = std::max(fontHeightPx, 1);
    const int row = h * 3 / 2;
    const int pad = h * 2 / 3;
    const int swatch = h * 5 / 2;
    const std::string title = "各中心の最小 Fs";
    const std::string unitText = "Fs = 1.0";
    const auto bands = static_cast<int>(contours.bands.limits.size());
    const bool showUnitLine = belowOne(contours.bands, 0);
    int textWidth =
        std::max(estimatedTextWidth(title, h), swatch + pad + estimatedTextWidth(unitText, h));
    for (int band = 0; band < bands; ++band) {
        textWidth = std::max(textWidth,
                             swatch + pad + estimatedTextWidth(bandText(contours.bands, band), h));
    }
    const int rows = bands + 1 + (showUnitLine ? 1 : 0);
    const auto placed = shelf.place(textWidth + 2 * pad, rows * row + 2 * pad);
    if (!placed) return;
    const DeviceRect box = *placed;
    drawLegendBox(canvas, box, kLegendFrameColour);

    canvas.setTextAlign(TextAlign::TopLeft);
    const int left = box.left + pad;
    int top = box.top + pad;
    canvas.drawText({left, top + (row - h) / 2}, title);
    for (int band = bands - 1; band >= 0; --band) {
        top += row;
        const DevicePoint corners[] = {{left, top + row / 6},
                                       {left + swatch, top + row / 6},
                                       {left + swatch, top + row - row / 6},
                                       {left, top + row - row / 6}};
        const int counts[] = {4};
        canvas.fillPolygons(corners, counts, Fill::Solid, fsBandColour(contours.bands, band));
        if (belowOne(contours.bands, band)) {
            canvas.fillPolygons(corners, counts, Fill::BackwardDiagonal, kFsBelowOneColour);
        }
        canvas.drawText({left + swatch + pad, top + (row - h) / 2}, bandText(contours.bands, band));
    }
    if (!showUnitLine) return;
    top += row;
    canvas.drawLine({left, top + row / 2}, {left + swatch, top + row / 2}, PenStyle::Solid,
                    kUnitLineWidth * legendLineWidth(canvas), kFsBelowOneColour);
    canvas.drawText({left + swatch + pad, top + (row - h) / 2}, unitText);
}

}  // namespace dorvo
