// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/render_inputs.h"

#include <algorithm>
#include <cmath>

#include "model/encoding.h"
#include "model/number_text.h"
#include "model/text_cell.h"
#include "render/drawing.h"

namespace dorvo {

bool settingIsOn(const RenderInputs& inputs, int line) {
    return readInteger(inputs.setting(line)) != 0;
}

std::optional<Fill> soilLayerFill(const RenderInputs& inputs) {
    const int mode = std::max(0, readInteger(inputs.setting(settings_line::kLayerFill)));
    if (mode == 0) return Fill::ForwardDiagonal;
    if (mode == 1) return Fill::Solid;
    return std::nullopt;
}

void selectFontSlot(Canvas& canvas, const RenderInputs& inputs, int slot) {
    if (!makeFont(canvas, inputs.font(slot), canvas.dpiY()) && inputs.messages != nullptr) {
        inputs.messages->report(literalMessage("Can't create font"));
    }
}

void drawPageNumber(Canvas& canvas, const DeviceMapping& mapping, const RenderInputs& inputs,
                    PageNumberLines lines, int page) {
    const std::string& start = inputs.setting(lines.startPage);
    const std::string& top = inputs.setting(page_line::kPageNumberTop);
    if (!isPresent(start) || !isPresent(top)) return;
    const std::string text =
        formatPageNumber(static_cast<long long>(page) + readInteger(start) - 1,
                         inputs.setting(lines.form), inputs.setting(lines.prefix));
    const double xMm = settingIsOn(inputs, page_line::kPageNumberCentred)
                           ? inputs.setup.paperWidthMm / 2.0
                           : readReal(inputs.setting(page_line::kPageNumberLeft));
    const double yMm = readReal(top);
    selectFontSlot(canvas, inputs, font_slot::kPageFooter);
    canvas.setTextAlign(TextAlign::TopCentre);
    canvas.drawText({paperToDeviceX(mapping, xMm), paperToDeviceY(mapping, yMm)},
                    toDisplayText(text));
}

}  // namespace dorvo
