// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/messages.h"
#include "model/result.h"
#include "settings/font_slots.h"

namespace dorvo {

// The dialog "フォント": face, size, colour and italic of the six kinds of text.

/// A slot's button and what the slot is used for, as the dialog shows them.
struct FontSlotCaption {
    std::string_view button;
    std::string_view usedFor;
};

inline constexpr std::array<FontSlotCaption, kFontSlots> kFontSlotCaptions = {{
    {"見出し", "図表のタイトル文字"},
    {"図のFS値", "断面図の安全率"},
    {"図の目盛り", "断面図のXY軸目盛り"},
    {"データ", "入力データ一覧表　層データ　断面や円弧の座標等"},
    {"計算結果", "計算結果一覧表 モーメント、Fs 等"},
    {"ページ", "フッタ ページ部分"},
}};

/// The size box: the size rounded to a whole point, then the exact size, " %2d     (%.1f)".
std::string fontSizeText(double sizePoints);

/// The face box, in UTF-8.
std::string fontFaceText(const FontSlot& font);

/// A font the user chose, its face in UTF-8.
struct ChosenFont {
    std::string face;
    double sizePoints = 0.0;
    bool italic = false;
};

/// The dialog's working copy of the slots and whether a choice changed it since it opened.
struct FontEditing {
    FontSlots fonts;
    bool changed = false;
};

/// Takes a chosen font into a slot (1-based), keeping its colour. A face that a font file
/// cannot hold fails with its message and changes nothing.
Status takeChosenFont(FontEditing& editing, int slot, const ChosenFont& chosen);

/// Takes a chosen colour (0x00BBGGRR) into a slot (1-based).
void takeChosenColour(FontEditing& editing, int slot, long colour);

/// Cancel: an unchanged dialog closes at once, a changed one only when the user answers Yes
/// to 133.
bool mayDiscardFontChanges(const FontEditing& editing, YesNoQuestion& question);

}  // namespace dorvo
