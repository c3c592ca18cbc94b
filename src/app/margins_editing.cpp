// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/margins_editing.h"

#include "app/dialog_fields.h"
#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr IntRange kMarginRange{0, 1000};

/// A stored position as the dialog shows it: empty when absent or negative.
std::string shownPosition(const std::string& stored) {
    if (!isPresent(stored)) return {};
    const int position = readInteger(stored);
    return position < 0 ? std::string() : formatInt(position);
}

std::string positionLabel(std::size_t row, std::size_t field) {
    return std::string(kMarginsRowNames[row]) + " " + formatInt(static_cast<int>(field + 1));
}

}  // namespace

MarginsForm marginsForm(const ProgramSettings& settings, const MarginsTable& table) {
    MarginsForm form;
    form.top = formatInt(settings.topMarginMm);
    form.left = formatInt(settings.leftMarginMm);
    for (std::size_t row = 0; row < form.positions.size(); ++row) {
        for (std::size_t field = 0; field < kMarginFields; ++field) {
            form.positions[row][field] = shownPosition(table[row][field]);
        }
    }
    return form;
}

MarginsForm standardMarginsForm() {
    ProgramSettings margins;
    margins.topMarginMm = 15;
    margins.leftMarginMm = 25;
    return marginsForm(margins, defaultMarginsTable());
}

Result<MarginsChange> acceptMargins(const MarginsForm& typed, const MarginsTable& current,
                                    const PageSetup& setup) {
    MarginsChange change;
    Result<int> top = typedInteger(typed.top, "トップ", kMarginRange);
    Result<int> left = typedInteger(typed.left, "レフト", kMarginRange);
    for (const Result<int>* margin : {&top, &left}) {
        if (!*margin) return Failure{margin->error()};
    }
    change.topMarginMm = *top;
    change.leftMarginMm = *left;
    change.table = current;
    for (std::size_t row = 0; row < typed.positions.size(); ++row) {
        for (std::size_t field = 0; field < kMarginFields; ++field) {
            const std::string& text = typed.positions[row][field];
            std::string& stored = change.table[row][field];
            if (classifyCell(text) == CellKind::Empty) {
                stored.clear();
                continue;
            }
            Result<int> position = typedInteger(text, positionLabel(row, field));
            if (!position) return Failure{position.error()};
            stored = *position < 0 ? std::string() : formatInt(*position);
        }
    }
    if (pageMetresX(setup.scaleX, setup.paperWidthMm, change.leftMarginMm) <= 0 ||
        pageMetresY(setup.scaleY, setup.paperHeightMm, change.topMarginMm) <= 0) {
        return Failure{makeMessage(MessageId::NoDrawingLength)};
    }
    return change;
}

bool cutPageRangesToPaper(FigureWindow& window, const PageSetup& setup, ProjectSettings& settings) {
    const int depth = pageMetresY(setup.scaleY, setup.paperHeightMm, setup.topMarginMm);
    const int width = pageMetresX(setup.scaleX, setup.paperWidthMm, setup.leftMarginMm);
    bool cut = false;
    if (window.pageDepthM > depth) {
        window.pageDepthM = depth;
        settings.line(settings_line::kPageDepthM) = formatInt(depth);
        cut = true;
    }
    if (window.pageWidthM > width) {
        window.pageWidthM = width;
        settings.line(settings_line::kPageWidthM) = formatInt(width);
        cut = true;
    }
    return cut;
}

}  // namespace dorvo
