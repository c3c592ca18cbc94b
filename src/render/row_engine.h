// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "render/canvas.h"
#include "render/drawing.h"
#include "render/render_inputs.h"
#include "render/result_page_index.h"

namespace dorvo {

/// Drawing draws the rows of the current page; counting only counts pages.
enum class PageMode { Drawing, Counting };

/// Lays out the text pages row by row in paper centimetres measured upward (one model unit is
/// 10 mm; Y = T is the top margin line), breaking pages by row count and bottom limit.
class RowEngine {
  public:
    /// `rowFontSlot` sets the row height; `remembered` holds the screen's heights for this page.
    RowEngine(Canvas& canvas, const RenderInputs& inputs, const ViewState& view, PageMode mode,
              int rowFontSlot, double& rememberedRow, double& rememberedHeading);

    double top() const { return top_; }
    double rowHeight() const { return rowHeight_; }
    double headingHeight() const { return headingHeight_; }
    int rowsPerPage() const { return rowsPerPage_; }
    int page() const { return page_; }
    double y() const { return y_; }
    bool drawing() const { return mode_ == PageMode::Drawing; }
    bool onCurrentPage() const { return drawing() && page_ == view_.currentPage; }
    const DeviceMapping& mapping() const { return mapping_; }

    /// Moves down one row, starting a new page when the page is full.
    void advance();
    /// Starts a new page with the cursor at `y`.
    void newPage(double y);
    /// Moves the cursor down without counting a row.
    void moveDown(double distance) { y_ -= distance; }
    /// Counts rows without moving (for gaps that take the place of rows).
    void countRows(int rows) { rows_ += rows; }
    /// Whether the cursor has passed the row count or the bottom limit.
    bool full() const { return rows_ > rowsPerPage_ || y_ < bottomLimit_; }
    void setY(double y) { y_ = y; }

    /// Where the layout stands, to resume it later on the same device.
    RowPosition position() const { return {page_, y_, rows_}; }
    void resume(const RowPosition& position);

    /// Draws a text at a column (mm from the left margin) of the current row, when the row is
    /// on the current page.
    void cell(double columnMm, std::string_view utf8);
    /// Draws a section heading whose top is at `y`; the cursor then stands below it.
    void heading(double y, std::string_view storedText, int rowFontSlot);

  private:
    Canvas& canvas_;
    const RenderInputs& inputs_;
    const ViewState& view_;
    PageMode mode_;
    DeviceMapping mapping_;
    double top_ = 0.0;
    double rowHeight_ = 1.0;
    double headingHeight_ = 0.0;
    int rowsPerPage_ = 2;
    double bottomLimit_ = 0.0;
    double y_ = 0.0;
    int rows_ = 0;
    int page_ = 1;
};

}  // namespace dorvo
