// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/render_fixture.h"

#include "model/number_text.h"

namespace dorvo::test {

RenderFixture::RenderFixture()
    : settings(recommendedProgramSettings()),
      margins(defaultMarginsTable()),
      fonts(defaultFontSlots()),
      resultsFile(folder.path() / "Tmp1.tmp") {
    settings.gridColour = formatColour(kGridColour);
    settings.axisColour = formatColour(kAxisColour);
    settings.blockLineColour = formatColour(kBlockColour);
    settings.loadColour = formatColour(kLoadColour);
    settings.centreGridColour = formatColour(kCentreGridColour);
    settings.arcColour = formatColour(kArcColour);
    settings.slipRangeColour = formatColour(kRangeColour);
    setup.paperWidthMm = 210;
    setup.paperHeightMm = 297;
    setup.leftMarginMm = 25;
    setup.topMarginMm = 15;
    setup.scaleX = 500;
    setup.scaleY = 500;
    setup.figureLeftX = 0;
    setup.pageWidthM = 80;
    setup.pageOverlapM = 0;
    setup.figureTopY = 40;
    setup.pageDepthM = 40;
    project.settings.line(settings_line::kShowAxes) = "1";
}

RenderInputs RenderFixture::inputs() {
    return {project, settings, margins, fonts, setup, resultsFile, nullptr};
}

void RenderFixture::writeResults(std::string_view text) {
    writeBytes(resultsFile, text);
}

}  // namespace dorvo::test
