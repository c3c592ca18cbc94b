// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/scale_editing.h"

#include <algorithm>
#include <cmath>

#include "app/dialog_fields.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

std::optional<int> drawingLength(int metres) {
    if (metres <= 0) return std::nullopt;
    return metres;
}

int truncated(double value) {
    return static_cast<int>(std::clamp(std::trunc(value), -1e9, 1e9));
}

}  // namespace

ScaleContext scaleContext(const Project& project, const PageSetup& setup) {
    const FigureExtents extents = figureExtents(project);
    return {setup, truncated(extents.x), truncated(extents.y),
            truncated(readReal(project.circleSearch.line(1))),
            truncated(readReal(project.circleSearch.line(3)))};
}

std::string topYText(double topY) {
    std::string text = formatC("%.2f", topY);
    while (text.ends_with('0')) text.pop_back();
    if (text.ends_with('.')) text.pop_back();
    return text == "-0" ? "0" : text;
}

ScaleForm scaleForm(const PageSetup& setup) {
    return {formatInt(setup.scaleY),      formatInt(setup.scaleX),      topYText(setup.figureTopY),
            formatInt(setup.pageDepthM),  formatInt(setup.figureLeftX), formatInt(setup.pageWidthM),
            formatInt(setup.pageOverlapM)};
}

std::optional<int> pageMetresXOf(std::string_view typedScale, const PageSetup& setup) {
    return drawingLength(
        pageMetresX(readInteger(typedScale), setup.paperWidthMm, setup.leftMarginMm));
}

std::optional<int> pageMetresYOf(std::string_view typedScale, const PageSetup& setup) {
    return drawingLength(
        pageMetresY(readInteger(typedScale), setup.paperHeightMm, setup.topMarginMm));
}

std::string bottomYText(std::string_view typedTopY, std::string_view typedDepth) {
    return formatC("%.1f", readReal(typedTopY) - readInteger(typedDepth));
}

void applyScaleExample(ScaleForm& form, const ScaleContext& context) {
    const PageSetup& setup = context.setup;
    auto standardScale = [](std::string& text) {
        int scale = readInteger(text);
        if (scale < 80 || scale > 2000) scale = 500;
        text = formatInt(scale);
        return scale;
    };
    const int scaleY = standardScale(form.scaleY);
    const int scaleX = standardScale(form.scaleX);
    const int depth = pageMetresY(scaleY, setup.paperHeightMm, setup.topMarginMm);
    const int width = pageMetresX(scaleX, setup.paperWidthMm, setup.leftMarginMm);

    double top = 0.0;
    if (context.extentY >= 1) {
        top = std::max(context.extentY + depth / 4, 20);
    } else {
        const double typedTop = readReal(form.topY);
        top = typedTop >= 50.0 ? typedTop : 50.0;
    }
    form.topY = topYText(top);
    form.depthM = formatInt(depth);

    const int gridMiddle = (context.gridStartX + context.gridEndX) / 2;
    int left = 0;
    if (gridMiddle >= 1) {
        left = std::max(gridMiddle - truncated(width * 0.5), 0);
    } else if (context.extentX >= 1) {
        left = std::max(context.extentX - width, 0);
    } else {
        const int typedLeft = readInteger(form.leftX);
        left = typedLeft >= 50 ? typedLeft : 50;
    }
    form.leftX = formatInt(left);
    form.widthM = formatInt(width);
    form.overlapM = "0";
}

Result<StoredScale> acceptScale(const ScaleForm& typed, const PageSetup& setup, int showing) {
    const Result<int> scaleY = typedInteger(typed.scaleY, scale_label::kScaleY, IntRange{20, 2000});
    const Result<int> scaleX = typedInteger(typed.scaleX, scale_label::kScaleX, IntRange{20, 2000});
    const Result<double> topY = typedReal(typed.topY, scale_label::kTopY, RealRange{-2000, 4000});
    const Result<int> depth = typedInteger(typed.depthM, scale_label::kDepthM, IntRange{1, 1000});
    const Result<int> left = typedInteger(typed.leftX, scale_label::kLeftX, IntRange{-100, 10000});
    const Result<int> width = typedInteger(typed.widthM, scale_label::kWidthM, IntRange{1, 10000});
    const Result<int> overlap =
        typedInteger(typed.overlapM, scale_label::kOverlapM, IntRange{0, 1000});
    if (!scaleY) return Failure{scaleY.error()};
    if (!scaleX) return Failure{scaleX.error()};
    if (!topY) return Failure{topY.error()};
    for (const Result<int>* value : {&depth, &left, &width, &overlap}) {
        if (!*value) return Failure{value->error()};
    }
    const int pageWidth = pageMetresX(*scaleX, setup.paperWidthMm, setup.leftMarginMm);
    const int pageDepth = pageMetresY(*scaleY, setup.paperHeightMm, setup.topMarginMm);
    if (pageWidth <= 0 || pageDepth <= 0) return Failure{makeMessage(MessageId::NoDrawingLength)};

    FigureWindow stored{*scaleX, *scaleY, *left, *width, *overlap, *topY, *depth};
    std::vector<Message> corrections;
    bool corrected = false;
    if (stored.pageOverlapM >= stored.pageWidthM) {
        stored.pageOverlapM = 0;
        corrected = true;
    }
    if (stored.pageWidthM > pageWidth) {
        corrections.push_back(
            literalMessage(formatC("１ページの印刷距離は\n約 %d (m)です", pageWidth)));
        stored.pageWidthM = pageWidth;
        corrected = true;
    }
    if (stored.pageDepthM > pageDepth) {
        corrections.push_back(
            literalMessage(formatC("１ページの印刷深度は\n約 %d (m)です", pageDepth)));
        stored.pageDepthM = pageDepth;
        corrected = true;
    }
    PageSetup shown = setup;
    shown.scaleX = stored.scaleX;
    shown.scaleY = stored.scaleY;
    shown.figureLeftX = stored.figureLeftX;
    shown.pageWidthM = stored.pageWidthM;
    shown.pageOverlapM = stored.pageOverlapM;
    shown.figureTopY = stored.figureTopY;
    shown.pageDepthM = stored.pageDepthM;
    return StoredScale{
        stored, scaleForm(shown), std::move(corrections),
        corrected && showing + 1 < kScaleShowings ? ScaleStep::ShowAgain : ScaleStep::Done};
}

void writeFigureWindowLines(const FigureWindow& window, ProjectSettings& settings) {
    settings.line(settings_line::kScaleX) = formatInt(window.scaleX);
    settings.line(settings_line::kScaleY) = formatInt(window.scaleY);
    settings.line(settings_line::kFigureLeftX) = formatInt(window.figureLeftX);
    settings.line(settings_line::kPageWidthM) = formatInt(window.pageWidthM);
    settings.line(settings_line::kPageOverlapM) = formatInt(window.pageOverlapM);
    settings.line(settings_line::kFigureTopY) = formatC("%.2f", window.figureTopY);
    settings.line(settings_line::kPageDepthM) = formatInt(window.pageDepthM);
}

}  // namespace dorvo
