// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "model/project.h"
#include "model/result.h"

namespace dorvo {

/// A block as the calculation counts blocks: every row up to the last one whose x is present,
/// an absent row before it being a block without lines.
struct SectionBlockText {
    std::string x;
    std::vector<BlockLine> lines;  // ends at the first triple with an absent yLeft or yRight
};

/// The blocks of the calculation, parsed once.
std::vector<SectionBlockText> sectionBlockTexts(const Project& project);

struct SoilLayer {
    int layerNo = 0;
    double gamma1 = 0.0;
    double gamma2 = 0.0;
    double tanPhi = 0.0;
    double co = 0.0;
    double k = 0.0;
};

inline constexpr int kMissingLayer = -1;

/// A boundary line as numbers: y = m·x + c between the block's edges.
struct SectionLine {
    double yLeft = 0.0;
    double yRight = 0.0;
    double m = 0.0;
    double c = 0.0;
    int layerNo = 0;
    int layer = kMissingLayer;  // index into Section::layers
};

/// A block as numbers; lines[0] is the base at Y = 0, lines[lineCount] the ground surface.
struct SectionBlock {
    double xl = 0.0;
    double xr = 0.0;
    int lineCount = 0;
    std::array<SectionLine, kMaxBlockLines + 1> lines{};

    const SectionLine& ground() const { return lines[static_cast<std::size_t>(lineCount)]; }
    /// Y of line i at x, by the line's two end values.
    double lineY(int i, double x) const {
        const SectionLine& line = lines[static_cast<std::size_t>(i)];
        return line.yLeft + (line.yRight - line.yLeft) * (x - xl) / (xr - xl);
    }
};

struct ConcentratedForce {
    double x = 0.0;
    double force = 0.0;
};

/// Everything an evaluation reads, converted once per run.
struct Section {
    std::vector<SectionBlock> blocks;
    std::vector<SoilLayer> layers;
    std::vector<ConcentratedForce> loads;
    double kh = 0.0;
    double yc = 0.0;
    int loadLayerNo = 0;
};

/// tan φ of a friction angle in degrees, with the calculation's own degree.
double frictionTangent(double phiDegrees);

/// Coordinates and parameters beyond this magnitude are refused as numbers that are not
/// finite are: the arithmetic of a circle would overflow, or lose every digit, on the way.
inline constexpr double kLargestInputMagnitude = 1.0e7;

/// Whether a value read from a cell can enter the calculation: finite and within the bound.
inline bool isUsableInput(double value) {
    return std::abs(value) <= kLargestInputMagnitude;  // false for NaN
}

/// Converts the project's blocks, layers, loads and Kh, Yc and the distributed-load layer.
/// Values that are not usable inputs refuse the run with a message naming where they are.
Result<Section> prepareSection(const Project& project);

}  // namespace dorvo
