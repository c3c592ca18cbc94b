// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/project.h"

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

std::array<std::string*, kLayerCells> layerCells(Layer& layer) {
    return {&layer.layerNo, &layer.gamma1, &layer.gamma2, &layer.phi,
            &layer.co,      &layer.k,      &layer.colour, &layer.spare};
}

std::array<const std::string*, kLayerCells> layerCells(const Layer& layer) {
    return {&layer.layerNo, &layer.gamma1, &layer.gamma2, &layer.phi,
            &layer.co,      &layer.k,      &layer.colour, &layer.spare};
}

void clearProject(Project& project) {
    project.settings = {};
    project.blocks = {};
    project.layers = {};
    project.loads = {};
    project.circleSearch = {};
    project.critical = {};
}

void ensureDefaults(Project& project) {
    std::string& showAxes = project.settings.line(settings_line::kShowAxes);
    if (!isPresent(showAxes)) showAxes = "1";
}

FigureWindow readFigureWindow(const ProjectSettings& settings) {
    FigureWindow window;
    window.scaleX = readInteger(settings.line(settings_line::kScaleX));
    window.scaleY = readInteger(settings.line(settings_line::kScaleY));
    window.figureLeftX = readInteger(settings.line(settings_line::kFigureLeftX));
    window.pageWidthM = readInteger(settings.line(settings_line::kPageWidthM));
    window.pageOverlapM = readInteger(settings.line(settings_line::kPageOverlapM));
    window.figureTopY = readReal(settings.line(settings_line::kFigureTopY));
    window.pageDepthM = readInteger(settings.line(settings_line::kPageDepthM));
    return window;
}

int blockCount(const Project& project) {
    int count = 0;
    while (count < kMaxBlocks && isPresent(project.block(count + 1).x)) ++count;
    return count;
}

int calculationBlockRows(const Project& project) {
    int last = 0;
    for (int row = 1; row <= kMaxBlocks; ++row) {
        if (isPresent(project.block(row).x)) last = row;
    }
    return last;
}

int layerCount(const Project& project) {
    int count = 0;
    while (count < kMaxLayers && isPresent(project.layer(count + 1).layerNo)) ++count;
    return count;
}

std::optional<int> findLayerRow(const Project& project, int layerNo) {
    for (int row = 1; row <= layerCount(project); ++row) {
        if (readInteger(project.layer(row).layerNo) == layerNo) return row;
    }
    return std::nullopt;
}

}  // namespace dorvo

namespace dorvo {

std::vector<BlockLine> splitBlockLines(std::string_view lines, BlockLineEnd end) {
    std::vector<BlockLine> result;
    for (int i = 1; i <= kMaxBlockLines; ++i) {
        BlockLine line{csvField(lines, 3 * i - 2).text, csvField(lines, 3 * i - 1).text,
                       csvField(lines, 3 * i).text};
        if (!isPresent(line.yLeft)) break;
        if (end == BlockLineEnd::EitherAbsent && !isPresent(line.yRight)) break;
        result.push_back(std::move(line));
    }
    return result;
}

const std::array<std::string_view, kCircleSearchLines> kCircleSearchNames = {
    "centreStartX", "centreStartY", "centreEndX", "centreEndY", "stepX",
    "stepY",        "upperY",       "lowerY",     "stepR",      "min1X",
    "min1Y",        "min2X",        "min2Y",      "maxX",       "maxY"};

}  // namespace dorvo
