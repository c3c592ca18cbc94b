// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "calc/circle_search.h"
#include "calc/search_edges.h"
#include "render/result_overlay.h"

namespace dorvo {

/// The minimum Fs of every centre of the search grid, NaN where a centre has no result.
struct FsGrid {
    double startX = 0.0;
    double startY = 0.0;
    double stepX = 0.0;
    double stepY = 0.0;
    int columns = 0;
    int rows = 0;
    std::vector<double> fs;  // row by row from startY up, each from startX rightward

    double at(int column, int row) const {
        return fs[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                  static_cast<std::size_t>(column)];
    }
    double x(int column) const { return startX + stepX * column; }
    double y(int row) const { return startY + stepY * row; }
};

/// Labels for the minima of a search that writes no records, to contour them.
std::vector<CentreLabel> centreLabelsOf(const std::vector<CentreMinimum>& minima);

/// Grids of more centres are not contoured: far more cells than a page has pixels.
inline constexpr std::int64_t kMaxContouredCentres = 1'000'000;

/// Places each centre's label at its nearest grid centre (the lower Fs where two meet there);
/// labels off the grid or without a number are left out. Nothing for a grid without cells or
/// beyond kMaxContouredCentres.
std::optional<FsGrid> fsGridOf(const ValidCircleSearch& search,
                               const std::vector<CentreLabel>& labels);

}  // namespace dorvo
