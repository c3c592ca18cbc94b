// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/sorted_store.h"

#include <cmath>

#include "model/encoding.h"

namespace dorvo {

namespace {

/// The report as the user reads it: the stored text in UTF-8, one line per duplicate.
Message reportMessage(const std::string& stored) {
    std::string text = toDisplayText(stored);
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return literalMessage(text);
}

std::size_t chooseSmallest(const std::vector<TableRow>& rows, const SortRules& rules) {
    std::size_t chosen = 0;
    std::optional<SortKey> smallest;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto key = rules.key(rows[i]);
        if (key && (!smallest || *key < *smallest)) {
            smallest = key;
            chosen = i;
        }
    }
    return chosen;
}

bool sameKey(const SortKey& a, const SortKey& b, double tolerance) {
    return std::fabs(a.first - b.first) < tolerance && std::fabs(a.second - b.second) < tolerance;
}

}  // namespace

SortedRows sortRows(std::vector<TableRow> rows, const SortRules& rules) {
    SortedRows sorted;
    std::string report = toStoredText(rules.heading).value_or("") + "\r\n";
    int reports = 0;
    bool reportFull = false;
    while (!rows.empty()) {
        if (rows.front().front().empty()) {
            rows.erase(rows.begin());
            continue;
        }
        const std::size_t chosen = chooseSmallest(rows, rules);
        const auto key = rules.key(rows[chosen]);
        TableRow row = rows[chosen];
        rules.normalise(row);
        for (std::size_t i = chosen + 1; key && !reportFull && i < rows.size(); ++i) {
            const auto other = rules.key(rows[i]);
            if (!other || !sameKey(*key, *other, rules.tolerance)) continue;
            if (++reports <= kReportedDuplicates) report += rules.entry(row) + "\r\n";
            reportFull = reports >= kReportedDuplicates || report.size() >= kReportLength;
        }
        sorted.rows.push_back(std::move(row));
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(chosen));
    }
    if (reports >= 1) sorted.duplicates = reportMessage(report);
    return sorted;
}

}  // namespace dorvo
