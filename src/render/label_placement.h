// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "render/canvas.h"
#include "render/page_setup.h"
#include "render/result_overlay.h"

namespace dorvo {

/// Decides which of many small texts a page draws: those that show inside its window and
/// keep clear of every text placed before them, so that a dense grid of labels costs what
/// the page can show, not what the grid holds. Widths are estimated from the font height, the
/// same on every device, so a page is laid out alike on the screen and on paper.
class LabelPlacement {
  public:
    LabelPlacement(DeviceRect window, int fontHeightPx);

    /// Places a text drawn from its top-left corner at `at` when it shows in the window and
    /// overlaps no text placed so far; false when it is to be left out.
    bool place(DevicePoint at, std::string_view utf8);

  private:
    struct Placed {
        DeviceRect box;
        int next;  // the next box of the same cell, or -1
    };

    static bool overlap(const DeviceRect& a, const DeviceRect& b);
    int cellColumn(int x) const;
    int cellRow(int y) const;

    DeviceRect window_;
    int height_;
    int cellSize_;
    int columns_;
    int rows_;
    std::vector<int> firstInCell_;  // per cell: the first placed box touching it, or -1
    std::vector<Placed> placed_;
};

/// Where a centre's label is drawn from: the top-left corner of its text, one font height
/// above the centre.
DevicePoint centreLabelCorner(const DeviceMapping& mapping, const CentreLabel& label,
                              int fontHeightPx);

/// The labels of centres that a drawing shows, as places in `labels`: those whose text, drawn
/// from its centreLabelCorner, shows in the window and keeps clear of every one shown before
/// it. The figure's pages and its DXF choose their labels so.
std::vector<std::size_t> placeCentreLabels(const std::vector<CentreLabel>& labels,
                                           const DeviceMapping& mapping, const DeviceRect& window,
                                           int fontHeightPx);

}  // namespace dorvo
