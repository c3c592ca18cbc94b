// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/figure_blocks.h"

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

std::vector<FigureBlock> figureBlocks(const Project& project) {
    std::vector<FigureBlock> blocks;
    double left = 0.0;
    for (int row = 1; row <= blockCount(project); ++row) {
        FigureBlock block;
        block.left = left;
        block.right = readReal(project.block(row).x);
        Band band;
        for (const BlockLine& line :
             splitBlockLines(project.block(row).lines, BlockLineEnd::LeftAbsent)) {
            band.bottomLeft = band.topLeft;
            band.bottomRight = band.topRight;
            band.topLeft = readReal(line.yLeft);
            band.topRight = readReal(line.yRight);
            band.layerNo = readInteger(line.layerNo);
            block.bands.push_back(band);
        }
        left = block.right;
        blocks.push_back(std::move(block));
    }
    return blocks;
}

std::vector<LoadOnGround> loadsOnBlock(const Project& project, const FigureBlock& block) {
    std::vector<LoadOnGround> loads;
    if (block.bands.empty()) return loads;
    const double yLeft = block.bands.back().topLeft;
    const double yRight = block.bands.back().topRight;
    for (const ConcentratedLoad& load : project.loads) {
        if (!isPresent(load.x)) continue;
        const double x = readReal(load.x);
        if (!(block.left <= x && x < block.right)) continue;
        const double y = yLeft + (yRight - yLeft) * (x - block.left) / (block.right - block.left);
        loads.push_back({x, y, load.force});
    }
    return loads;
}

std::vector<LoadOnGround> loadsOnGround(const Project& project,
                                        const std::vector<FigureBlock>& blocks) {
    std::vector<LoadOnGround> loads;
    for (const FigureBlock& block : blocks) {
        for (LoadOnGround& load : loadsOnBlock(project, block)) loads.push_back(std::move(load));
    }
    return loads;
}

}  // namespace dorvo
