// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/data_page.h"

#include <array>

#include "model/encoding.h"
#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

class DataPage {
  public:
    DataPage(Canvas& canvas, const RenderInputs& inputs, PageState& state, PageMode mode)
        : inputs_(inputs),
          project_(inputs.project),
          rows_(canvas, inputs, state.view, mode, font_slot::kDataTables, state.remembered.dataRow,
                state.remembered.dataHeading),
          units_(readInteger(inputs.setting(settings_line::kUnitDisplay))) {
        if (rows_.drawing()) {
            selectFontSlot(canvas, inputs, font_slot::kDataTables);
            canvas.setTextAlign(TextAlign::TopLeft);
        }
    }

    int layOut() {
        blocks();
        layers();
        referenceLevels();
        loads();
        circleSearch();
        return rows_.page();
    }

  private:
    bool showUnits() const { return units_ == 1 || units_ == 2; }

    double column(int row, int field) const {
        return marginPosition(inputs_.margins, row + 1, field);
    }

    double headingTop(int line) const {
        return rows_.top() - readReal(inputs_.setting(line)) * 0.1;
    }

    void heading(double y, int line) {
        rows_.heading(y, inputs_.setting(line), font_slot::kDataTables);
    }

    void blocks() {
        const int count = blockCount(project_);
        double left = 0.0;
        for (int k = 1; k <= count; ++k) {
            if (k == 1) heading(headingTop(page_line::kBlockHeadingTop), page_line::kBlockHeading);
            const Block& block = project_.block(k);
            const double right = readReal(block.x);
            rows_.advance();
            rows_.cell(column(0, 1), formatC("ブロックNo.%d", k));
            rows_.advance();
            static constexpr std::array<const char*, 6> kHeaders = {"ラインNo.", " X左", " Y左",
                                                                    " X右",      " Y右", "層No."};
            for (int c = 0; c < 6; ++c) rows_.cell(column(1, c + 1), kHeaders[std::size_t(c)]);
            int number = 0;
            for (const BlockLine& line : splitBlockLines(block.lines, BlockLineEnd::LeftAbsent)) {
                rows_.advance();
                rows_.cell(column(2, 1), formatC("%8d", ++number));
                rows_.cell(column(2, 2), formatC("%8.2f", left));
                rows_.cell(column(2, 3), formatC("%8.2f", readReal(line.yLeft)));
                rows_.cell(column(2, 4), formatC("%8.2f", right));
                rows_.cell(column(2, 5), formatC("%8.2f", readReal(line.yRight)));
                rows_.cell(column(2, 6), isPresent(line.layerNo)
                                             ? formatC("%4d", readInteger(line.layerNo))
                                             : std::string("  -"));
            }
            left = right;
        }
        if (showUnits()) {
            rows_.moveDown(1.25 * rows_.rowHeight());
            if (rows_.full()) rows_.newPage(rows_.top());
            rows_.cell(column(1, 5), " X､Y 単位 m");
        }
    }

    void layers() {
        rows_.newPage(rows_.top());
        heading(headingTop(page_line::kLayerHeadingTop), page_line::kLayerHeading);
        rows_.advance();
        static constexpr std::array<const char*, 6> kHeaders = {"層No.", "γ1", "γ2",
                                                                "Φ",     "Co", "k"};
        for (int c = 0; c < 6; ++c) rows_.cell(column(3, c + 1), kHeaders[std::size_t(c)]);
        if (showUnits()) {
            rows_.advance();
            const bool kn = units_ == 1;
            const std::array<const char*, 4> units = {
                kn ? "kN/m3" : "tf/m3", kn ? "kN/m3" : "tf/m3", "度", kn ? "kN/m2" : "tf/m2"};
            for (int c = 0; c < 4; ++c) rows_.cell(column(3, c + 2), units[std::size_t(c)]);
        }
        for (int row = 1; row <= layerCount(project_); ++row) {
            const Layer& layer = project_.layer(row);
            rows_.advance();
            rows_.cell(column(4, 1), formatC("%3d", readInteger(layer.layerNo)));
            const std::array<const std::string*, 5> values = {&layer.gamma1, &layer.gamma2,
                                                              &layer.phi, &layer.co, &layer.k};
            for (int c = 0; c < 5; ++c) {
                rows_.cell(column(4, c + 2), formatC("%6.2f", readReal(*values[std::size_t(c)])));
            }
        }
    }

    void referenceLevels() {
        rows_.moveDown(0.25 * rows_.rowHeight());
        const std::string& yc = inputs_.setting(settings_line::kYc);
        if (isPresent(yc)) {
            rows_.advance();
            rows_.cell(column(5, 1), formatC("粘着力の基準面 Yc =%7.2f", readReal(yc)) +
                                         (showUnits() ? "  m" : ""));
        }
        const std::string& loadLayer = inputs_.setting(settings_line::kLoadLayerNo);
        if (isPresent(loadLayer)) {
            rows_.advance();
            rows_.cell(column(5, 1), formatC("等分布荷重の層No. =%4d", readInteger(loadLayer)));
        }
    }

