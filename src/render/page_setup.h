// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "model/project.h"
#include "settings/program_settings.h"

namespace dorvo {

/// The page the view shows; any other value draws the figure.
enum class ViewPage { Figure = 0, Data = 1, Results = 2 };

/// Scale, paper, margins and the figure window.
struct PageSetup {
    int scaleX = 500;
    int scaleY = 500;
    int paperWidthMm = 280;
    int paperHeightMm = 280;
    int leftMarginMm = 10;
    int topMarginMm = 10;
    int figureLeftX = 0;
    int pageWidthM = 85;
    int pageOverlapM = 0;
    double figureTopY = 100.0;
    int pageDepthM = 85;
    int scrollStepM = 5;
};

/// What the view holds while the program runs.
struct ViewState {
    ViewPage page = ViewPage::Figure;
    int currentPage = 1;
    double figurePageLeftX = 0.0;
    bool printing = false;
};

/// Model metres to device pixels for one draw on one device.
struct DeviceMapping {
    double dpiX = 96.0;
    double dpiY = 96.0;
    double pxPerMmX = 0.0;
    double pxPerMmY = 0.0;
    double pxPerMetreX = 0.0;
    double pxPerMetreY = 0.0;
    double marginXMm = 0.0;
    double marginYMm = 0.0;
    double shiftX = 0.0;
    double topY = 0.0;
};

/// The page setup from the project's figure window, the program settings and a paper size,
/// with the fallbacks of each field.
PageSetup makePageSetup(const FigureWindow& window, const ProgramSettings& settings,
                        int paperWidthMm, int paperHeightMm);

/// Fills a figure window that is not set from the paper, as reading the paper size does.
void applyPaperDefaults(PageSetup& setup, ViewState& view);

/// The mapping of a device at the page setup's scale (shiftX and topY still 0).
DeviceMapping makeDeviceMapping(double dpiX, double dpiY, const PageSetup& setup);

/// The mapping whose model unit is 10 mm of paper, for headings and tables.
DeviceMapping paperMapping(const DeviceMapping& mapping, double topY);

/// Model X to device X: truncated toward zero, clamped to ±32767.
int toDeviceX(const DeviceMapping& mapping, double x);

/// Model Y to device Y: truncated toward zero, clamped to ±32767.
int toDeviceY(const DeviceMapping& mapping, double y);

/// Device pixels truncated toward zero and clamped to ±32767 (NaN gives 0).
int clampToDevice(double value);

/// A distance in paper millimetres from the device origin, in device pixels (clamped).
int paperToDeviceX(const DeviceMapping& mapping, double mm);
int paperToDeviceY(const DeviceMapping& mapping, double mm);

/// Model metres one figure page shows in X at scale 1/N on paper W mm wide.
int pageMetresX(int scale, int paperWidthMm, int leftMarginMm);

/// Model metres one figure page shows in Y at scale 1/N on paper H mm high.
int pageMetresY(int scale, int paperHeightMm, int topMarginMm);

/// Metres from one figure page to the next: the page width less the overlap.
double pageStepM(const PageSetup& setup);

/// The page number as printed: "(II-3)" for page 3 with form "(" and prefix "II-".
std::string formatPageNumber(long long page, std::string_view form, std::string_view prefix);

/// Right X of the last block (0 when there are no blocks or it is not positive).
double sectionRightX(const Project& project);

/// How many figure pages the section needs: it is paged only in X.
int countFigurePages(const Project& project, const PageSetup& setup);

/// The model window of a figure page.
struct FigureWindowOnPage {
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    double bottom = 0.0;
};

FigureWindowOnPage figureWindowOf(const PageSetup& setup, const ViewState& view);

/// The largest X and Y the figure needs: blocks, lines and the centre grid.
struct FigureExtents {
    double x = 0.0;
    double y = 0.0;
};

FigureExtents figureExtents(const Project& project);

/// Moves the screen's figure window back to the first page, as the figure command does.
double returnToFirstPage(double figurePageLeftX, const FigureWindow& window);

}  // namespace dorvo
