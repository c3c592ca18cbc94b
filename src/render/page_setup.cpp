// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/page_setup.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr double kMmPerInchInverse = 0.03937007874015748;
constexpr double kDeviceLimit = 32767.0;

}  // namespace

int clampToDevice(double value) {
    if (!(value > -kDeviceLimit)) return value != value ? 0 : -32767;
    if (value > kDeviceLimit) return 32767;
    return static_cast<int>(std::trunc(value));
}

int paperToDeviceX(const DeviceMapping& mapping, double mm) {
    return clampToDevice(mm * mapping.pxPerMmX);
}

int paperToDeviceY(const DeviceMapping& mapping, double mm) {
    return clampToDevice(mm * mapping.pxPerMmY);
}

PageSetup makePageSetup(const FigureWindow& window, const ProgramSettings& settings,
                        int paperWidthMm, int paperHeightMm) {
    PageSetup setup;
    setup.scaleX = window.scaleX > 0 ? window.scaleX : 500;
    setup.scaleY = window.scaleY > 0 ? window.scaleY : 500;
    setup.paperWidthMm = paperWidthMm;
    setup.paperHeightMm = paperHeightMm;
    setup.leftMarginMm = settings.leftMarginMm < 0 ? 10 : settings.leftMarginMm;
    setup.topMarginMm = settings.topMarginMm < 0 ? 10 : settings.topMarginMm;
    setup.figureLeftX = window.figureLeftX;
    setup.pageWidthM = window.pageWidthM;
    setup.pageOverlapM = window.pageOverlapM;
    setup.figureTopY = window.figureTopY;
    setup.pageDepthM = window.pageDepthM;
    setup.scrollStepM = settings.scrollStepM > 0 ? settings.scrollStepM : 5;
    return setup;
}

void applyPaperDefaults(PageSetup& setup, ViewState& view) {
    if (setup.pageDepthM <= 0) {
        setup.pageDepthM = pageMetresY(setup.scaleY, setup.paperHeightMm, setup.topMarginMm);
        setup.figureTopY = 5.0;
    }
    if (setup.pageWidthM <= 0) {
        setup.pageWidthM = pageMetresX(setup.scaleX, setup.paperWidthMm, setup.leftMarginMm);
        setup.figureLeftX = 0;
        view.figurePageLeftX = 0.0;
        setup.pageOverlapM = 0;
    }
}

DeviceMapping makeDeviceMapping(double dpiX, double dpiY, const PageSetup& setup) {
    DeviceMapping mapping;
    mapping.dpiX = dpiX;
    mapping.dpiY = dpiY;
    mapping.pxPerMmX = dpiX * kMmPerInchInverse;
    mapping.pxPerMmY = dpiY * kMmPerInchInverse;
    mapping.pxPerMetreX = 1000.0 / setup.scaleX * mapping.pxPerMmX;
    mapping.pxPerMetreY = 1000.0 / setup.scaleY * mapping.pxPerMmY;
    mapping.marginXMm = setup.leftMarginMm;
    mapping.marginYMm = setup.topMarginMm;
    return mapping;
}

DeviceMapping paperMapping(const DeviceMapping& mapping, double topY) {
    DeviceMapping paper = mapping;
    paper.pxPerMetreX = 10.0 * mapping.pxPerMmX;
    paper.pxPerMetreY = 10.0 * mapping.pxPerMmY;
    paper.shiftX = 0.0;
    paper.topY = topY;
    return paper;
}

int toDeviceX(const DeviceMapping& m, double x) {
    return clampToDevice((x + m.shiftX) * m.pxPerMetreX + m.marginXMm * m.pxPerMmX);
}

int toDeviceY(const DeviceMapping& m, double y) {
    return clampToDevice((m.topY - y) * m.pxPerMetreY + m.marginYMm * m.pxPerMmY);
}

namespace {

/// Whole metres of a printable length at scale 1/N, clamped to the int range.
int metresAtScale(int scale, long long printableMm) {
    // Exact for any paper and scale of this world; doubles also hold the absurd ones.
    const double metres = std::trunc(double(scale) * double(printableMm) / 1000.0);
    return static_cast<int>(std::clamp(metres, double(INT_MIN), double(INT_MAX)));
}

}  // namespace

int pageMetresX(int scale, int paperWidthMm, int leftMarginMm) {
    return metresAtScale(scale, static_cast<long long>(paperWidthMm) - leftMarginMm - 10);
}

int pageMetresY(int scale, int paperHeightMm, int topMarginMm) {
    return metresAtScale(scale, static_cast<long long>(paperHeightMm) - topMarginMm - 20);
}

double pageStepM(const PageSetup& setup) {
    return double(setup.pageWidthM) - double(setup.pageOverlapM);
}

std::string formatPageNumber(long long page, std::string_view form, std::string_view prefix) {
    if (page <= 0) return {};
    const char first = form.empty() ? '\0' : form.front();
    std::string closing;
    if (first == '-') closing = "-";
    if (first == '(') closing = ")";
    if (first == '<') closing = ">";
    std::string text;
    if (first != '\0') text.push_back(first);
    text += std::string(prefix) + formatC("%lld", page);
    return text + closing;
}

double sectionRightX(const Project& project) {
    const int count = blockCount(project);
    if (count == 0) return 0.0;
    const double x = readReal(project.block(count).x);
    return x > 0.0 ? x : 0.0;
}

int countFigurePages(const Project& project, const PageSetup& setup) {
    const double step = pageStepM(setup);
    if (!(step > 0.0)) return 1;
    const double pages = std::trunc((sectionRightX(project) - setup.figureLeftX) / step + 0.01) + 1;
    return static_cast<int>(std::clamp(pages, 1.0, 10000.0));
}

FigureWindowOnPage figureWindowOf(const PageSetup& setup, const ViewState& view) {
    FigureWindowOnPage window;
    window.left = view.printing ? pageStepM(setup) * (view.currentPage - 1) + setup.figureLeftX
                                : view.figurePageLeftX;
    window.right = window.left + setup.pageWidthM;
    window.top = setup.figureTopY;
    window.bottom = setup.figureTopY - setup.pageDepthM;
    return window;
}

FigureExtents figureExtents(const Project& project) {
    FigureExtents extents;
    extents.x = std::max(sectionRightX(project), readReal(project.circleSearch.line(3)));
    extents.y = readReal(project.circleSearch.line(4));
    for (int row = 1; row <= blockCount(project); ++row) {
        for (const BlockLine& line :
             splitBlockLines(project.block(row).lines, BlockLineEnd::LeftAbsent)) {
            extents.y = std::max({extents.y, readReal(line.yLeft), readReal(line.yRight)});
        }
    }
    extents.y = std::max(extents.y, 0.0);
    return extents;
}

double returnToFirstPage(double figurePageLeftX, const FigureWindow& window) {
    const double step = double(window.pageWidthM) - double(window.pageOverlapM);
    double left = figurePageLeftX;
    for (int tries = 0; tries < 50 && std::fabs(left - window.figureLeftX) > 0.0001; ++tries) {
        left -= step;
        if (left < window.figureLeftX) left = window.figureLeftX;
    }
    return left;
}

}  // namespace dorvo
