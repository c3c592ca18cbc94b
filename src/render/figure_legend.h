#pragma once

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

    /// The box for a legend of this size, left of the legends placed before.
    DeviceRect place(int width, int height);

  private:
    DeviceRect window_;
    int gap_;
    int nextRight_;
};

/// How wide a text will be at a font height. The canvas cannot measure text, so this counts
/// a wide (Japanese) character as one height and any other as 0.55 of one, enough for most
/// faces.
int estimatedTextWidth(std::string_view utf8, int heightPx);

/// A white box with a thin frame, so that what it holds reads over hatching and lines.
void drawLegendBox(Canvas& canvas, DeviceRect box, int frameWidth, Colour frameColour);

/// A 0x00BBGGRR colour from its red, green and blue.
constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
           static_cast<Colour>(blue) << 16;
}

}  // namespace dorvo
