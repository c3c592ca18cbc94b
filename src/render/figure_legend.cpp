// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/figure_legend.h"

#include <algorithm>
#include <cmath>

#include "render/drawing.h"

namespace dorvo {

std::optional<DeviceRect> LegendShelf::place(int width, int height) {
    const DeviceRect box{nextRight_ - width, window_.top + gap_, nextRight_,
                         window_.top + gap_ + height};
    if (!isInside(box, window_)) return std::nullopt;
    nextRight_ = box.left - gap_;
    return box;
}

bool isInside(const DeviceRect& inner, const DeviceRect& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

int estimatedTextWidth(std::string_view utf8, int heightPx, double narrowShare) {
    double width = 0.0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        // Three-byte characters from U+3000 on are the wide ones of Japanese text.
        const bool wide = length >= 3 && !(length == 3 && lead == 0xe2);
        width += wide ? 1.0 : narrowShare;
        i += length;
    }
    // A text from a hostile results file may be longer than any device is wide.
    return static_cast<int>(std::min(std::ceil(width * heightPx), 1e9));
}

int legendLineWidth(const Canvas& canvas) {
    return std::max(1, static_cast<int>(std::lround(canvas.pixelScale())));
}

void drawLegendBox(Canvas& canvas, DeviceRect box, Colour frameColour) {
    const DevicePoint corners[] = {
        {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
    const int counts[] = {4};
    canvas.fillPolygons(corners, counts, Fill::Solid, rgb(255, 255, 255));
    drawFrame(canvas, box, PenStyle::Solid, legendLineWidth(canvas), frameColour);
}

}  // namespace dorvo
