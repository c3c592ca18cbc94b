// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"

namespace dorvo {

/// The tolerance of every comparison of the calculation.
inline constexpr double kEpsilon = 0.00001;

/// The fifteen circle-search fields as numbers, in file order.
struct CircleSearchValues {
    std::array<double, kCircleSearchLines> fields{};

    double centreStartX() const { return fields[0]; }
    double centreStartY() const { return fields[1]; }
    double centreEndX() const { return fields[2]; }
    double centreEndY() const { return fields[3]; }
    double stepX() const { return fields[4]; }
    double stepY() const { return fields[5]; }
    double upperY() const { return fields[6]; }
    double lowerY() const { return fields[7]; }
    double stepR() const { return fields[8]; }
    double min1X() const { return fields[9]; }
    double min1Y() const { return fields[10]; }
    double min2X() const { return fields[11]; }
    double min2Y() const { return fields[12]; }
    double maxX() const { return fields[13]; }
    double maxY() const { return fields[14]; }
};

/// A search of more circles (centres × radii) is refused: it could not finish, and its
/// records would fill any disk long before.
inline constexpr std::int64_t kMaxSearchCircles = 2'000'000'000;

enum class CircleSearchCheck {
    Valid = 0,
    MissingCentreField = 1,
    CentreGridInconsistent = 2,
    RadiusInconsistent = 3,
    NegativeLimitPoint = 4,
    TooManyCircles = 5,
};

/// Converts the fifteen fields into `values` as it walks them and checks them; the first
/// failing step decides the result.
CircleSearchCheck validateCircleSearch(const CircleSearch& search, CircleSearchValues& values);

/// The message of a failed check of these values; too many circles names their number.
Message circleSearchMessage(CircleSearchCheck check, const CircleSearchValues& values);

/// A circle search that passed every check, with the size of its grid. Only
/// `validCircleSearch` makes one, so a search never runs on unchecked or half-converted
/// values.
class ValidCircleSearch {
  public:
    const CircleSearchValues& values() const { return values_; }
    /// Centre columns, trunc((end − start + ε) / step) + 1.
    std::int64_t columns() const { return columns_; }
    std::int64_t rows() const { return rows_; }
    /// Radii of each centre, trunc((upper − lower + ε) / dR) + 1.
    std::int64_t radiiPerCentre() const { return radii_; }

  private:
    explicit ValidCircleSearch(const CircleSearchValues& values);
    friend Result<ValidCircleSearch> validCircleSearch(const CircleSearch&);

    CircleSearchValues values_;
    std::int64_t columns_;
    std::int64_t rows_;
    std::int64_t radii_;
};

/// Checks the circle search as `validateCircleSearch` does; a failed check gives its message.
Result<ValidCircleSearch> validCircleSearch(const CircleSearch& search);

/// A limit point is active when one of its coordinates is above ε.
inline bool isActiveLimitPoint(double x, double y) {
    return x > kEpsilon || y > kEpsilon;
}

/// The first layer number used by a block line that has no layer row.
std::optional<int> firstMissingLayer(const Project& project);

/// The message of the layer check, "層No %d のデータがありません　".
Message missingLayerMessage(int layerNo);

}  // namespace dorvo
