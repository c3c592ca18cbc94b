// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/search_tasks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvo {

namespace {

bool fartherThan(double px, double py, double rx, double ry, double r) {
    return std::sqrt((px - rx) * (px - rx) + (py - ry) * (py - ry)) > r;
}

bool nearerThan(double px, double py, double rx, double ry, double r) {
    return std::sqrt((px - rx) * (px - rx) + (py - ry) * (py - ry)) < r;
}

}  // namespace

bool passesRadiusFilters(const CircleSearchValues& v, double rx, double ry, double r) {
    if (r < kEpsilon) return false;
    if (isActiveLimitPoint(v.min1X(), v.min1Y()) && fartherThan(v.min1X(), v.min1Y(), rx, ry, r))
        return false;
    if (isActiveLimitPoint(v.min2X(), v.min2Y()) && fartherThan(v.min2X(), v.min2Y(), rx, ry, r))
        return false;
    if (isActiveLimitPoint(v.maxX(), v.maxY()) && nearerThan(v.maxX(), v.maxY(), rx, ry, r))
        return false;
    return ry - r >= kEpsilon;
}

SearchGrid::SearchGrid(const ValidCircleSearch& search)
    : values_(search.values()),
      columns_(search.columns()),
      rows_(search.rows()),
      radiiPerCentre_(search.radiiPerCentre()) {}

SearchTaskCursor::SearchTaskCursor(const SearchGrid& grid)
    : grid_(grid), splitsCentres_(grid.radiiPerCentre() > kCirclesPerTask) {
    const double perTask = std::floor(double(kCirclesPerTask) / double(grid.radiiPerCentre()));
    columnsPerTask_ = static_cast<std::int64_t>(std::clamp(perTask, 1.0, double(grid.columns())));
}

bool SearchTaskCursor::next(SearchTask& task) {
    if (row_ >= grid_.rows()) return false;
    task = SearchTask{};
    task.row = row_;
    task.firstColumn = column_;
    task.startsRow = column_ == 0 && !insideCentre_;
    if (splitsCentres_) {
        nextRadiusRun(task);
    } else {
        column_ = std::min(grid_.columns(), column_ + columnsPerTask_);
    }
    task.endColumn = task.radiusRun ? task.firstColumn + 1 : column_;
    task.endsRow = column_ == grid_.columns();
    if (task.endsRow) {
        ++row_;
        column_ = 0;
    }
    return true;
}

void SearchTaskCursor::nextRadiusRun(SearchTask& task) {
    const double ry = grid_.centreY(row_);
    if (!insideCentre_) {
        radius_ = grid_.firstRadius(ry);
        previousRadius_ = std::numeric_limits<double>::quiet_NaN();
    }
    task.radiusRun = true;
    task.startsCentre = !insideCentre_;
    task.firstRadius = radius_;
    task.previousRadius = previousRadius_;
    // Walks the radii by the same additions the run will make, so each run starts on the very
    // radius where the one before it stopped.
    const double limit = grid_.radiusLimit(ry);
    const double step = grid_.values().stepR();
    while (task.radii < kCirclesPerTask && grid_.radiusInRange(radius_, previousRadius_, limit)) {
        ++task.radii;
        previousRadius_ = radius_;
        radius_ += step;
    }
    task.endsCentre = !grid_.radiusInRange(radius_, previousRadius_, limit);
    insideCentre_ = !task.endsCentre;
    if (task.endsCentre) ++column_;
}

double SearchTaskCursor::estimatedTaskCount() const {
    const double rows = double(grid_.rows());
    if (splitsCentres_) {
        return rows * double(grid_.columns()) *
               std::ceil(double(grid_.radiiPerCentre()) / double(kCirclesPerTask));
    }
    return rows * std::ceil(double(grid_.columns()) / double(columnsPerTask_));
}

}  // namespace dorvo
