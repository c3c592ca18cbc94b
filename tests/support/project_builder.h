// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <span>
#include <string>

#include "model/project.h"

namespace dorvo::test {

struct LineSpec {
    double yLeft;
    double yRight;
    int layerNo;
};

/// Builds projects for tests: blocks from the left, layers, loads and the circle search.
class ProjectBuilder {
  public:
    ProjectBuilder& block(double x, std::initializer_list<LineSpec> lines) {
        return block(x, std::span<const LineSpec>(lines.begin(), lines.size()));
    }
    ProjectBuilder& block(double x, std::span<const LineSpec> lines);
    ProjectBuilder& layer(int no, double gamma, double phi, double co, double k = 0.0);
    ProjectBuilder& layer2(int no, double gamma1, double gamma2, double phi, double co, double k);
    ProjectBuilder& load(double x, double force);
    ProjectBuilder& kh(double value);
    ProjectBuilder& yc(double value);
    ProjectBuilder& loadLayer(int layerNo);
    /// Centre grid, radius range and step: the first nine circle-search fields.
    ProjectBuilder& search(double startX, double startY, double endX, double endY, double stepX,
                           double stepY, double upperY, double lowerY, double stepR);
    ProjectBuilder& limitPoint(int field, double x, double y);

    /// One centre and one radius.
    ProjectBuilder& singleCircle(double rx, double ry, double r);

    const Project& project() const { return project_; }
    Project& project() { return project_; }

  private:
    Project project_;
    int blocks_ = 0;
    int layers_ = 0;
    int loads_ = 0;
};

/// A number as a cell holds it, exactly.
std::string cell(double value);

}  // namespace dorvo::test
