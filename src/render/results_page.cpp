// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/results_page.h"

#include <array>
#include <utility>

#include "model/encoding.h"
#include "model/number_text.h"
#include "model/results_format.h"
#include "model/text_cell.h"
#include "render/result_stream.h"

namespace dorvo {

namespace {

/// What the reader has seen: nothing yet, "$$ANS" (the next line is the answer), "$$CSV".
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

/// Lays the records out row by row, from the start or from a known page start, and notes
/// where later pages start as it reaches them.
class ResultsTable {
  public:
    ResultsTable(Canvas& canvas, const RenderInputs& inputs, PageState& state, PageMode mode,
                 CountingCheck carryOn = {})
        : canvas_(canvas),
          inputs_(inputs),
          state_(state),
          carryOn_(std::move(carryOn)),
          rows_(canvas, inputs, state.view, mode, font_slot::kResultTables,
                state.remembered.resultRow, state.remembered.resultHeading),
          units_(readInteger(inputs.setting(settings_line::kUnitDisplay))),
          unitsRow_(readInteger(inputs.setting(page_line::kResultUnitDisplay)) == 1 &&
                    (units_ == 1 || units_ == 2)) {}

    /// The number of pages; nothing when the count was stopped.
    std::optional<int> layOut() {
        const double headingY =
            rows_.top() - readReal(inputs_.setting(page_line::kResultHeadingTop)) * 0.1;
        if (state_.view.currentPage == 1 && rows_.drawing()) {
            rows_.heading(headingY, inputs_.setting(page_line::kResultHeading),
                          font_slot::kResultTables);
        }
        rows_.setY(headingY - rows_.headingHeight());
        if (rows_.drawing()) {
            selectFontSlot(canvas_, inputs_, font_slot::kResultTables);
            canvas_.setTextAlign(TextAlign::TopLeft);
        }
        ResultStreamReader in(inputs_.resultsFile);
        if (!in.isOpen()) return rows_.page();
        haveResults_ = true;

        ResultPageIndex& index = state_.resultPages;
        const ResultPageLayout layout{identityOf(inputs_.resultsFile),
                                      rows_.rowHeight(),
                                      rows_.headingHeight(),
                                      rows_.rowsPerPage(),
                                      rows_.y(),
                                      unitsRow_};
        if (!(index.layout == layout)) index = {layout, {}, 0};
        if (!rows_.drawing() && index.pageCount > 0) return index.pageCount;
        if (rows_.drawing()) resumeBefore(state_.view.currentPage, in);

        while (in.next()) {
            const ResultPageStart before{in.lineStart(), static_cast<int>(section_),
                                         rows_.position()};
            const bool more = takeLine(in);
            for (int page = before.position.page + 1; page <= rows_.page(); ++page) {
                if (index.starts.size() + 2 == static_cast<std::size_t>(page)) {
                    index.starts.push_back(before);
                }
            }
            if (!more) break;
            // The shown page is done: the rest only matters for counting.
            if (rows_.drawing() && rows_.page() > state_.view.currentPage) return rows_.page();
            if (carryOn_ && rows_.page() > before.position.page && !carryOn_(rows_.page())) {
                return std::nullopt;
            }
        }
        index.pageCount = rows_.page();
        return rows_.page();
    }

    /// Whether there was a results file to lay out; a page without one has no page number.
    bool haveResults() const { return haveResults_; }

  private:
    double column(int row, int field) const {
        return double(marginPosition(inputs_.margins, row + 1, field));
    }

    /// Starts at the latest known page start not after `page`.
    void resumeBefore(int page, ResultStreamReader& in) {
        const auto& starts = state_.resultPages.starts;
        const std::size_t known =
            std::min<std::size_t>(starts.size(), std::size_t(std::max(page - 1, 0)));
        if (known == 0) return;
        const ResultPageStart& start = starts[known - 1];
        in.seek(start.offset);
        section_ = static_cast<ResultsState>(start.section);
        rows_.resume(start.position);
    }

    /// Lays out one line; false at the end of the records.
    bool takeLine(const ResultStreamReader& in) {
        const std::string_view line = in.line();
        const ResultsLine kind = classifyResultsLine(line);
        if (section_ == ResultsState::None && kind == ResultsLine::Answer) {
            section_ = ResultsState::Answer;
            return true;
        }
        if (kind == ResultsLine::Start) {
            section_ = ResultsState::Records;
            return true;
        }
        if (kind == ResultsLine::End) return false;
        if (section_ == ResultsState::Answer) {
            rows_.advance();
            rows_.cell(column(10, 1), toDisplayText(line));
            section_ = ResultsState::None;
            return true;
        }
        if (section_ != ResultsState::Records || !isPresent(line) || line.size() < 3) return true;
        rows_.advance();
        const int code = readInteger(line.substr(0, 2));
        const int third = readInteger(line.substr(2, 1));
        const int columns = third >= 9 ? 8 : third;
        const std::optional<int> layoutRow = columnsRowOf(code);
        if (rows_.onCurrentPage() && (layoutRow || everyFieldAtFirstColumn(code))) {
            for (int k = 1; k <= columns; ++k) {
                const CsvField field = csvField(line, k + 1);
                const double x = layoutRow ? column(*layoutRow, k) : column(10, 1);
                rows_.cell(x, toDisplayText(field.text));
            }
        }
        if (code == 1 && unitsRow_) {
            rows_.advance();
            static constexpr std::array<const char*, 7> kKn = {"m",    "m",     "m",  "kNm",
                                                               " kNm", "  kNm", "kNm"};
            static constexpr std::array<const char*, 7> kTf = {"m",    "m",     "m",  "tfm",
                                                               " tfm", "  tfm", "tfm"};
            const auto& texts = units_ == 1 ? kKn : kTf;
            for (int k = 0; k < 7; ++k) rows_.cell(column(10, k + 1), texts[std::size_t(k)]);
        }
        return true;
    }

    Canvas& canvas_;
    const RenderInputs& inputs_;
    PageState& state_;
    CountingCheck carryOn_;
    RowEngine rows_;
    int units_;
    bool unitsRow_;
    ResultsState section_ = ResultsState::None;
    bool haveResults_ = false;
};

}  // namespace

int layOutResultsPage(Canvas& canvas, const RenderInputs& inputs, PageState& state, PageMode mode) {
    ResultsTable table(canvas, inputs, state, mode);
    const int pages = *table.layOut();
    if (mode == PageMode::Drawing && table.haveResults()) {
        drawPageNumber(
            canvas, makeDeviceMapping(canvas.dpiX(), canvas.dpiY(), inputs.setup), inputs,
            {page_line::kResultStartPage, page_line::kResultPageForm, page_line::kResultPagePrefix},
            state.view.currentPage);
    }
    return pages;
}

std::optional<int> countResultPages(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                                    const CountingCheck& carryOn) {
    return ResultsTable(canvas, inputs, state, PageMode::Counting, carryOn).layOut();
}

}  // namespace dorvo
