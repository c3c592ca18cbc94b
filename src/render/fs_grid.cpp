// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/fs_grid.h"

#include <cmath>
#include <limits>

#include "model/number_text.h"

namespace dorvo {

namespace {

/// Any Fs from this one up stands for a centre without a factor of safety.
constexpr double kNoSolutionFrom = 9999.0;

/// The Fs of a label, NaN when it holds no number or no factor of safety.
double fsOf(const CentreLabel& label) {
    if (label.text.find_first_of("0123456789") == std::string::npos) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double fs = readReal(label.text);
    return std::isfinite(fs) && fs < kNoSolutionFrom ? fs
                                                     : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

std::vector<CentreLabel> centreLabelsOf(const std::vector<CentreMinimum>& minima) {
    std::vector<CentreLabel> labels;
    labels.reserve(minima.size());
    for (const CentreMinimum& m : minima) labels.push_back({m.rx, m.ry, formatC("%.4f", m.fs)});
    return labels;
}

std::optional<FsGrid> fsGridOf(const ValidCircleSearch& search,
                               const std::vector<CentreLabel>& labels) {
    const CircleSearchValues& v = search.values();
    if (search.columns() < 2 || search.rows() < 2 ||
        search.columns() * search.rows() > kMaxContouredCentres) {
        return std::nullopt;
    }
    FsGrid grid;
    grid.startX = v.centreStartX();
    grid.startY = v.centreStartY();
    grid.stepX = v.stepX();
    grid.stepY = v.stepY();
    grid.columns = static_cast<int>(search.columns());
    grid.rows = static_cast<int>(search.rows());
    grid.fs.assign(static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows),
                   std::numeric_limits<double>::quiet_NaN());
    for (const CentreLabel& label : labels) {
        const double column = std::round((label.x - grid.startX) / grid.stepX);
        const double row = std::round((label.y - grid.startY) / grid.stepY);
        if (!(column >= 0 && column < grid.columns && row >= 0 && row < grid.rows)) continue;
        const double fs = fsOf(label);
        if (std::isnan(fs)) continue;
        double& cell = grid.fs[static_cast<std::size_t>(row) * std::size_t(grid.columns) +
                               static_cast<std::size_t>(column)];
        if (std::isnan(cell) || fs < cell) cell = fs;
    }
    return grid;
}

}  // namespace dorvo
