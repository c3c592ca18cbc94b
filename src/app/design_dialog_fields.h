// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

#include "calc/back_analysis.h"
#include "model/result.h"

namespace dorvo {

// The fields of the design-analysis dialogs as the user types them: a usable value, or a
// failure naming the field.

/// A circle by its centre and radius.
Result<TrialCircle> typedTrialCircle(std::string_view rx, std::string_view ry, std::string_view r);

/// The circle through the two ends of a slip surface that passes `depth` below the middle of
/// their chord.
Result<TrialCircle> typedCircleThroughEnds(std::string_view x1, std::string_view y1,
                                           std::string_view x2, std::string_view y2,
                                           std::string_view depth);

/// A layer No. as the layer table numbers them.
Result<int> typedLayerNo(std::string_view typed);

/// The pair of the back-analysis line at the typed φ (degrees); refuses a φ that is no angle
/// and one where the line needs a negative cohesion, which no soil has.
Result<StrengthPair> typedChosenPair(const BackAnalysis& analysis, std::string_view typedPhi);

/// The number of realisations and the seed of a probabilistic analysis.
Result<std::int64_t> typedRealisations(std::string_view typed);
Result<std::uint64_t> typedSeed(std::string_view typed);

}  // namespace dorvo
