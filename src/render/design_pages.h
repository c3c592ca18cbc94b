// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "calc/back_analysis.h"
#include "calc/restraint_force.h"
#include "calc/sensitivity.h"
#include "render/analysis_page.h"

namespace dorvo {

/// The required restraint force: the planned Fs, the governing circle with its force and
/// slip-surface ends, the critical circle's force beside it and the largest force of each
/// centre.
class RestraintPage : public AnalysisPage {
  public:
    explicit RestraintPage(RestraintForce force) : force_(std::move(force)) {}
    int layOut(Canvas& canvas, const RenderInputs& inputs, PageState& state,
               PageMode mode) const override;

  private:
    RestraintForce force_;
};

/// The back-analysis of a layer's strength: the circle and target Fs, the line as a chart of
/// Co over φ, and its table.
class BackAnalysisPage : public AnalysisPage {
  public:
    /// `chosen` is a pair the user picked on the line, marked on the chart.
    BackAnalysisPage(BackAnalysis analysis, std::optional<StrengthPair> chosen)
        : analysis_(std::move(analysis)), chosen_(chosen) {}
    int layOut(Canvas& canvas, const RenderInputs& inputs, PageState& state,
               PageMode mode) const override;

  private:
    BackAnalysis analysis_;
    std::optional<StrengthPair> chosen_;
};

/// The sensitivity of the minimum Fs: a tornado chart of the (at most 20) parameters of the
/// largest swing and the table of every variation, marking where its critical circle moved.
class SensitivityPage : public AnalysisPage {
  public:
    SensitivityPage(Sensitivity sensitivity, SensitivityLimits limits)
        : sensitivity_(std::move(sensitivity)), limits_(limits) {}
    int layOut(Canvas& canvas, const RenderInputs& inputs, PageState& state,
               PageMode mode) const override;

  private:
    Sensitivity sensitivity_;
    SensitivityLimits limits_;
};

}  // namespace dorvo
