// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/circle_evaluation.h"
#include "calc/section.h"

namespace dorvo {

/// The best circle of a centre, a task or the whole search: the first with the lowest Fs. A
/// circle from a stepped evaluation carries how far its Fs may lie from the direct one's.
struct BestCircle {
    CircleResult circle;
    double fsBound = 0.0;
};

/// Decides between circles by the Fs of the direct evaluation, evaluating directly the circles
/// whose stepped Fs are too close to call.
class CircleJudge {
  public:
    CircleJudge(const Section& section, EvaluationScratch& scratch)
        : section_(section), scratch_(scratch) {}

    /// Whether `candidate` has a lower Fs than `best`.
    bool lower(BestCircle& candidate, BestCircle& best);
    /// Replaces a stepped result by the direct one.
    void settle(BestCircle& circle);

  private:
    const Section& section_;
    EvaluationScratch& scratch_;
};

/// Whether a stepped outcome may stand for the direct one in the search: every number its
/// records print, with `decimals` Fs decimals, and every decision the search takes on it come
/// out the same for any value within its bounds.
bool standsForDirect(const SteppedOutcome& stepped, int decimals);

}  // namespace dorvo
