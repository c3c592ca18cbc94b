// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/row_engine.h"

#include <algorithm>
#include <cmath>

#include "model/encoding.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

/// The screen's value replaces the printer's when the two are within 3 %, so printed pages
/// break where the screen's pages break.
double agreedHeight(double own, double& remembered, bool printing) {
    if (!printing) {
        remembered = own;
        return own;
    }
    if (own > 0.1 && remembered > 0.0) {
        const double ratio = remembered / own;
        if (ratio >= 0.97 && ratio <= 1.03) return remembered;
    }
    return own;
}

}  // namespace

RowEngine::RowEngine(Canvas& canvas, const RenderInputs& inputs, const ViewState& view,
                     PageMode mode, int rowFontSlot, double& rememberedRow,
                     double& rememberedHeading)
    : canvas_(canvas), inputs_(inputs), view_(view), mode_(mode) {
    const PageSetup& setup = inputs.setup;
    top_ = pageMetresY(100, setup.paperHeightMm, setup.topMarginMm);
    mapping_ = paperMapping(makeDeviceMapping(canvas.dpiX(), canvas.dpiY(), setup), top_);
    const bool printing = view.printing;
    const double rowHeight =
        fontHeightPx(inputs.font(rowFontSlot), canvas.dpiY()) / mapping_.pxPerMetreY * 1.2;
    const double headingHeight =
        fontHeightPx(inputs.font(font_slot::kTitles), canvas.dpiY()) / mapping_.pxPerMetreY;
    if (mode == PageMode::Drawing) {
        rowHeight_ = agreedHeight(rowHeight, rememberedRow, printing);
        headingHeight_ = agreedHeight(headingHeight, rememberedHeading, printing);
    } else {
        double unchangedRow = rememberedRow;
        double unchangedHeading = rememberedHeading;
        rowHeight_ = printing ? agreedHeight(rowHeight, unchangedRow, true) : rowHeight;
        headingHeight_ =
            printing ? agreedHeight(headingHeight, unchangedHeading, true) : headingHeight;
    }
    if (!(rowHeight_ > 0.0)) rowHeight_ = 0.1;
    const double perPage = std::trunc(top_ / rowHeight_) - 2;
    rowsPerPage_ = static_cast<int>(std::clamp(perPage, 2.0, 200.0));
    bottomLimit_ = 2 * rowHeight_;
    y_ = top_;
}

void RowEngine::advance() {
    ++rows_;
    y_ -= rowHeight_;
    if (full()) newPage(top_);
}

void RowEngine::newPage(double y) {
    ++page_;
    y_ = y;
    rows_ = 0;
}

void RowEngine::resume(const RowPosition& position) {
    page_ = position.page;
    y_ = position.y;
    rows_ = position.rows;
}

void RowEngine::cell(double columnMm, std::string_view utf8) {
    if (!onCurrentPage()) return;
    canvas_.drawText({toDeviceX(mapping_, columnMm * 0.1), toDeviceY(mapping_, y_)}, utf8);
}

void RowEngine::heading(double y, std::string_view storedText, int rowFontSlot) {
    y_ = y;
    if (onCurrentPage()) {
        selectFontSlot(canvas_, inputs_, font_slot::kTitles);
        const int deviceY = toDeviceY(mapping_, y);
        if (settingIsOn(inputs_, page_line::kDataHeadingCentred)) {
            canvas_.setTextAlign(TextAlign::TopCentre);
            canvas_.drawText({paperToDeviceX(mapping_, inputs_.setup.paperWidthMm / 2.0), deviceY},
                             toDisplayText(storedText));
        } else {
            const double left = readReal(inputs_.setting(page_line::kDataHeadingLeft));
            canvas_.setTextAlign(TextAlign::TopLeft);
            canvas_.drawText({toDeviceX(mapping_, left * 0.1), deviceY}, toDisplayText(storedText));
        }
        selectFontSlot(canvas_, inputs_, rowFontSlot);
        canvas_.setTextAlign(TextAlign::TopLeft);
    }
    y_ = y - headingHeight_;
}

}  // namespace dorvo
