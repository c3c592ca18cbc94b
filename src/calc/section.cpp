// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/section.h"

#include <cmath>

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr double kDegreesToRadiansForTan = 0.01745327777777778;

bool allUsable(std::initializer_list<double> values) {
    for (double value : values) {
        if (!isUsableInput(value)) return false;
    }
    return true;
}

std::optional<SoilLayer> convertLayer(const Layer& row) {
    SoilLayer layer;
    layer.layerNo = readInteger(row.layerNo);
    layer.gamma1 = readReal(row.gamma1);
    layer.gamma2 = readReal(row.gamma2);
    const double phi = readReal(row.phi);
    layer.co = readReal(row.co);
    layer.k = readReal(row.k);
    layer.tanPhi = frictionTangent(phi);
    if (!allUsable({layer.gamma1, layer.gamma2, phi, layer.co, layer.k}) ||
        !std::isfinite(layer.tanPhi)) {
        return std::nullopt;
    }
    return layer;
}

}  // namespace

double frictionTangent(double phiDegrees) {
    return std::tan(phiDegrees * kDegreesToRadiansForTan);
}

std::vector<SectionBlockText> sectionBlockTexts(const Project& project) {
    std::vector<SectionBlockText> blocks;
    const int count = calculationBlockRows(project);
    for (int row = 1; row <= count; ++row) {
        const Block& block = project.block(row);
        SectionBlockText text{block.x, {}};
        if (isPresent(block.x))
            text.lines = splitBlockLines(block.lines, BlockLineEnd::EitherAbsent);
        blocks.push_back(std::move(text));
    }
    return blocks;
}

Result<Section> prepareSection(const Project& project) {
    Section section;
    for (int row = 1; row <= layerCount(project); ++row) {
        auto layer = convertLayer(project.layer(row));
        if (!layer) {
            return Failure{literalMessage(formatC("層データの数値が不適当です (層No.%d)",
                                                  readInteger(project.layer(row).layerNo)))};
        }
        section.layers.push_back(*layer);
    }

    double xl = 0.0;
    int number = 0;
    for (const SectionBlockText& text : sectionBlockTexts(project)) {
        ++number;
        SectionBlock block;
        block.xl = xl;
        block.xr = readReal(text.x);
        block.lineCount = static_cast<int>(text.lines.size());
        for (int i = 1; i <= block.lineCount; ++i) {
            const BlockLine& source = text.lines[static_cast<std::size_t>(i - 1)];
            SectionLine& line = block.lines[static_cast<std::size_t>(i)];
            line.yLeft = readReal(source.yLeft);
            line.yRight = readReal(source.yRight);
            line.layerNo = readInteger(source.layerNo);
            if (auto row = findLayerRow(project, line.layerNo)) line.layer = *row - 1;
            if (!allUsable({line.yLeft, line.yRight})) {
                return Failure{literalMessage(formatC("ブロック%dの座標が不適当です", number))};
            }
        }
        if (!allUsable({block.xr})) {
            return Failure{literalMessage(formatC("ブロック%dの座標が不適当です", number))};
        }
        for (SectionLine& line : block.lines) {
            line.m = (line.yRight - line.yLeft) / (block.xr - block.xl);
            line.c = line.yLeft - line.m * block.xl;
        }
        section.blocks.push_back(block);
        xl = block.xr;
    }

    for (const ConcentratedLoad& load : project.loads) {
        if (!isPresent(load.x)) continue;
        ConcentratedForce force{readReal(load.x), readReal(load.force)};
        if (!allUsable({force.x, force.force})) {
            return Failure{literalMessage("集中荷重の数値が不適当です")};
        }
        section.loads.push_back(force);
    }

    const ProjectSettings& settings = project.settings;
    section.kh = readReal(settings.line(settings_line::kKh));
    section.yc = readReal(settings.line(settings_line::kYc));
    section.loadLayerNo = readInteger(settings.line(settings_line::kLoadLayerNo));
    if (!allUsable({section.kh, section.yc})) {
        return Failure{literalMessage("地震時水平震度 Kh または基準面 Yc が不適当です")};
    }
    return section;
}

}  // namespace dorvo
