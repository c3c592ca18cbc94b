// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/margins_table.h"

#include <cstddef>
#include <iterator>

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

// Positions of the thirteen used rows; 0 marks an unused field.
constexpr int kDefaults[13][kMarginFields] = {
    {1},
    {5, 35, 60, 90, 115, 140},
    {5, 30, 55, 85, 110, 140},
    {5, 34, 59, 84, 109, 135},
    {5, 30, 55, 80, 105, 130},
    {5, 33, 58},
    {5, 30, 55},
    {5, 32, 84, 89, 120, 125},
    {5, 32, 84, 89, 120, 125},
    {5, 51, 84, 89, 120, 125},
    {10, 29, 44, 66, 84, 101, 131, 149},
    {1, 20, 35, 55, 75, 95, 120, 140},
    {10, 35, 66, 97, 140},
};

std::size_t index(int oneBased) {
    return static_cast<std::size_t>(oneBased - 1);
}

}  // namespace

MarginsTable defaultMarginsTable() {
    MarginsTable table;
    for (std::size_t row = 0; row < std::size(kDefaults); ++row) {
        for (std::size_t field = 0; field < kMarginFields; ++field) {
            if (int position = kDefaults[row][field]; position > 0) {
                table[row][field] = formatInt(position);
            }
        }
    }
    return table;
}

void applyMarginsLines(MarginsTable& table, const std::vector<std::string>& lines,
                       std::string_view source, MessageSink& messages) {
    for (std::size_t row = 0; row < lines.size() && row < table.size(); ++row) {
        if (lines[row].empty()) continue;
        if (lines[row].size() > kCsvLineLimit) {
            Message tooLong = literalMessage("too many csv");
            tooLong.where = std::string(source) + ":" + std::to_string(row + 1);
            messages.report(tooLong);
        }
        for (int field = 1; field <= kMarginFields; ++field) {
            CsvField cell = csvField(lines[row], field);
            table[row][index(field)] = cell.status == CsvStatus::Found ? cell.text : "";
        }
    }
}

std::vector<std::string> marginsTableLines(const MarginsTable& table) {
    std::vector<std::string> lines;
    for (const auto& row : table) {
        std::string line;
        for (const std::string& field : row) line += field + ",";
        lines.push_back(std::move(line));
    }
    return lines;
}

void ensureMarginsDefaults(MarginsTable& table) {
    if (!isPresent(table[0][0]) && !isPresent(table[0][1])) table = defaultMarginsTable();
}

int marginPosition(const MarginsTable& table, int row, int field) {
    return readInteger(table.at(index(row)).at(index(field)));
}

}  // namespace dorvo
