// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "render/canvas.h"
#include "render/render_inputs.h"
#include "render/results_page.h"

namespace dorvo {

/// Draws the page the view shows: the data tables, the result table or the figure.
void drawPage(Canvas& canvas, const RenderInputs& inputs, PageState& state);

/// How many pages the shown page kind has on this device; brings a current page beyond the
/// count back to 1.
int countPages(Canvas& canvas, const RenderInputs& inputs, PageState& state);

/// Counts as countPages does; the result table, which may run to thousands of pages, asks
/// `carryOn` at each new page. Nothing when it stopped the count; the current page then stays.
std::optional<int> countPages(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                              const CountingCheck& carryOn);

}  // namespace dorvo
