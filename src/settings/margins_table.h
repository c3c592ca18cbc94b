// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/messages.h"

namespace dorvo {

inline constexpr int kMarginRows = 20;
inline constexpr int kMarginFields = 8;

/// The margins and display-position table of "Syx.ndx": column positions in mm from the left
/// margin, as "%d" texts (empty where unused). Row 1 is the block number line.
using MarginsTable = std::array<std::array<std::string, kMarginFields>, kMarginRows>;

/// Table rows with a meaning (1-based, as in the file).
namespace margins_row {
inline constexpr int kBlockNumber = 1;
inline constexpr int kBlockHeaders = 2;
inline constexpr int kBlockValues = 3;
inline constexpr int kLayerHeaders = 4;
inline constexpr int kLayerValues = 5;
inline constexpr int kLoadHeaders = 6;
inline constexpr int kLoadValues = 7;
inline constexpr int kCircleCentreRows = 8;
inline constexpr int kCircleRadiusRows = 9;
inline constexpr int kLimitPointRows = 10;
inline constexpr int kResultTextColumns = 11;
inline constexpr int kResultNumberColumns = 12;
inline constexpr int kResultMinimumLine = 13;
}  // namespace margins_row

/// The default column positions of the thirteen used rows.
MarginsTable defaultMarginsTable();

/// Applies the lines of "Syx.ndx" to the table: an empty line leaves its row alone.
/// A line longer than the field reader takes is cut, and reported as "too many csv" with
/// `source` and its line number.
void applyMarginsLines(MarginsTable& table, const std::vector<std::string>& lines,
                       std::string_view source, MessageSink& messages);

/// The 20 lines of "Syx.ndx": eight fields, each followed by a comma.
std::vector<std::string> marginsTableLines(const MarginsTable& table);

/// Fills the defaults when fields 1 and 2 of row 1 are both not present.
void ensureMarginsDefaults(MarginsTable& table);

/// Reads a position of the table as an integer (row from 1, field from 1).
int marginPosition(const MarginsTable& table, int row, int field);

}  // namespace dorvo
