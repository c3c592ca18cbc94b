// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <vector>

#include "editors/block_line_editing.h"
#include "editors/editor_table.h"
#include "render/canvas.h"

namespace dorvo {

/// What the preview of the block line editor draws besides the list: the block's edges, the
/// block to its left and the Y range, which is set when the editor opens.
struct PreviewFrame {
    double xLeft = 0.0;
    double xRight = 0.0;
    double farLeftX = 0.0;  // the left block's own left edge
    std::vector<LeftBlockLine> leftLines;
    double top = 0.0;      // raised to the block's own Ys and the left block's last line
    double bottom = -0.1;  // raised to the Y-right of the left block's first line
};

/// The frame of a block whose line list is `lines` as the editor opened it.
PreviewFrame previewFrame(std::string_view xLeft, std::string_view xRight,
                          std::string_view farLeftX, const EditorTable& lines,
                          std::vector<LeftBlockLine> leftLines);

/// One thing the preview draws, in the preview window's pixels.
struct PreviewShape {
    enum class Kind { Circle, Line, Label };
    Kind kind = Kind::Line;
    DevicePoint from;  // a circle's centre, a label's top-left corner
    DevicePoint to;
    Colour colour = 0;
    std::string text;  // a label's text, stored text
    bool operator==(const PreviewShape&) const = default;
};

inline constexpr Colour kPreviewRed = 0x0000ff;
inline constexpr Colour kPreviewGreen = 0x00ff00;
inline constexpr Colour kPreviewGrey = 0x808080;
inline constexpr Colour kPreviewBlack = 0x000000;
inline constexpr Colour kPreviewBlue = 0xff0000;

/// Maps a value of [from, to] onto pixels [p, q]; 0 for a range narrower than 0.01 or a
/// result beyond what a pixel can be.
int mapToPixel(double value, double from, double to, int p, int q);

/// The shapes of one redraw: the left block's lines, the listed lines up to the first row
/// without a Y-left, then the line in the entry fields. A bottom still below 0 becomes the
/// first row's Y-left, which the Y range follows from the next redraw on.
std::vector<PreviewShape> previewScene(PreviewFrame& frame, const EditorTable& lines,
                                       const LineEntry& pending, DeviceRect window);

/// Draws the shapes: circles of radius 3 with a pen 2 wide, lines 1 wide, labels 10 high.
void drawPreview(Canvas& canvas, std::span<const PreviewShape> shapes);

}  // namespace dorvo
