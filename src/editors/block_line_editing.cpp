// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/block_line_editing.h"

#include <cmath>

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr const char* kLineKeyName = "Y座標(左、右)";
constexpr double kSameAddedY = 0.00001;
constexpr double kSameSortedY = 1e-6;
constexpr double kMissingYRight = -999.99;

std::optional<Message> checkLayerNo(std::string_view layerNo) {
    if (layerNo.empty()) return std::nullopt;
    return checkKey(layerNo, KeyRange::LayerNumber);
}

std::optional<Message> checkLine(const TableRow& cells) {
    if (auto problem = checkEntryFields(cells, KeyRange::Coordinate)) return problem;
    if (auto problem = checkOptionalCoordinate(cells[1])) return problem;
    return checkLayerNo(cells[2]);
}

}  // namespace

EditorTable linesTable(std::string_view lines) {
    EditorTable table = emptyTable(kMaxBlockLines, kLineColumns);
    for (int i = 1; i <= kMaxBlockLines; ++i) {
        TableRow line = {csvField(lines, 3 * i - 2).text, csvField(lines, 3 * i - 1).text,
                         csvField(lines, 3 * i).text};
        if (isPresent(line[0])) table.row(i) = std::move(line);
    }
    return table;
}

NavigationRules lineNavigation() {
    return {kMaxBlockLines,
            kLineColumns,
            kLineColumns,
            EnterMove::NextColumnThenRow,
            {true, true, true}};
}

std::vector<std::string> layerChoices(const Project& project) {
    std::vector<std::string> choices;
    for (int row = 1; row <= kMaxLayers && isPresent(project.layer(row).layerNo); ++row) {
        choices.push_back(project.layer(row).layerNo);
    }
    if (choices.size() < kMaxLayers) choices.emplace_back();
    return choices;
}

std::vector<LeftBlockLine> leftBlockLines(std::string_view leftLines) {
    std::vector<LeftBlockLine> lines;
    for (int i = 1; i <= kMaxBlockLines; ++i) {
        const std::string yLeft = csvField(leftLines, 3 * i - 2).text;
        if (!isPresent(yLeft)) break;
        std::string yRight = csvField(leftLines, 3 * i - 1).text;
        std::string layerNo = csvField(leftLines, 3 * i).text;
        if (isPresent(layerNo)) layerNo = formatInt(readInteger(layerNo));
        const double yRightValue = readReal(yRight);
        if (isPresent(yRight)) yRight = formatC("%8.2f", yRightValue);
        lines.push_back({readReal(yLeft), yRightValue, layerNo, yRight + " , " + layerNo});
    }
    return lines;
}

LineEntry copyFromLeftBlock(const LeftBlockLine& line, bool copyLayerNo) {
    LineEntry entry;
    entry.yLeft = twoDecimals(line.listText);
    if (copyLayerNo && isPresent(line.layerNo)) entry.layerNo = line.layerNo;
    return entry;
}

Result<std::optional<int>> addLine(EditorTable& table, const LineEntry& entry,
                                   YesNoQuestion& question) {
    if (auto problem = checkLine({entry.yLeft, entry.yRight, entry.layerNo})) {
        return Failure{*problem};
    }
    const int rows = dataRowCount(table);
    if (rows >= kMaxBlockLines) return Failure{makeMessage(MessageId::TableFull)};
    TableRow line = {twoDecimals(entry.yLeft), entry.yRight, entry.layerNo};
    double yRight = kMissingYRight;
    if (isPresent(line[1])) {
        line[1] = twoDecimals(line[1]);
        yRight = readReal(line[1]);
    }
    const double yLeft = readReal(line[0]);
    for (int row = 1; row <= rows && isPresent(table.cell(row, 2)); ++row) {
        if (std::fabs(readReal(table.cell(row, 1)) - yLeft) <= kSameAddedY &&
            std::fabs(readReal(table.cell(row, 2)) - yRight) <= kSameAddedY) {
            if (question.askYesNo(makeMessage(MessageId::DuplicateLine, kLineKeyName))) {
                return std::optional<int>();
            }
            break;
        }
    }
    if (isPresent(line[2])) line[2] = formatInt(readInteger(line[2]));
    table.row(rows + 1) = std::move(line);
    return std::optional<int>(rows + 1);
}

std::optional<RowProblem> findInvalidLineRow(const EditorTable& table) {
    const int rows = dataRowCount(table);
    for (int row = 1; row <= rows; ++row) {
        const TableRow& cells = table.row(row);
        if (cells[0].empty()) continue;  // dropped on OK
        if (auto problem = checkLine(cells)) return RowProblem{row, *problem};
    }
    return std::nullopt;
}

SortedRows sortLines(const EditorTable& table) {
    SortRules rules;
    rules.key = [](const TableRow& row) -> std::optional<SortKey> {
        if (row[0].empty()) return std::nullopt;
        return SortKey{readReal(row[0]), readReal(row[1])};
    };
    rules.tolerance = kSameSortedY;
    rules.normalise = [](TableRow& row) {
        row[0] = twoDecimals(row[0]);
        row[1] = twoDecimals(row[1]);
        if (isPresent(row[2])) row[2] = formatInt(readInteger(row[2])) + " ";
    };
    rules.heading = "同じY座標右、Y座標左があります";
    rules.entry = [](const TableRow& chosen) {
        return formatC(" %.2fm  %.2fm ", readReal(chosen[0]), readReal(chosen[1]));
    };
    return sortRows(dataRows(table), rules);
}

std::string joinLines(const std::vector<TableRow>& rows) {
    std::string text;
    bool first = true;
    for (const TableRow& row : rows) {
        for (const std::string& field : row) {
            if (!first) text += ',';
            text += field;
            first = false;
        }
    }
    return text;
}

}  // namespace dorvo
