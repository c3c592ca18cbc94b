// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "calc/circle_evaluation.h"
#include "calc/section.h"

namespace dorvo {

/// The current safety factor of a moving slope when the user enters none.
inline constexpr double kDefaultCurrentFs = 1.00;

/// A layer carrying less of the resisting moment than this cannot explain the factor of safety.
inline constexpr double kLeastDecisiveShare = 0.10;

/// A trial circle given by its centre and radius.
struct TrialCircle {
    double rx = 0.0;
    double ry = 0.0;
    double r = 0.0;
};

/// The circle through the two ends of a slip surface whose arc passes `depth` below the middle
/// of the chord between them (measured vertically); nothing when the ends coincide or the
/// depth is not positive.
std::optional<TrialCircle> circleThroughEnds(double x1, double y1, double x2, double y2,
                                             double depth);

/// One pair of the strength line: φ in degrees and the cohesion Co that go together.
struct StrengthPair {
    double phiDegrees = 0.0;
    double co = 0.0;
};

enum class BackAnalysisStatus {
    Found,
    NoSuchLayer,      // no layer row has the number
    NotEvaluated,     // the circle gives no factor of safety (it does not cut the ground ...)
    NotThroughLayer,  // the slip surface does not pass through the layer
    NoDrivingMoment,  // MD ≤ 0: no strength makes Fs equal the target
};

/// The strengths (Co, φ) of one layer for which a fixed circle's Fs equals a target. On a
/// fixed circle MR = base + perCo·Co + perTanPhi·tanφ while MD stays, so the answer is the line
/// Fs0·MD = base + perCo·Co + perTanPhi·tanφ; k and the other layers keep their values.
struct BackAnalysis {
    BackAnalysisStatus status = BackAnalysisStatus::NotEvaluated;
    TrialCircle circle;
    int layerNo = 0;
    double targetFs = kDefaultCurrentFs;
    CircleResult current;  // the circle as the project has it
    double currentCo = 0.0;
    double currentPhiDegrees = 0.0;
    double md = 0.0;
    double base = 0.0;
    double perCo = 0.0;
    double perTanPhi = 0.0;
    /// The layer's part of the resisting moment at its current strength.
    double share = 0.0;
    /// The pairs at φ = 0°, 5°, … 45°.
    std::vector<StrengthPair> table;
    double coAtCurrentPhi = 0.0;
    /// φ at the current Co; nothing when no φ in [0°, 90°) gives the target.
    std::optional<double> phiAtCurrentCo;

    bool shareTooSmall() const { return share < kLeastDecisiveShare; }
    /// Co on the line at φ (degrees).
    double coAt(double phiDegrees) const;
    /// φ (degrees) on the line at Co; nothing when the line gives no φ in [0°, 90°).
    std::optional<double> phiAt(double co) const;
};

/// The back-analysis of the layer numbered `layerNo` on the circle, for the target Fs.
BackAnalysis backAnalyse(const Section& section, const TrialCircle& circle, int layerNo,
                         double targetFs);

/// A copy of the section whose layer numbered `layerNo` has cohesion Co and angle φ (degrees)
/// as the calculation converts them.
Section withLayerStrength(const Section& section, int layerNo, double co, double phiDegrees);

}  // namespace dorvo
