// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/canvas.h"
#include "render/render_inputs.h"
#include "render/row_engine.h"

namespace dorvo {

/// Lays out the result records as a table, one row per record at the columns its code
/// selects. Draws the rows of the current page (drawing mode) and returns the number of pages.
int layOutResultsPage(Canvas& canvas, const RenderInputs& inputs, PageState& state, PageMode mode);

}  // namespace dorvo
