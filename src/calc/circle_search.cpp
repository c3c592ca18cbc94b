// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/circle_search.h"

#include <algorithm>
#include <cmath>

#include "calc/section.h"
#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

/// Grids beyond this many centres in one direction, or radii per centre, are taken as a
/// typing error: such a search could not finish.
constexpr double kMaxCentreCount = 1.0e9;

std::int64_t gridCount(double start, double end, double step) {
    const double count = std::trunc((end - start + kEpsilon) / step) + 1.0;
    return static_cast<std::int64_t>(std::clamp(count, 1.0, kMaxCentreCount));
}

bool gridCountIsReasonable(double start, double end, double step) {
    return std::trunc((end - start + kEpsilon) / step) + 1.0 <= kMaxCentreCount;
}

struct GridSize {
    std::int64_t columns;
    std::int64_t rows;
    std::int64_t radii;

    double circles() const { return double(columns) * double(rows) * double(radii); }
};

GridSize gridSize(const CircleSearchValues& v) {
    return {gridCount(v.centreStartX(), v.centreEndX(), v.stepX()),
            gridCount(v.centreStartY(), v.centreEndY(), v.stepY()),
            gridCount(v.lowerY(), v.upperY(), v.stepR())};
}

Message tooManyCirclesMessage(const GridSize& size) {
    return literalMessage(
        formatC("すべり円が多すぎます：中心 %lld × %lld 点、半径 %lld 本で %.0f 個です。"
                "%lld 個までにして下さい",
                static_cast<long long>(size.columns), static_cast<long long>(size.rows),
                static_cast<long long>(size.radii), size.circles(),
                static_cast<long long>(kMaxSearchCircles)));
}

}  // namespace

CircleSearchCheck validateCircleSearch(const CircleSearch& search, CircleSearchValues& values) {
    for (int field = 1; field <= kCircleSearchLines; ++field) {
        const std::string& text = search.line(field);
        const bool present = isPresent(text);
        const double value = readReal(text);
        if (field <= 6 && !present) return CircleSearchCheck::MissingCentreField;
        if (field >= 10 && present && value < -kEpsilon) {
            return CircleSearchCheck::NegativeLimitPoint;
        }
        values.fields[static_cast<std::size_t>(field - 1)] = value;
    }
    for (int field = 1; field <= 6; ++field) {
        if (!isUsableInput(values.fields[static_cast<std::size_t>(field - 1)])) {
            return CircleSearchCheck::CentreGridInconsistent;
        }
    }
    const CircleSearchValues& v = values;
    if (!(v.centreEndX() - v.centreStartX() >= -kEpsilon &&
          v.centreEndY() - v.centreStartY() >= -kEpsilon && v.stepX() >= kEpsilon &&
          v.stepY() >= kEpsilon) ||
        !gridCountIsReasonable(v.centreStartX(), v.centreEndX(), v.stepX()) ||
        !gridCountIsReasonable(v.centreStartY(), v.centreEndY(), v.stepY())) {
        return CircleSearchCheck::CentreGridInconsistent;
    }
    for (int field = 7; field <= kCircleSearchLines; ++field) {
        if (!isUsableInput(values.fields[static_cast<std::size_t>(field - 1)])) {
            return CircleSearchCheck::RadiusInconsistent;
        }
    }
    if (!(v.upperY() - v.lowerY() >= -kEpsilon && v.stepR() >= kEpsilon) ||
        !gridCountIsReasonable(v.lowerY(), v.upperY(), v.stepR())) {
        return CircleSearchCheck::RadiusInconsistent;
    }
    if (gridSize(v).circles() > double(kMaxSearchCircles)) {
        return CircleSearchCheck::TooManyCircles;
    }
    return CircleSearchCheck::Valid;
}

Message circleSearchMessage(CircleSearchCheck check, const CircleSearchValues& values) {
    switch (check) {
        case CircleSearchCheck::MissingCentreField:
            return makeMessage(MessageId::NoData);
        case CircleSearchCheck::CentreGridInconsistent:
            return literalMessage("中心点のデータが不適当です");
        case CircleSearchCheck::RadiusInconsistent:
            return literalMessage("半径設定のデータが不適当です");
        case CircleSearchCheck::NegativeLimitPoint:
            return literalMessage("半径制限指定点の値を正にして下さい");
        case CircleSearchCheck::TooManyCircles:
            return tooManyCirclesMessage(gridSize(values));
        case CircleSearchCheck::Valid:
            break;
    }
    return {};
}

ValidCircleSearch::ValidCircleSearch(const CircleSearchValues& values)
    : values_(values),
      columns_(gridSize(values).columns),
      rows_(gridSize(values).rows),
      radii_(gridSize(values).radii) {}

Result<ValidCircleSearch> validCircleSearch(const CircleSearch& search) {
    CircleSearchValues values;
    const CircleSearchCheck check = validateCircleSearch(search, values);
    if (check != CircleSearchCheck::Valid) return Failure{circleSearchMessage(check, values)};
    return ValidCircleSearch(values);
}

std::optional<int> firstMissingLayer(const Project& project) {
    for (const SectionBlockText& block : sectionBlockTexts(project)) {
        for (const BlockLine& line : block.lines) {
            int layerNo = readInteger(line.layerNo);
            if (!findLayerRow(project, layerNo)) return layerNo;
        }
    }
    return std::nullopt;
}

Message missingLayerMessage(int layerNo) {
    return literalMessage(formatC("層No %d のデータがありません　", layerNo));
}

}  // namespace dorvo
