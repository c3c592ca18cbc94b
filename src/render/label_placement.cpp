// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/label_placement.h"

#include "render/figure_legend.h"

#include <algorithm>
#include <cstdint>

namespace dorvo {

namespace {

/// Cells per side at most: the index of placed boxes stays small for any window.
constexpr std::int64_t kMaxCellsPerSide = 512;

// Numbers take about half a font height per character: the digits of a Japanese face are
// half-width, and a Latin face's wider digits make up for its narrow point. The legends'
// more generous estimate would part labels that do not touch.
constexpr double kLabelNarrowShare = 0.5;

}  // namespace

LabelPlacement::LabelPlacement(DeviceRect window, int fontHeightPx)
    : window_{std::min(window.left, window.right), std::min(window.top, window.bottom),
              std::max(window.left, window.right), std::max(window.top, window.bottom)},
      height_(std::max(fontHeightPx, 1)) {
    const std::int64_t width = std::int64_t(window_.right) - window_.left + 1;
    const std::int64_t depth = std::int64_t(window_.bottom) - window_.top + 1;
    const std::int64_t side = std::max<std::int64_t>(
        {2 * std::int64_t(height_),
         (std::max(width, depth) + kMaxCellsPerSide - 1) / kMaxCellsPerSide, 1});
    cellSize_ = static_cast<int>(side);
    columns_ = static_cast<int>((width + side - 1) / side);
    rows_ = static_cast<int>((depth + side - 1) / side);
    firstInCell_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), -1);
}

bool LabelPlacement::overlap(const DeviceRect& a, const DeviceRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int LabelPlacement::cellColumn(int x) const {
    return std::clamp((x - window_.left) / cellSize_, 0, columns_ - 1);
}

int LabelPlacement::cellRow(int y) const {
    return std::clamp((y - window_.top) / cellSize_, 0, rows_ - 1);
}

bool LabelPlacement::place(DevicePoint at, std::string_view utf8) {
    const DeviceRect box{
        at.x, at.y,
        int(std::min<std::int64_t>(
            std::int64_t(at.x) + estimatedTextWidth(utf8, height_, kLabelNarrowShare), 65535)),
        at.y + height_};
    if (box.right < window_.left || box.left > window_.right || box.bottom < window_.top ||
        box.top > window_.bottom) {
        return false;
    }
    const int firstColumn = cellColumn(box.left);
    const int lastColumn = cellColumn(box.right);
    const int firstRow = cellRow(box.top);
    const int lastRow = cellRow(box.bottom);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            for (int i =
                     firstInCell_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
                 i >= 0; i = placed_[std::size_t(i)].next) {
                if (overlap(box, placed_[std::size_t(i)].box)) return false;
            }
        }
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            int& first =
                firstInCell_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
            placed_.push_back({box, first});
            first = static_cast<int>(placed_.size() - 1);
        }
    }
    return true;
}

DevicePoint centreLabelCorner(const DeviceMapping& mapping, const CentreLabel& label,
                              int fontHeightPx) {
    const double h = fontHeightPx / mapping.pxPerMetreY;
    return {toDeviceX(mapping, label.x), toDeviceY(mapping, label.y + h)};
}

std::vector<std::size_t> placeCentreLabels(const std::vector<CentreLabel>& labels,
                                           const DeviceMapping& mapping, const DeviceRect& window,
                                           int fontHeightPx) {
    std::vector<std::size_t> placed;
    LabelPlacement placement(window, fontHeightPx);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (placement.place(centreLabelCorner(mapping, labels[i], fontHeightPx), labels[i].text)) {
            placed.push_back(i);
        }
    }
    return placed;
}

}  // namespace dorvo
