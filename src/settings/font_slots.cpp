// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/font_slots.h"

#include "model/number_text.h"

namespace dorvo {

double defaultFontSize(int slot) {
    if (slot == font_slot::kTitles) return 12.0;
    if (slot == font_slot::kFigureFs || slot == font_slot::kFigureAxes) return 7.0;
    return 9.0;
}

void applyFontLines(FontSlot& font, const std::vector<std::string>& lines) {
    if (lines.size() > 0) font.sizePoints = readReal(lines[0]);
    if (lines.size() > 1) font.face = lines[1];
    if (lines.size() > 2) font.colour = readInteger(lines[2]);
    if (lines.size() > 3) font.italic = readInteger(lines[3]);
}

void applyFontRules(FontSlot& font, int slot) {
    if (!(font.sizePoints > 1.0 && font.sizePoints <= 200.0))
        font.sizePoints = defaultFontSize(slot);
    if (font.face.size() <= 1) font.face = kDefaultFontFace;
}

std::vector<std::string> fontSlotLines(const FontSlot& font) {
    return {formatC("%.1f", font.sizePoints), font.face, formatC("%ld", font.colour),
            formatInt(font.italic)};
}

FontSlots defaultFontSlots() {
    FontSlots fonts;
    for (int slot = 1; slot <= kFontSlots; ++slot) {
        applyFontRules(fonts[static_cast<std::size_t>(slot - 1)], slot);
    }
    return fonts;
}

}  // namespace dorvo
