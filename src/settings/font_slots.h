// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

namespace dorvo {

/// One of the six kinds of text: face (code page 932), size in points, colour 0x00BBGGRR.
struct FontSlot {
    std::string face;
    double sizePoints = 0.0;
    long colour = 0;
    int italic = 0;
};

inline constexpr int kFontSlots = 6;
using FontSlots = std::array<FontSlot, kFontSlots>;

/// What each slot is used for (1-based, as in the file names "Font1.ndx" … "Font6.ndx").
namespace font_slot {
inline constexpr int kTitles = 1;
inline constexpr int kFigureFs = 2;
inline constexpr int kFigureAxes = 3;
inline constexpr int kDataTables = 4;
inline constexpr int kResultTables = 5;
inline constexpr int kPageFooter = 6;
}  // namespace font_slot

/// The face every slot falls back to, "ＭＳ 明朝" in code page 932.
inline constexpr std::string_view kDefaultFontFace = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";

/// The size a slot falls back to: 12 pt for titles, 7 pt in the figure, 9 pt elsewhere.
double defaultFontSize(int slot);

/// Applies the lines of a font slot file; lines after the fourth are ignored.
void applyFontLines(FontSlot& font, const std::vector<std::string>& lines);

/// Replaces a size outside (1, 200] and a face of at most one character by the defaults.
void applyFontRules(FontSlot& font, int slot);

/// The four lines of a font slot file: "%.1f", the face, "%ld", "%d".
std::vector<std::string> fontSlotLines(const FontSlot& font);

/// The six slots as a first run starts them.
FontSlots defaultFontSlots();

}  // namespace dorvo
