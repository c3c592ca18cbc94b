// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/canvas.h"
#include "render/render_inputs.h"

namespace dorvo {

/// Draws one page of the section figure: soil bands, grid, axes, block lines, loads, the
/// circle search, the Fs of each centre and the critical circle, heading and page number.
void drawFigurePage(Canvas& canvas, const RenderInputs& inputs, PageState& state);

}  // namespace dorvo
