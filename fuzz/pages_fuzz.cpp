// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the three page kinds of an arbitrary project, with an arbitrary results working file
// and page setup, on a canvas that only checks the coordinates it is given, and writes the
// figure's section to a DXF file.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "dxf/section_dxf.h"
#include "fuzz_support.h"
#include "render/pages.h"
#include "settings/working_files.h"

namespace {

/// Draws nothing; aborts on a coordinate outside the device range.
class CheckingCanvas : public dorvo::Canvas {
  public:
    double dpiX() const override { return 300; }
    double dpiY() const override { return 300; }
    void drawLine(dorvo::DevicePoint a, dorvo::DevicePoint b, dorvo::PenStyle, int,
                  dorvo::Colour) override {
        check(a);
        check(b);
    }
    void drawPolyline(std::span<const dorvo::DevicePoint> points, dorvo::PenStyle, int,
                      dorvo::Colour) override {
        for (auto p : points) check(p);
    }
    void fillPolygons(std::span<const dorvo::DevicePoint> points, std::span<const int>, dorvo::Fill,
                      dorvo::Colour) override {
        for (auto p : points) check(p);
    }
    void drawArc(dorvo::DeviceRect, dorvo::DevicePoint a, dorvo::DevicePoint b, dorvo::PenStyle,
                 int, dorvo::Colour) override {
        check(a);
        check(b);
    }
    void drawEllipse(dorvo::DeviceRect, dorvo::PenStyle, int, dorvo::Colour) override {}
    void drawTextBox(dorvo::DeviceRect, std::string_view, dorvo::Colour, int) override {}
    void drawText(dorvo::DevicePoint at, std::string_view) override { check(at); }
    void setTextAlign(dorvo::TextAlign) override {}
    bool selectFont(const dorvo::FontRequest&) override { return true; }
    void clipToRect(dorvo::DeviceRect) override {}
    void removeClip() override {}

  private:
    static void check(dorvo::DevicePoint p) {
        if (p.x < -32767 || p.x > 32767 || p.y < -32767 || p.y > 32767) std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const int paperWidthMm = data.ConsumeIntegralInRange(1, 2000);
    const int paperHeightMm = data.ConsumeIntegralInRange(1, 2000);
    dorvo::ProgramSettings settings = dorvo::recommendedProgramSettings();
    settings.leftMarginMm = data.ConsumeIntegral<int>();
    settings.topMarginMm = data.ConsumeIntegral<int>();
    settings.scrollStepM = data.ConsumeIntegral<int>();
    settings.gridStepX = data.ConsumeIntegralInRange(0, 50);
    settings.gridStepY = data.ConsumeIntegralInRange(0, 50);
    settings.axisTickStep = data.ConsumeIntegralInRange(0, 50);
    settings.axisLabelStep = data.ConsumeIntegralInRange(0, 50);
    settings.centreGridDash = data.ConsumeIntegralInRange(0, 100);
    settings.centreGridGap = data.ConsumeIntegralInRange(0, 30);
    dorvo::FontSlots fonts = dorvo::defaultFontSlots();
    for (auto& font : fonts) font.sizePoints = data.ConsumeFloatingPointInRange(1.1, 200.0);
    dorvo::FigureOptions figure;
    figure.contours = data.ConsumeBool();
    figure.annotate = data.ConsumeBool();
    const std::string results = data.ConsumeRandomLengthString(4096);
    const std::string projectText = data.ConsumeRemainingBytesAsString();

    dorvo::fuzz::IgnoreMessages messages;
    // The page setup is made as for a loaded project: its settings lines 3 to 9 (scale and
    // figure window) come from the fuzzed file, with the fallbacks of the working-file set-up.
    dorvo::Project project = dorvo::fuzz::loadProject(projectText);
    dorvo::PageSetup setup = dorvo::makePageSetup(dorvo::figureWindowWithDefaults(project),
                                                  settings, paperWidthMm, paperHeightMm);

    char path[] = "/tmp/dorvo-pages-fuzz-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0) return 0;
    ::close(fd);
    std::ofstream(path, std::ios::binary) << results;

    dorvo::MarginsTable margins = dorvo::defaultMarginsTable();
    dorvo::PageState state;
    state.view = {dorvo::ViewPage::Figure, 1, double(setup.figureLeftX), false};
    state.figure = figure;
    dorvo::applyPaperDefaults(setup, state.view);
    const dorvo::RenderInputs inputs{project, settings, margins, fonts, setup, path, &messages};
    CheckingCanvas canvas;
    for (dorvo::ViewPage page :
         {dorvo::ViewPage::Figure, dorvo::ViewPage::Data, dorvo::ViewPage::Results}) {
        state.view.page = page;
        state.view.printing = page != dorvo::ViewPage::Figure;
        const int pages = dorvo::countPages(canvas, inputs, state);
        // The first pages, and the last, which a page index reaches without the ones before.
        for (int p : {1, 2, 3, pages}) {
            if (p > pages) continue;
            state.view.currentPage = p;
            dorvo::drawPage(canvas, inputs, state);
        }
    }

    char dxfPath[] = "/tmp/dorvo-pages-fuzz-dxf-XXXXXX";
    const int dxfFd = ::mkstemp(dxfPath);
    if (dxfFd >= 0) {
        ::close(dxfFd);
        dorvo::CriticalCircle critical;
        std::vector<dorvo::CentreLabel> labels = dorvo::readResultOverlay(path, critical);
        const dorvo::SectionDxfInputs dxf{project,
                                          settings,
                                          std::move(labels),
                                          critical,
                                          dorvo::figureWindowWithDefaults(project).scaleY,
                                          {}};
        [[maybe_unused]] const dorvo::Status written = dorvo::writeSectionDxf(dxfPath, dxf);
        ::unlink(dxfPath);
    }
    ::unlink(path);
    return 0;
}
