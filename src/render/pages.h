// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/canvas.h"
#include "render/render_inputs.h"

namespace dorvo {

/// Draws the page the view shows: the data tables, the result table or the figure.
void drawPage(Canvas& canvas, const RenderInputs& inputs, PageState& state);

/// How many pages the shown page kind has on this device; brings a current page beyond the
/// count back to 1.
int countPages(Canvas& canvas, const RenderInputs& inputs, PageState& state);

}  // namespace dorvo