    /// Starts a section that may share the page: a gap of two rows, or a new page.
    void sectionStart(int newPageLine, int headingTopLine, int headingLine) {
        double y = 0.0;
        if (!settingIsOn(inputs_, newPageLine)) {
            rows_.moveDown(2 * rows_.rowHeight());
            rows_.countRows(2);
            if (rows_.full()) rows_.newPage(rows_.top());
            y = rows_.y();
        } else {
            y = headingTop(headingTopLine);
            rows_.newPage(y);
        }
        heading(y, headingLine);
    }

    void loads() {
        bool any = false;
        for (const ConcentratedLoad& load : project_.loads) any = any || isPresent(load.x);
        if (!any) return;
        sectionStart(page_line::kLoadNewPage, page_line::kLoadHeadingTop, page_line::kLoadHeading);
        rows_.advance();
        rows_.cell(column(5, 1), "No.");
        rows_.cell(column(5, 2), "X");
        rows_.cell(column(5, 3), "F");
        if (showUnits()) {
            rows_.advance();
            rows_.cell(column(5, 2), "m");
            // A load on a section stands for a force per metre along the slope.
            rows_.cell(column(5, 3), units_ == 1 ? "kN/m" : "tf/m");
        }
        for (int slot = 1; slot <= kMaxLoads; ++slot) {
            const ConcentratedLoad& load = project_.load(slot);
            if (!isPresent(load.x)) continue;
            rows_.advance();
            rows_.cell(column(6, 1), formatC("%3d", slot));
            rows_.cell(column(6, 2), formatC("%6.2f", readReal(load.x)));
            rows_.cell(column(6, 3), formatC("%6.2f", readReal(load.force)));
        }
    }

    std::string value(int field) const {
        const std::string& text = project_.circleSearch.line(field);
        return isPresent(text) ? formatC("%8.2f", readReal(text)) : std::string();
    }

    void circleSearch() {
        sectionStart(page_line::kCircleNewPage, page_line::kCircleHeadingTop,
                     page_line::kCircleHeading);
        struct Row {
            int marginsRow;
            const char* first;
            const char* second;
            const char* third;
            int fourth;  // circle-search field, 0 for none
            const char* fifth;
            int sixth;
        };
        static constexpr std::array<Row, 9> kRows = {{
            {7, "中心点", "起点座標", " X=", 1, " Y=", 2},
            {7, "", "終点座標", " X=", 3, " Y=", 4},
            {7, "", "きざみ", "dX=", 5, "dY=", 6},
            {8, "半径設定", "上部すべり面座標", " Y=", 7, "", 0},
            {8, "", "下部すべり面座標", " Y=", 8, "", 0},
            {8, "", "きざみ", "dY=", 9, "", 0},
            {9, "半径制限指定点座標", "最小1", " X=", 10, " Y=", 11},
            {9, "", "最小2", " X=", 12, " Y=", 13},
            {9, "", "最大", " X=", 14, " Y=", 15},
        }};
        for (std::size_t i = 0; i < kRows.size(); ++i) {
            const Row& row = kRows[i];
            if (i == 3) rows_.moveDown(0.25 * rows_.rowHeight());
            if (i == 6) {
                rows_.moveDown(0.25 * rows_.rowHeight());
                rows_.countRows(1);
            }
            rows_.advance();
            const int m = row.marginsRow;
            rows_.cell(column(m, 1), std::string(row.first) + (showUnits() ? " m" : ""));
            rows_.cell(column(m, 2), row.second);
            rows_.cell(column(m, 3), row.third);
            rows_.cell(column(m, 4), value(row.fourth));
            if (row.sixth != 0) {
                rows_.cell(column(m, 5), row.fifth);
                rows_.cell(column(m, 6), value(row.sixth));
            }
        }
        if (showUnits()) {
            rows_.moveDown(1.25 * rows_.rowHeight());
            rows_.cell(column(9, 5), " X､Y 単位 m");
        }
        const std::string& kh = inputs_.setting(settings_line::kKh);
        if (isPresent(kh)) {
            rows_.moveDown(1.25 * rows_.rowHeight());
            rows_.cell(column(7, 1), formatC("地震時水平震度 Kh =%7.2f", readReal(kh)));
        }
    }

    const RenderInputs& inputs_;
    const Project& project_;
    RowEngine rows_;
    int units_;
};

}  // namespace

int layOutDataPage(Canvas& canvas, const RenderInputs& inputs, PageState& state, PageMode mode) {
    const int pages = DataPage(canvas, inputs, state, mode).layOut();
    if (mode == PageMode::Drawing) {
        const DeviceMapping mapping = makeDeviceMapping(canvas.dpiX(), canvas.dpiY(), inputs.setup);
        drawPageNumber(
            canvas, mapping, inputs,
            {page_line::kDataStartPage, page_line::kDataPageForm, page_line::kDataPagePrefix},
            state.view.currentPage);
    }
    return pages;
}

}  // namespace dorvo
