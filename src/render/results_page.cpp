#include "render/results_page.h"

#include <array>
#include <fstream>

#include "model/encoding.h"
#include "model/line_io.h"
#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

enum class ResultsState { None, Answer, Records };

/// Which margins row (0-based as the margins dialog numbers them) a record code lays out on;
/// nothing for codes that take an empty row.
std::optional<int> columnsRowOf(int code) {
    switch (code) {
        case 1:
            return 10;
        case 2:
        case 3:
        case 7:
            return 11;
        case 5:
            return 12;
        default:
            return std::nullopt;
    }
}

bool everyFieldAtFirstColumn(int code) {
    return code == 80 || code == 90;
}

}  // namespace

int layOutResultsPage(Canvas& canvas, const RenderInputs& inputs, PageMode mode) {
    RowEngine rows(canvas, inputs, mode, font_slot::kResultTables, inputs.remembered.resultRow,
                   inputs.remembered.resultHeading);
    const double headingY =
        rows.top() - readReal(inputs.setting(page_line::kResultHeadingTop)) * 0.1;
    if (inputs.view.currentPage == 1 && rows.drawing()) {
        rows.heading(headingY, inputs.setting(page_line::kResultHeading), font_slot::kResultTables);
    }
    rows.setY(headingY - rows.headingHeight());
    if (rows.drawing()) {
        selectFontSlot(canvas, inputs, font_slot::kResultTables);
        canvas.setTextAlign(TextAlign::TopLeft);
    }

    std::ifstream in(inputs.resultsFile, std::ios::binary);
    if (!in) return rows.page();

    auto position = [&](int row, int field) {
        return double(marginPosition(inputs.margins, row + 1, field));
    };
    const int units = readInteger(inputs.setting(settings_line::kUnitDisplay));
    const bool unitsRow = readInteger(inputs.setting(page_line::kResultUnitDisplay)) == 1 &&
                          (units == 1 || units == 2);
    ResultsState state = ResultsState::None;
    std::string raw;
    while (readRawLine(in, raw)) {
        const std::string_view line = withoutLineEnd(raw);
        if (state == ResultsState::None && line.find("$$ANS") != line.npos) {
            state = ResultsState::Answer;
            continue;
        }
        if (line.find("$$CSV") != line.npos) {
            state = ResultsState::Records;
            continue;
        }
        if (line.find("$$END") != line.npos) break;
        if (state == ResultsState::Answer) {
            rows.advance();
            rows.cell(position(10, 1), toDisplayText(line));
            state = ResultsState::None;
            continue;
        }
        if (state != ResultsState::Records || !isPresent(line) || line.size() < 3) continue;
        rows.advance();
        const int code = readInteger(line.substr(0, 2));
        const int third = readInteger(line.substr(2, 1));
        const int columns = third >= 9 ? 8 : third;
        const std::optional<int> layoutRow = columnsRowOf(code);
        if (rows.onCurrentPage() && (layoutRow || everyFieldAtFirstColumn(code))) {
            for (int k = 1; k <= columns; ++k) {
                const CsvField field = csvField(line, k + 1);
                const double x = layoutRow ? position(*layoutRow, k) : position(10, 1);
                rows.cell(x, toDisplayText(field.text));
            }
        }
        if (code == 1 && unitsRow) {
            rows.advance();
            static constexpr std::array<const char*, 7> kKn = {"m",    "m",     "m",  "kNm",
                                                               " kNm", "  kNm", "kNm"};
            static constexpr std::array<const char*, 7> kTf = {"m",    "m",     "m",  "tfm",
                                                               " tfm", "  tfm", "tfm"};
            const auto& texts = units == 1 ? kKn : kTf;
            for (int k = 0; k < 7; ++k) rows.cell(position(10, k + 1), texts[std::size_t(k)]);
        }
    }
    if (rows.drawing()) {
        drawPageNumber(
            canvas, makeDeviceMapping(canvas.dpiX(), canvas.dpiY(), inputs.setup), inputs,
            {page_line::kResultStartPage, page_line::kResultPageForm, page_line::kResultPagePrefix},
            inputs.view.currentPage);
    }
    return rows.page();
}

}  // namespace dorvo
