// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "render/canvas.h"

namespace dorvo {

/// Places the figure's legends side by side along the top of the figure window, from its
/// right corner leftward, so that they leave the section's middle free.
class LegendShelf {
  public:
    LegendShelf(DeviceRect window, int gapPx) : window_(window), gap_(gapPx) {
        nextRight_ = window.right - gapPx;
    }

    /// The box for a legend of this size, left of the legends placed before; nothing when
    /// it does not fit in the window, where it would be cut off.
    std::optional<DeviceRect> place(int width, int height);

  private:
    DeviceRect window_;
    int gap_;
    int nextRight_;
};

/// Whether one rectangle lies wholly inside another.
bool isInside(const DeviceRect& inner, const DeviceRect& outer);

/// How wide a text will be at a font height. The canvas cannot measure text, so this counts
/// a wide (Japanese) character as one height and any other as `narrowShare` of one; the
/// default 0.55 is enough for most faces.
int estimatedTextWidth(std::string_view utf8, int heightPx, double narrowShare = 0.55);

/// A 0x00BBGGRR colour from its red, green and blue.
constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
           static_cast<Colour>(blue) << 16;
}

inline constexpr Colour kLegendFrameColour = rgb(96, 96, 96);

/// The width of the legends' thin lines on this device: one screen pixel.
int legendLineWidth(const Canvas& canvas);

/// A white box with a thin frame, so that what it holds reads over hatching and lines.
void drawLegendBox(Canvas& canvas, DeviceRect box, Colour frameColour);

}  // namespace dorvo
