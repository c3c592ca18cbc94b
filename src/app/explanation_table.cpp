// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/explanation_table.h"

#include <cmath>

#include "model/number_text.h"

namespace dorvo {

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159;

std::string number(double value, int decimals) {
    return formatC("%.*f", decimals, value + 0.0);  // + 0.0: no "-0.000"
}

}  // namespace

std::vector<std::array<std::string, kElementColumns.size()>> elementRows(
    const CircleExplanation& circle, int decimals) {
    std::vector<std::array<std::string, kElementColumns.size()>> rows;
    int no = 0;
    for (const ElementContribution& e : circle.elements) {
        const double values[] = {
            e.x1,    e.y1,  e.x2, e.y2, std::atan2(e.sinTheta, e.cosTheta) * kDegreesPerRadian,
            e.width, e.area};
        std::array<std::string, kElementColumns.size()> row;
        row[0] = formatInt(++no);
        for (std::size_t i = 0; i < std::size(values); ++i)
            row[i + 1] = number(values[i], decimals);
        row[8] = formatInt(e.layerNo);
        const double rest[] = {
            e.w1,        e.w2, e.cohesion, std::atan(e.tanPhi) * kDegreesPerRadian,
            e.arcLength, e.md, e.me,       e.mt,
            e.mE,        e.mc};
        for (std::size_t i = 0; i < std::size(rest); ++i) row[i + 9] = number(rest[i], decimals);
        rows.push_back(std::move(row));
    }
    return rows;
}

ExplanationSums explanationSums(const CircleExplanation& circle) {
    ExplanationSums sums;
    sums.mf = circle.mf;
    for (const ElementContribution& e : circle.elements) {
        sums.md += e.md;
        sums.me += e.me;
        sums.mt += e.mt;
        sums.mE += e.mE;
        sums.mc += e.mc;
    }
    return sums;
}

std::string explanationCsv(const CircleExplanation& circle) {
    std::string csv;
    for (std::size_t i = 0; i < kElementColumns.size(); ++i) {
        csv += (i > 0 ? "," : "") + std::string(kElementColumns[i]);
    }
    csv += "\n";
    for (const auto& row : elementRows(circle, 6)) {
        for (std::size_t i = 0; i < row.size(); ++i) csv += (i > 0 ? "," : "") + row[i];
        csv += "\n";
    }
    const ExplanationSums s = explanationSums(circle);
    csv += formatC("sum,,,,,,,,,,,,,,%.6f,%.6f,%.6f,%.6f,%.6f\n", s.md, s.me + 0.0, s.mt,
                   s.mE + 0.0, s.mc);
    return csv;
}

}  // namespace dorvo
