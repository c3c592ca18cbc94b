// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/font_editing.h"

#include <cmath>

#include "app/dialog_fields.h"
#include "model/encoding.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

FontSlot& slotOf(FontEditing& editing, int slot) {
    return editing.fonts.at(static_cast<std::size_t>(slot - 1));
}

}  // namespace

std::string fontSizeText(double sizePoints) {
    return formatC(" %2ld     (%.1f)", std::lround(sizePoints), sizePoints);
}

std::string fontFaceText(const FontSlot& font) {
    return toDisplayText(font.face);
}

Status takeChosenFont(FontEditing& editing, int slot, const ChosenFont& chosen) {
    const std::string label =
        std::string(kFontSlotCaptions.at(static_cast<std::size_t>(slot - 1)).button) + " 書体";
    Result<std::string> face = typedText(chosen.face, label);
    if (!face) return Failure{face.error()};
    FontSlot& font = slotOf(editing, slot);
    font.face = std::move(face).value();
    font.sizePoints = chosen.sizePoints;
    font.italic = chosen.italic ? 1 : 0;
    editing.changed = true;
    return Done{};
}

void takeChosenColour(FontEditing& editing, int slot, long colour) {
    slotOf(editing, slot).colour = colour;
    editing.changed = true;
}

bool mayDiscardFontChanges(const FontEditing& editing, YesNoQuestion& question) {
    return !editing.changed || question.askYesNo(makeMessage(MessageId::CancelChanges));
}

}  // namespace dorvo
