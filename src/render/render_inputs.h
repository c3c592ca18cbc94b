// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "model/messages.h"
#include "model/project.h"
#include "render/canvas.h"
#include "render/method_critical.h"
#include "render/page_setup.h"
#include "render/restraint_layer.h"
#include "render/result_overlay.h"
#include "render/result_page_index.h"
#include "settings/font_slots.h"
#include "settings/margins_table.h"
#include "settings/program_settings.h"

namespace dorvo {

/// Row and heading heights of the text pages as the screen last drew them, so that printed
/// pages break where the screen's pages break.
struct RememberedHeights {
    double dataRow = 0.0;
    double dataHeading = 0.0;
    double resultRow = 0.0;
    double resultHeading = 0.0;
};

/// What the figure shows beyond the section, the search and its results: each is off unless
/// asked for, and off the figure is drawn exactly as without them.
struct FigureOptions {
    /// Filled bands of the minimum Fs of each centre over the centre grid, with their legend.
    bool contours = false;
    /// The minima the bands show instead of the records' ones: those of a search by another
    /// method, which writes no records.
    std::optional<std::vector<CentreLabel>> contourMinima;
    /// The critical circle drawn and annotated instead of the records' one: that of a search
    /// by another method, which writes no records.
    std::optional<MethodCritical> methodCritical;
    /// Loads as arrows with their values, the critical circle's Fs, centre and radius beside
    /// its arc, the scale and a legend of the soil layers.
    bool annotate = false;
    /// The circle that needs the largest restraint force, dashed, with its force.
    std::optional<RestraintMark> restraint;
    /// Slip surfaces drawn thin under the critical circle: those of the failing realisations
    /// of a probabilistic analysis.
    std::vector<CriticalCircle> failingCircles;
};

class AnalysisPage;

/// What the pages keep from one draw to the next: the page the view shows and what the figure
/// shows on it, the screen's row heights, the critical circle as the figure last read it from
/// the results working file and where the result table's pages start.
struct PageState {
    ViewState view;
    FigureOptions figure;
    RememberedHeights remembered;
    CriticalCircle critical;
    ResultOverlay overlay;
    ResultPageIndex resultPages;
    /// A design analysis's page, drawn instead of the view's page when set.
    const AnalysisPage* analysis = nullptr;
};

/// Everything a page routine reads.
struct RenderInputs {
    const Project& project;
    const ProgramSettings& settings;
    const MarginsTable& margins;
    const FontSlots& fonts;
    const PageSetup& setup;
    std::filesystem::path resultsFile;
    MessageSink* messages = nullptr;

    const FontSlot& font(int slot) const { return fonts.at(static_cast<std::size_t>(slot - 1)); }
    const std::string& setting(int line) const { return project.settings.line(line); }
};

/// Project settings lines of the headings and pages.
namespace page_line {
inline constexpr int kResultUnitDisplay = 16;
inline constexpr int kYAxisMax = 20;
inline constexpr int kFigureHeading = 21;
inline constexpr int kBlockHeading = 22;
inline constexpr int kLayerHeading = 23;
inline constexpr int kLoadHeading = 24;
inline constexpr int kCircleHeading = 25;
inline constexpr int kResultHeading = 26;
inline constexpr int kRepeatOnLaterPages = 27;
inline constexpr int kFigureHeadingTop = 29;
inline constexpr int kBlockHeadingTop = 30;
inline constexpr int kLayerHeadingTop = 31;
inline constexpr int kLoadHeadingTop = 32;
inline constexpr int kCircleHeadingTop = 33;
inline constexpr int kResultHeadingTop = 34;
inline constexpr int kFigureHeadingLeft = 37;
inline constexpr int kFigureHeadingCentred = 38;
inline constexpr int kLoadNewPage = 39;
inline constexpr int kCircleNewPage = 40;
inline constexpr int kFigureStartPage = 41;
inline constexpr int kDataStartPage = 42;
inline constexpr int kResultStartPage = 43;
inline constexpr int kFigurePagePrefix = 44;
inline constexpr int kDataPagePrefix = 45;
inline constexpr int kResultPagePrefix = 46;
inline constexpr int kFigurePageForm = 49;
inline constexpr int kDataPageForm = 50;
inline constexpr int kResultPageForm = 54;
inline constexpr int kDataHeadingLeft = 55;
inline constexpr int kDataHeadingCentred = 56;
inline constexpr int kPageNumberLeft = 57;
inline constexpr int kPageNumberCentred = 58;
inline constexpr int kPageNumberTop = 59;
}  // namespace page_line

/// Where the page number of a page kind comes from.
struct PageNumberLines {
    int startPage;
    int form;
    int prefix;
};

/// Draws the page number of page `page` at the shared page-number position, when its start
/// page and top distance are given.
void drawPageNumber(Canvas& canvas, const DeviceMapping& mapping, const RenderInputs& inputs,
                    PageNumberLines lines, int page);

/// Selects a font slot, reporting "Can't create font" when the device refuses it.
void selectFontSlot(Canvas& canvas, const RenderInputs& inputs, int slot);

/// Whether a check-box setting is on ("1").
bool settingIsOn(const RenderInputs& inputs, int line);

/// How the figure fills its soil layers: hatched (setting 0), solid (1), or not at all.
std::optional<Fill> soilLayerFill(const RenderInputs& inputs);

}  // namespace dorvo
