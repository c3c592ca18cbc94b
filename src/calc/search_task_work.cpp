// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/search_task_work.h"

#include <cmath>
#include <limits>

#include "calc/result_records.h"

namespace dorvo {

namespace {

constexpr std::int64_t kRadiiBetweenStopChecks = 1024;

class BufferRecords : public RecordWriter {
  public:
    explicit BufferRecords(std::string& buffer) : buffer_(buffer) {}
    void writeRecord(std::string_view record) override {
        buffer_.append(record);
        buffer_.append("\r\n");
    }

  private:
    std::string& buffer_;
};

}  // namespace

void SearchTaskWork::run(const SearchTask& task, TaskResult& result, EvaluationScratch& scratch,
                         const std::stop_token& stop) const {
    result.reset(task);
    const double ry = grid_.centreY(task.row);
    BufferRecords records(result.records);
    if (task.radiusRun) {
        BestCircle centre;
        centre.circle.fs = kNoSolutionFs;
        const RadiusStart start{task.firstRadius, task.previousRadius, task.radii};
        if (!tryRadii(grid_.centreX(task.firstColumn), ry, start, true, centre, result, records,
                      scratch, stop)) {
            return;
        }
        result.best = centre;
    } else {
        for (std::int64_t column = task.firstColumn; column < task.endColumn; ++column) {
            if (stop.stop_requested()) return;
            if (!runCentre(grid_.centreX(column), ry, result, records, scratch, stop)) return;
        }
    }
    result.complete = true;
}

/// Tries every radius of one centre and writes its minimum; false when stopped on the way.
bool SearchTaskWork::runCentre(double rx, double ry, TaskResult& result, RecordWriter& records,
                               EvaluationScratch& scratch, const std::stop_token& stop) const {
    BestCircle centre;
    centre.circle.fs = kNoSolutionFs;
    const RadiusStart start{grid_.firstRadius(ry), std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<std::int64_t>::max()};
    if (!tryRadii(rx, ry, start, false, centre, result, records, scratch, stop)) return false;
    const CircleResult& best = centre.circle;
    records.writeRecord(best.fs < 9999.0 ? minimumRecord(rx, ry, best.r, best.fs, decimals_)
                                         : noCircleRecord(rx, ry));
    if (CircleJudge(section_, scratch).lower(centre, result.best)) result.best = centre;
    return true;
}

/// Tries radii of one centre from `start` while they stay in the centre's range, writing
/// the records of those with an Fs; false when stopped on the way.
bool SearchTaskWork::tryRadii(double rx, double ry, const RadiusStart& start, bool deferFirstCircle,
                              BestCircle& centre, TaskResult& result, RecordWriter& records,
                              EvaluationScratch& scratch, const std::stop_token& stop) const {
    bool first = true;
    const double limit = grid_.radiusLimit(ry);
    std::int64_t left = start.count;
    // The radius is accumulated by repeated addition; a step lost in the radius's precision
    // ends the radii instead of repeating one for ever.
    for (double r = start.first, previous = start.previous;
         left > 0 && grid_.radiusInRange(r, previous, limit);
         --left, previous = r, r += values_.stepR()) {
        if (++result.radiiTried % kRadiiBetweenStopChecks == 0 && stop.stop_requested()) {
            return false;
        }
        result.lastRx = rx;
        result.lastRy = ry;
        result.lastR = r;
        if (!passesRadiusFilters(values_, rx, ry, r)) continue;
        ++result.evaluated;
        double fsBound = 0.0;
        const CircleOutcome outcome = evaluate(rx, ry, r, records, scratch, fsBound);
        if (outcome.kind == OutcomeKind::MissingLayer) {
            result.lastMissingLayer = {true, outcome.missingLayerNo};
            continue;
        }
        if (outcome.kind != OutcomeKind::Result) continue;
        BestCircle candidate{outcome.result, fsBound};
        if (CircleJudge(section_, scratch).lower(candidate, centre)) centre = candidate;
        const CircleResult& c = candidate.circle;
        if (c.fs < 9999.0) {
            if (first && deferFirstCircle) {
                result.deferredCircle = true;
                result.deferredAt = result.records.size();
                result.deferred = c;
            } else {
                appendCircleRecord(result.records, first, rx, ry, r, c.md, c.mc, c.mtMe, c.mr, c.fs,
                                   decimals_);
                result.records += "\r\n";
            }
            first = false;
            ++result.written;
        }
    }
    return true;
}

CircleOutcome SearchTaskWork::evaluate(double rx, double ry, double r, RecordWriter& records,
                                       EvaluationScratch& scratch, double& fsBound) const {
    const SteppedOutcome stepped = evaluateCircleStepped(section_, sizes_, rx, ry, r, scratch);
    if (standsForDirect(stepped, decimals_)) {
        fsBound = stepped.bounds.fs;
        return stepped.outcome;
    }
    fsBound = 0.0;
    return evaluateCircle(section_, rx, ry, r, records, scratch);
}

}  // namespace dorvo
