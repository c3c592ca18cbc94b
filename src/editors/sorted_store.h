// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editors/editor_table.h"
#include "model/messages.h"

namespace dorvo {

/// A row's key as up to two numbers compared in turn.
using SortKey = std::pair<double, double>;

/// How an editor's OK orders its rows and reports rows with the same key.
struct SortRules {
    /// The key of a row that takes part in the choice of the smallest, or nothing.
    std::function<std::optional<SortKey>(const TableRow&)> key;
    /// Keys are the same when both numbers differ by less than this.
    double tolerance = 0.0;
    /// Rewrites the texts of the chosen row before it is stored.
    std::function<void(TableRow&)> normalise;
    std::string heading;  // UTF-8
    /// The report line of a chosen row that has duplicates, in stored text, without line end.
    std::function<std::string(const TableRow& chosen)> entry;
};

struct SortedRows {
    std::vector<TableRow> rows;
    std::optional<Message> duplicates;  // the report of duplicate keys, when there are any
};

/// At most this many duplicates are listed, and no more once the report reaches the length.
inline constexpr int kReportedDuplicates = 6;
inline constexpr std::size_t kReportLength = 300;

/// Takes the row with the smallest key out again and again, the first in list order among
/// equal keys, dropping a top row whose key cell is empty; reports the duplicate keys of
/// each chosen row. Every row that takes part is kept, duplicates too.
SortedRows sortRows(std::vector<TableRow> rows, const SortRules& rules);

}  // namespace dorvo
