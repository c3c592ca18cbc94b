// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/dialog_fields.h"
#include "model/messages.h"
#include "model/result.h"
#include "settings/program_settings.h"

namespace dorvo {

// The dialog "様式 図の線種": widths, colours and dashes of the figure's lines, axis ticks,
// grid, load marks, the decimals of Fs and the user's firm, settings of the installation.

enum class LineStyleKind {
    Integer,     // "%d", within the range when one is given
    Text,        // stored as typed
    ColourText,  // a colour text ("0x%06x", decimal or octal), with a "色" button
};

struct LineStyleField {
    std::string_view group;
    std::string_view label;
    LineStyleKind kind;
    int ProgramSettings::*number = nullptr;        // Integer fields
    std::string ProgramSettings::*text = nullptr;  // Text and Colour fields
    std::optional<IntRange> range = std::nullopt;

    /// The field's name for screen readers: its group and its label.
    std::string name() const { return std::string(group) + " " + std::string(label); }
};

inline constexpr int kLineStyleFieldCount = 27;

/// Every field of the dialog but the decimals, in the dialog's order.
inline constexpr std::array<LineStyleField, kLineStyleFieldCount> kLineStyleFields = {{
    {"ブロック線", "太さ", LineStyleKind::Integer, &ProgramSettings::blockLineWidth, nullptr,
     IntRange{1, 30}},
    {"ブロック線", "色", LineStyleKind::ColourText, nullptr, &ProgramSettings::blockLineColour},
    {"円の中心点格子", "太さ", LineStyleKind::Integer, &ProgramSettings::centreGridWidth, nullptr,
     IntRange{0, 100}},
    {"円の中心点格子", "実線部", LineStyleKind::Integer, &ProgramSettings::centreGridDash, nullptr,
     IntRange{0, 100}},
    {"円の中心点格子", "空白部", LineStyleKind::Integer, &ProgramSettings::centreGridGap, nullptr,
     IntRange{0, 30}},
    {"円の中心点格子", "色", LineStyleKind::ColourText, nullptr,
     &ProgramSettings::centreGridColour},
    {"円弧", "太さ", LineStyleKind::Integer, &ProgramSettings::arcWidth, nullptr, IntRange{1, 30}},
    {"円弧", "色", LineStyleKind::ColourText, nullptr, &ProgramSettings::arcColour},
    {"すべり面範囲", "太さ", LineStyleKind::Integer, &ProgramSettings::slipRangeWidth, nullptr,
     IntRange{0, 30}},
    {"すべり面範囲", "実線部", LineStyleKind::Integer, &ProgramSettings::slipRangeDash, nullptr,
     IntRange{0, 100}},
    {"すべり面範囲", "空白部", LineStyleKind::Integer, &ProgramSettings::slipRangeGap, nullptr,
     IntRange{0, 30}},
    {"すべり面範囲", "色", LineStyleKind::ColourText, nullptr, &ProgramSettings::slipRangeColour},
    {"すべり面範囲", "半径制限指定点 半径mm", LineStyleKind::Text, nullptr,
     &ProgramSettings::limitPointRadiusMm},
    {"XY軸 目盛り", "太さ", LineStyleKind::Integer, &ProgramSettings::axisWidth},
    {"XY軸 目盛り", "色", LineStyleKind::ColourText, nullptr, &ProgramSettings::axisColour},
    {"XY軸 目盛り", "きざみ 数値 N (m)", LineStyleKind::Integer, &ProgramSettings::axisLabelStep},
    {"XY軸 目盛り", "間隔 P (m)", LineStyleKind::Integer, &ProgramSettings::axisTickStep},
    {"XY軸 目盛り", "長さ L (㎜)", LineStyleKind::Integer, &ProgramSettings::axisTickLengthMm},
    {"グリッド", "太さ", LineStyleKind::Integer, &ProgramSettings::gridWidth},
    {"グリッド", "色", LineStyleKind::ColourText, nullptr, &ProgramSettings::gridColour},
    {"グリッド", "きざみ X (m)", LineStyleKind::Integer, &ProgramSettings::gridStepX},
    {"グリッド", "きざみ Y (m)", LineStyleKind::Integer, &ProgramSettings::gridStepY},
    {"集中荷重", "太さ", LineStyleKind::Integer, &ProgramSettings::loadWidth},
    {"集中荷重", "色", LineStyleKind::ColourText, nullptr, &ProgramSettings::loadColour},
    {"集中荷重", "線長さ 上下 mm", LineStyleKind::Text, nullptr,
     &ProgramSettings::loadLineLengthMm},
    {"登録", "調査業者名", LineStyleKind::Text, nullptr, &ProgramSettings::surveyorName},
    {"登録", "Tel Mail", LineStyleKind::Text, nullptr, &ProgramSettings::surveyorContact},
}};

/// The decimals of Fs offered, "2", "3" and "4".
inline constexpr int kLowestDecimals = 2;
inline constexpr int kDecimalsChoices = 3;

/// The dialog's texts in the order of `kLineStyleFields` (UTF-8) and the decimals' index.
struct LineStyleForm {
    std::array<std::string, kLineStyleFieldCount> texts;
    int decimalsIndex = 1;
};

LineStyleForm lineStyleForm(const ProgramSettings& settings);

/// "標準の設定例": every line, axis, grid and load field and the decimals ("3") to the
/// recommended values; the firm's texts stay.
void applyLineStyleExample(LineStyleForm& form);

/// "すべり面破線": the slip-surface range dashed, width 2, 8 drawn and 8 blank, green.
void applyDashedSlipRange(LineStyleForm& form);

/// OK: checks every field and stores them all with the decimals, under the rules every reading
/// of the settings applies (a width of 0 draws 1 pixel wide). A refused field fails with its
/// message and nothing is stored (the dialog stays open).
Status storeLineStyles(const LineStyleForm& typed, ProgramSettings& settings);

/// The index in `kLineStyleFields` of a group's field.
std::size_t lineStyleFieldIndex(std::string_view group, std::string_view label);

}  // namespace dorvo
