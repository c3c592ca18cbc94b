// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/section_fit.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

// The scales 1/N a drawing of a slope is usually made at, the largest drawing first.
constexpr std::array kUsualScales = {100, 200, 250,  300,  400,  500,
                                     600, 800, 1000, 1200, 1500, 2000};

/// The margin left around the drawing on each side, as a share of its extent.
constexpr double kMarginShare = 0.08;

struct Bounds {
    double left = 0.0;  // the first block starts at X 0
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
};

Bounds sectionBounds(const Project& project) {
    const FigureExtents extents = figureExtents(project);
    Bounds bounds{0.0, extents.x, 0.0, extents.y};
    for (int row = 1; row <= blockCount(project); ++row) {
        for (const BlockLine& line :
             splitBlockLines(project.block(row).lines, BlockLineEnd::LeftAbsent)) {
            bounds.bottom = std::min({bounds.bottom, readReal(line.yLeft), readReal(line.yRight)});
        }
    }
    const std::string& gridStartX = project.circleSearch.line(1);
    if (isPresent(gridStartX)) {
        bounds.left = std::min(bounds.left, readReal(gridStartX));
    }
    return bounds;
}

}  // namespace

bool figureWindowUnset(const ProjectSettings& settings) {
    return !isPresent(settings.line(settings_line::kScaleX));
}

std::optional<FigureWindow> fitSectionWindow(const Project& project, const PageSetup& setup) {
    const Bounds bounds = sectionBounds(project);
    const double width = bounds.right - bounds.left;
    const double height = bounds.top - bounds.bottom;
    if (!(width > 0.0) || !(height > 0.0)) return std::nullopt;
    const double neededWidth = width * (1.0 + 2.0 * kMarginShare);
    const double neededHeight = height * (1.0 + 2.0 * kMarginShare);
    FigureWindow window;
    for (int scale : kUsualScales) {
        window.scaleX = window.scaleY = scale;
        window.pageWidthM = pageMetresX(scale, setup.paperWidthMm, setup.leftMarginMm);
        window.pageDepthM = pageMetresY(scale, setup.paperHeightMm, setup.topMarginMm);
        if (window.pageWidthM >= neededWidth && window.pageDepthM >= neededHeight) break;
    }
    const double spareX = window.pageWidthM - width;
    const double spareY = window.pageDepthM - height;
    window.figureLeftX =
        std::clamp(static_cast<int>(std::floor(bounds.left - spareX / 2.0)), -100, 10000);
    window.figureTopY = std::clamp(std::ceil(bounds.top + spareY / 2.0), -2000.0, 4000.0);
    window.pageOverlapM = 0;
    return window;
}

}  // namespace dorvo
