// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "model/project.h"

namespace dorvo {

/// The band under one boundary line: from the line before it (or Y = 0) up to the line.
struct Band {
    double bottomLeft = 0.0;
    double bottomRight = 0.0;
    double topLeft = 0.0;
    double topRight = 0.0;
    int layerNo = 0;
};

/// A block of the section as the figure draws it, from the previous block's right X to its own.
struct FigureBlock {
    double left = 0.0;
    double right = 0.0;
    std::vector<Band> bands;  // from the bottom up; the last one's top is the ground
};

std::vector<FigureBlock> figureBlocks(const Project& project);

/// A concentrated load where it stands on the ground.
struct LoadOnGround {
    double x = 0.0;
    double y = 0.0;
    std::string force;  // as typed
};

/// The loads on one block: from its left X up to, not including, its right X; a block without
/// lines carries none.
std::vector<LoadOnGround> loadsOnBlock(const Project& project, const FigureBlock& block);

/// The loads of every block, block by block.
std::vector<LoadOnGround> loadsOnGround(const Project& project,
                                        const std::vector<FigureBlock>& blocks);

}  // namespace dorvo
