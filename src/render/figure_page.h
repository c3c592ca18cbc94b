#pragma once

#include "render/canvas.h"
#include "render/render_inputs.h"

namespace dorvo {

/// Draws one page of the section figure: soil bands, grid, axes, block lines, loads, the
/// circle search, the Fs of each centre and the critical circle, heading and page number.
void drawFigurePage(Canvas& canvas, const RenderInputs& inputs, PageState& state);

/// Reads the per-centre Fs labels and the critical circle from the results working file.
/// Keeps the previous critical circle when the file cannot be read.
struct CentreLabel {
    double x = 0.0;
    double y = 0.0;
    std::string text;
};

std::vector<CentreLabel> readResultOverlay(const std::filesystem::path& resultsFile,
                                           CriticalCircle& critical);

}  // namespace dorvo
