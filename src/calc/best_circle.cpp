// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/best_circle.h"

#include <array>
#include <cmath>

#include "calc/result_records.h"

namespace dorvo {

namespace {

class DiscardRecords : public RecordWriter {
  public:
    void writeRecord(std::string_view) override {}
};

/// Whether every value within `bound` of `value` prints the same with `decimals` decimals.
bool printsAlikeWithin(double value, double bound, int decimals) {
    if (bound == 0.0) return true;
    static constexpr std::array<double, 5> kScale = {1.0, 10.0, 100.0, 1000.0, 10000.0};
    const double scale = kScale[static_cast<std::size_t>(decimals)];
    const double low = (value - bound) * scale;
    const double high = (value + bound) * scale;
    if (!(std::fabs(low) < 1e15 && std::fabs(high) < 1e15)) return false;
    // Zero too divides what prints: "-0.00" from "0.00".
    if (low <= 0.0 && high >= 0.0) return false;
    return std::floor(low + 0.5) == std::floor(high + 0.5);
}

}  // namespace

bool CircleJudge::lower(BestCircle& candidate, BestCircle& best) {
    const double reach = candidate.fsBound + best.fsBound;
    const double gap = best.circle.fs - candidate.circle.fs;
    if (std::fabs(gap) > reach) return gap > 0.0;
    settle(candidate);
    settle(best);
    return candidate.circle.fs < best.circle.fs;
}

void CircleJudge::settle(BestCircle& circle) {
    if (circle.fsBound == 0.0) return;
    DiscardRecords records;
    const CircleResult& c = circle.circle;
    const CircleOutcome direct = evaluateCircle(section_, c.rx, c.ry, c.r, records, scratch_);
    circle.circle = direct.result;
    circle.fsBound = 0.0;
}

bool standsForDirect(const SteppedOutcome& stepped, int decimals) {
    if (!stepped.settled) return false;
    if (stepped.outcome.kind != OutcomeKind::Result) return true;
    const CircleResult& c = stepped.outcome.result;
    const OutcomeBounds& b = stepped.bounds;
    if (b.fs > 0.0 && std::fabs(c.fs - 9999.0) <= b.fs) return false;
    return printsAlikeWithin(c.md, b.md, 2) && printsAlikeWithin(c.mc, b.mc, 2) &&
           printsAlikeWithin(c.mtMe, b.mtMe, 2) && printsAlikeWithin(c.mr, b.mr, 2) &&
           printsAlikeWithin(c.fs, b.fs, fsPlaces(decimals));
}

}  // namespace dorvo
