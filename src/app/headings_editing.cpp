// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headings_editing.h"

#include <algorithm>
#include <stdexcept>

#include "app/dialog_fields.h"
#include "model/encoding.h"
#include "model/number_text.h"
#include "model/text_cell.h"
#include "render/render_inputs.h"

namespace dorvo {

namespace {

constexpr int kHeadingCount = 6;

constexpr std::array<std::string_view, kHeadingCount> kStandardHeadings = {
    "円弧すべり計算結果図", "ブロックデータ", "層データ",
    "集中荷重データ",       "すべり円データ", "計算結果",
};

constexpr std::array<std::array<std::string_view, 3>, kHeadingCount> kBuiltInCandidates = {{
    {"断面図", "円弧すべり計算結果図", "安定計算断面形状図"},
    {"ブロックデータ", "断面データ"},
    {"層データ", "土質データ"},
    {"集中荷重データ"},
    {"すべり円データ", "すべり円データと計算条件"},
    {"計算結果", "計算結果一覧表"},
}};

int highestChoice(int line) {
    return line == settings_line::kUnitDisplay ? 2 : 1;
}

std::string shownValue(const HeadingsField& field, const std::string& stored) {
    switch (field.kind) {
        case HeadingsFieldKind::Check:
            return readInteger(stored) != 0 ? "1" : "0";
        case HeadingsFieldKind::Choice:
            return formatInt(std::clamp(readInteger(stored), 0, highestChoice(field.line)));
        case HeadingsFieldKind::Text:
        case HeadingsFieldKind::Integer:
            break;
    }
    return toDisplayText(stored);
}

/// The text a typed value is stored as, or the failure that keeps the dialog open.
Result<std::string> storedValue(const HeadingsField& field, const std::string& typed) {
    switch (field.kind) {
        case HeadingsFieldKind::Text:
            return typedText(typed, field.label);
        case HeadingsFieldKind::Check:
            return std::string(typed == "1" ? "1" : "0");
        case HeadingsFieldKind::Integer:
            if (classifyCell(typed) == CellKind::Empty) return std::string();
            break;
        case HeadingsFieldKind::Choice:
            break;
    }
    Result<int> number = typedInteger(typed, field.label);
    if (!number) return Failure{number.error()};
    return formatInt(*number);
}

bool isEmpty(const HeadingsValues& values, int line) {
    auto found = values.find(line);
    return found == values.end() || classifyCell(found->second) == CellKind::Empty;
}

}  // namespace

const HeadingsField& headingsField(int line) {
    auto found = std::find_if(kHeadingsFields.begin(), kHeadingsFields.end(),
                              [line](const HeadingsField& field) { return field.line == line; });
    if (found == kHeadingsFields.end()) throw std::out_of_range("no headings field on that line");
    return *found;
}

HeadingsValues headingsValues(const Project& project) {
    HeadingsValues values;
    for (const HeadingsField& field : kHeadingsFields) {
        values[field.line] = shownValue(field, project.settings.line(field.line));
    }
    return values;
}

HeadingsValues openingHeadingsValues(const Project& project, const PageSetup& paper) {
    HeadingsValues values = headingsValues(project);
    if (isEmpty(values, page_line::kFigureHeadingTop) &&
        isEmpty(values, page_line::kFigureHeadingLeft) &&
        isEmpty(values, page_line::kPageNumberTop)) {
        applyStandardPositions(values, paper);
    }
    applyCentring(values, paper);
    return values;
}

int footerLimitMm(const PageSetup& paper) {
    return paper.paperHeightMm - 16;
}

void applyStandardPositions(HeadingsValues& values, const PageSetup& paper) {
    for (int line = page_line::kFigureHeadingTop; line <= page_line::kResultHeadingTop; ++line) {
        values[line] = "1";
    }
    values[page_line::kCircleNewPage] = "1";
    for (const CentringRule& rule : kCentringRules) values[rule.centredLine] = "1";
    applyCentring(values, paper);
    values[page_line::kPageNumberTop] = formatInt(footerLimitMm(paper));
}

void applyStandardExample(HeadingsValues& values, const PageSetup& paper) {
    for (int i = 0; i < kHeadingCount; ++i) {
        values[page_line::kFigureHeading + i] = kStandardHeadings[static_cast<std::size_t>(i)];
    }
    applyStandardPositions(values, paper);
    values[settings_line::kShowAxes] = "1";
}

void applyCentring(HeadingsValues& values, const PageSetup& paper) {
    for (const CentringRule& rule : kCentringRules) {
        if (rule.showsHalfPaperWidth && values[rule.centredLine] == "1") {
            values[rule.leftLine] = formatInt(paper.paperWidthMm / 2);
        }
    }
}

Result<std::optional<Message>> storeHeadings(const HeadingsValues& typed, const PageSetup& paper,
                                             Project& project) {
    const HeadingsValues shown = headingsValues(project);
    std::map<int, std::string> changed;
    for (const HeadingsField& field : kHeadingsFields) {
        auto value = typed.find(field.line);
        if (value == typed.end() || value->second == shown.at(field.line)) continue;
        Result<std::string> stored = storedValue(field, value->second);
        if (!stored) return Failure{stored.error()};
        changed[field.line] = std::move(stored).value();
    }
    for (auto& [line, text] : changed) project.settings.line(line) = std::move(text);
    const std::string& top = project.settings.line(page_line::kPageNumberTop);
    if (isPresent(top) && readInteger(top) > footerLimitMm(paper)) {
        return std::optional{makeMessage(MessageId::FooterOffPaper, formatInt(readInteger(top)))};
    }
    return std::optional<Message>{};
}

std::vector<std::string> headingCandidates(int headingLine,
                                           const std::vector<std::string>& extraCandidates) {
    std::vector<std::string> candidates;
    const auto row = static_cast<std::size_t>(headingLine - page_line::kFigureHeading);
    for (std::string_view builtIn : kBuiltInCandidates.at(row)) {
        if (!builtIn.empty()) candidates.emplace_back(builtIn);
    }
    for (const std::string& extra : extraCandidates) {
        std::string shown = toDisplayText(extra);
        if (shown.empty() ||
            std::find(candidates.begin(), candidates.end(), shown) != candidates.end()) {
            continue;
        }
        candidates.push_back(std::move(shown));
    }
    return candidates;
}

}  // namespace dorvo
