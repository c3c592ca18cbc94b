// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"
#include "render/page_setup.h"
#include "settings/margins_table.h"
#include "settings/program_settings.h"

namespace dorvo {

// The dialog "マージンと表示位置": the top and left margins of every page and the column
// positions of the tables, settings of the installation.

/// The rows of the margins table the dialog edits (the file keeps 20).
inline constexpr int kMarginsDialogRows = 13;

/// What each edited row positions, as the dialog names it.
inline constexpr std::array<std::string_view, kMarginsDialogRows> kMarginsRowNames = {
    "ブロック 番号", "ブロック 文字", "ブロック 数値",   "層データ 文字", "層データ 数値",
    "集中荷重 文字", "集中荷重 数値", "すべり円 中心点", "すべり円 半径", "すべり円 半径制限指定点",
    "計算結果 文字", "計算結果 数値", "計算結果 最小値",
};

/// The dialog's texts: the margins and, per row, up to eight positions in mm from the left
/// margin ("%d", empty where a row has no such column).
struct MarginsForm {
    std::string top;
    std::string left;
    std::array<std::array<std::string, kMarginFields>, kMarginsDialogRows> positions;
};

MarginsForm marginsForm(const ProgramSettings& settings, const MarginsTable& table);

/// "標準の設定": the default positions, a top margin of 15 and a left margin of 25.
MarginsForm standardMarginsForm();

/// What OK stores: the two margins and the whole table (the rows past the dialog's kept).
struct MarginsChange {
    int topMarginMm = 0;
    int leftMarginMm = 0;
    MarginsTable table;
};

/// OK: the typed values as the installation keeps them. A text that is no integer, or margins
/// that leave a figure page at the project's scales no drawing length on the paper (4012),
/// fail with their message: the dialog stays open.
Result<MarginsChange> acceptMargins(const MarginsForm& typed, const MarginsTable& current,
                                    const PageSetup& setup);

/// Cuts the figure's page ranges to what one page shows at its scales with these margins, in
/// the figure window and in settings lines 6 and 9; true when one was cut.
bool cutPageRangesToPaper(FigureWindow& window, const PageSetup& setup, ProjectSettings& settings);

}  // namespace dorvo
