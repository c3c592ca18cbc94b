// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include "render/canvas.h"
#include "render/render_inputs.h"
#include "render/row_engine.h"

namespace dorvo {

/// Lays out the result records as a table, one row per record at the columns its code
/// selects. Draws the rows of the current page (drawing mode) and returns the number of pages.
int layOutResultsPage(Canvas& canvas, const RenderInputs& inputs, PageState& state, PageMode mode);

/// Told each time a count of pages reaches a new page, with the pages counted so far; false
/// stops the count.
using CountingCheck = std::function<bool(int counted)>;

/// Counts the result table's pages as layOutResultsPage does, asking `carryOn` at each new
/// page; nothing when it stopped the count.
std::optional<int> countResultPages(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                                    const CountingCheck& carryOn);

}  // namespace dorvo
