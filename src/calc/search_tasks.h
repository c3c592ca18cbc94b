// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "calc/circle_search.h"

namespace dorvo {

/// The most circles one task tries. A task's records wait in memory until the writer takes
/// them, so this bounds the bytes each task holds, however many radii a centre has.
inline constexpr std::int64_t kCirclesPerTask = 2000;

/// The centres and radii of a search, each computed the one way every part of the run uses.
class SearchGrid {
  public:
    explicit SearchGrid(const ValidCircleSearch& search);

    std::int64_t columns() const { return columns_; }
    std::int64_t rows() const { return rows_; }
    std::int64_t radiiPerCentre() const { return radiiPerCentre_; }
    const CircleSearchValues& values() const { return values_; }

    double centreX(std::int64_t column) const {
        return values_.centreStartX() + double(column) * values_.stepX();
    }
    double centreY(std::int64_t row) const {
        return values_.centreStartY() + double(row) * values_.stepY();
    }
    /// The smallest radius of a centre at this height; the next ones follow by adding dR.
    double firstRadius(double ry) const { return ry - values_.upperY(); }
    /// The radii go on while a radius is at most this and adding dR still changes it.
    double radiusLimit(double ry) const { return ry - values_.lowerY() + kEpsilon; }
    bool radiusInRange(double r, double previous, double limit) const {
        return r <= limit && r != previous;
    }

  private:
    CircleSearchValues values_;
    std::int64_t columns_;
    std::int64_t rows_;
    std::int64_t radiiPerCentre_;
};

/// Whether a circle passes the search's filters: a positive radius, through the minimum
/// points, not through the maximum point, and above Y = 0.
bool passesRadiusFilters(const CircleSearchValues& values, double rx, double ry, double r);

/// A piece of the search for one thread: consecutive whole centres of one row, or, when a
/// centre has more radii than a task tries, a run of consecutive radii of one centre.
struct SearchTask {
    std::int64_t row = 0;
    std::int64_t firstColumn = 0;
    std::int64_t endColumn = 0;  // one past the last column; a run of radii has one
    bool startsRow = false;
    bool endsRow = false;

    bool radiusRun = false;
    // A run starts at `firstRadius` (after `previousRadius`, NaN at the centre's first radius)
    // and tries `radii` radii.
    double firstRadius = 0.0;
    double previousRadius = 0.0;
    std::int64_t radii = 0;
    bool startsCentre = true;
    bool endsCentre = true;
};

/// Cuts the grid into tasks in search order.
class SearchTaskCursor {
  public:
    explicit SearchTaskCursor(const SearchGrid& grid);

    /// The next task; false after the last one.
    bool next(SearchTask& task);

    /// About how many tasks the search has, to choose how many threads to start.
    double estimatedTaskCount() const;

  private:
    void nextRadiusRun(SearchTask& task);

    const SearchGrid& grid_;
    bool splitsCentres_;
    std::int64_t columnsPerTask_;
    std::int64_t row_ = 0;
    std::int64_t column_ = 0;
    // Within a centre whose radii are split into runs: where the next run starts.
    bool insideCentre_ = false;
    double radius_ = 0.0;
    double previousRadius_ = 0.0;
};

}  // namespace dorvo
