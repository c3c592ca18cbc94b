// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/project_builder.h"

#include "model/number_text.h"

namespace dorvo::test {

std::string cell(double value) {
    return formatC("%.17g", value);
}

ProjectBuilder& ProjectBuilder::block(double x, std::span<const LineSpec> lines) {
    Block& row = project_.block(++blocks_);
    row.x = cell(x);
    for (const LineSpec& line : lines) {
        if (!row.lines.empty()) row.lines += ",";
        row.lines += cell(line.yLeft) + "," + cell(line.yRight) + "," + formatInt(line.layerNo);
    }
    return *this;
}

ProjectBuilder& ProjectBuilder::layer(int no, double gamma, double phi, double co, double k) {
    return layer2(no, gamma, gamma, phi, co, k);
}

ProjectBuilder& ProjectBuilder::layer2(int no, double gamma1, double gamma2, double phi, double co,
                                       double k) {
    Layer& row = project_.layer(++layers_);
    row = {formatInt(no), cell(gamma1), cell(gamma2), cell(phi), cell(co), cell(k), "0x000000", ""};
    return *this;
}

ProjectBuilder& ProjectBuilder::load(double x, double force) {
    project_.load(++loads_) = {cell(x), cell(force)};
    return *this;
}

ProjectBuilder& ProjectBuilder::kh(double value) {
    project_.settings.line(settings_line::kKh) = cell(value);
    return *this;
}

ProjectBuilder& ProjectBuilder::yc(double value) {
    project_.settings.line(settings_line::kYc) = cell(value);
    return *this;
}

ProjectBuilder& ProjectBuilder::loadLayer(int layerNo) {
    project_.settings.line(settings_line::kLoadLayerNo) = formatInt(layerNo);
    return *this;
}

ProjectBuilder& ProjectBuilder::search(double startX, double startY, double endX, double endY,
                                       double stepX, double stepY, double upperY, double lowerY,
                                       double stepR) {
    const double values[] = {startX, startY, endX, endY, stepX, stepY, upperY, lowerY, stepR};
    for (int line = 1; line <= 9; ++line) project_.circleSearch.line(line) = cell(values[line - 1]);
    return *this;
}

ProjectBuilder& ProjectBuilder::limitPoint(int field, double x, double y) {
    project_.circleSearch.line(field) = cell(x);
    project_.circleSearch.line(field + 1) = cell(y);
    return *this;
}

ProjectBuilder& ProjectBuilder::singleCircle(double rx, double ry, double r) {
    return search(rx, ry, rx, ry, 1.0, 1.0, ry - r, ry - r, 1.0);
}

}  // namespace dorvo::test
