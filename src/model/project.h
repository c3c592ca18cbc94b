// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvo {

inline constexpr int kSettingsLines = 70;
inline constexpr int kMaxBlocks = 40;
inline constexpr int kMaxBlockLines = 20;
inline constexpr int kMaxLayers = 20;
inline constexpr int kMaxLoads = 5;
inline constexpr int kCircleSearchLines = 15;

/// Settings line numbers with a meaning of their own (1-based).
namespace settings_line {
inline constexpr int kViewPage = 1;
inline constexpr int kScaleX = 3;
inline constexpr int kScaleY = 4;
inline constexpr int kFigureLeftX = 5;
inline constexpr int kPageWidthM = 6;
inline constexpr int kPageOverlapM = 7;
inline constexpr int kFigureTopY = 8;
inline constexpr int kPageDepthM = 9;
inline constexpr int kKh = 11;
inline constexpr int kYc = 12;
inline constexpr int kLoadLayerNo = 13;
inline constexpr int kLayerFill = 14;
inline constexpr int kUnitDisplay = 15;
inline constexpr int kShowAxes = 18;
}  // namespace settings_line

/// The seventy text lines of general settings, numbered from 1.
struct ProjectSettings {
    std::array<std::string, kSettingsLines> lines;

    std::string& line(int number) { return lines.at(static_cast<std::size_t>(number - 1)); }
    const std::string& line(int number) const {
        return lines.at(static_cast<std::size_t>(number - 1));
    }
    bool operator==(const ProjectSettings&) const = default;
};

/// Settings lines 3 to 9 as numbers: the scale and the window of the figure.
struct FigureWindow {
    int scaleX = 0;
    int scaleY = 0;
    int figureLeftX = 0;
    int pageWidthM = 0;
    int pageOverlapM = 0;
    double figureTopY = 0.0;
    int pageDepthM = 0;
};

/// A vertical strip from the previous row's x to its own, with its boundary lines as text.
struct Block {
    std::string x;
    std::string lines;  // yLeft,yRight,layerNo triples from the bottom up
    bool operator==(const Block&) const = default;
};

struct Layer {
    std::string layerNo;
    std::string gamma1;
    std::string gamma2;
    std::string phi;
    std::string co;
    std::string k;
    std::string colour;
    std::string spare;
    bool operator==(const Layer&) const = default;
};

inline constexpr int kLayerCells = 8;

/// The eight cells of a layer row in file order.
std::array<std::string*, kLayerCells> layerCells(Layer& layer);
std::array<const std::string*, kLayerCells> layerCells(const Layer& layer);

struct ConcentratedLoad {
    std::string x;
    std::string force;
    bool operator==(const ConcentratedLoad&) const = default;
};

/// The fifteen text lines of the slip-circle search, numbered from 1.
struct CircleSearch {
    std::array<std::string, kCircleSearchLines> lines;

    std::string& line(int number) { return lines.at(static_cast<std::size_t>(number - 1)); }
    const std::string& line(int number) const {
        return lines.at(static_cast<std::size_t>(number - 1));
    }
    bool operator==(const CircleSearch&) const = default;
};

/// The critical circle of the last calculation; a radius of 0 means there is none.
struct CriticalCircle {
    double centreX = 0.0;
    double centreY = 0.0;
    double radius = 0.0;
    double p1x = 0.0;
    double p1y = 0.0;
    double p2x = 0.0;
    double p2y = 0.0;
    bool operator==(const CriticalCircle&) const = default;
};

/// Everything one project file holds, every value as the text that was typed or read.
struct Project {
    ProjectSettings settings;
    std::array<Block, kMaxBlocks> blocks;
    std::array<Layer, kMaxLayers> layers;
    std::array<ConcentratedLoad, kMaxLoads> loads;
    CircleSearch circleSearch;
    CriticalCircle critical;

    Block& block(int row) { return blocks.at(static_cast<std::size_t>(row - 1)); }
    const Block& block(int row) const { return blocks.at(static_cast<std::size_t>(row - 1)); }
    Layer& layer(int row) { return layers.at(static_cast<std::size_t>(row - 1)); }
    const Layer& layer(int row) const { return layers.at(static_cast<std::size_t>(row - 1)); }
    ConcentratedLoad& load(int row) { return loads.at(static_cast<std::size_t>(row - 1)); }
    const ConcentratedLoad& load(int row) const {
        return loads.at(static_cast<std::size_t>(row - 1));
    }
    bool operator==(const Project&) const = default;
};

/// Empties every cell of every table and forgets the critical circle.
void clearProject(Project& project);

/// Gives settings line 18 the text "1" when it is not number-like.
void ensureDefaults(Project& project);

/// Reads settings lines 3 to 9, integers and the top Y by the decimal-prefix rules.
FigureWindow readFigureWindow(const ProjectSettings& settings);

/// Counts the consecutive block rows from row 1 whose x is number-like.
int blockCount(const Project& project);

/// The block rows the calculation reads: every row up to the last one whose x is
/// number-like, an absent row before it being a block without lines. The project file keeps
/// all of them.
int calculationBlockRows(const Project& project);

/// Counts the consecutive layer rows from row 1 whose number is number-like.
int layerCount(const Project& project);

/// Finds the first layer row (1-based) whose number has this integer value.
std::optional<int> findLayerRow(const Project& project, int layerNo);

}  // namespace dorvo

namespace dorvo {

/// One boundary line of a block as text.
struct BlockLine {
    std::string yLeft;
    std::string yRight;
    std::string layerNo;
};

/// Which cells a reader of block lines tests to end the list: the editor and the figure test
/// yLeft, the calculation both Ys.
enum class BlockLineEnd { LeftAbsent, EitherAbsent };

/// Splits a block's line list into its triples, stopping at the first incomplete one and after
/// twenty lines.
std::vector<BlockLine> splitBlockLines(std::string_view lines, BlockLineEnd end);

/// The names of the fifteen circle-search lines, in file order.
extern const std::array<std::string_view, kCircleSearchLines> kCircleSearchNames;

}  // namespace dorvo
