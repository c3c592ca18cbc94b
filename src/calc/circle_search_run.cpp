// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/circle_search_run.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <thread>

#include "calc/parallel_task_runner.h"
#include "calc/result_records.h"
#include "calc/search_task_work.h"
#include "calc/search_tasks.h"

namespace dorvo {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(40);

/// Writes finished tasks in search order and keeps the per-centre, per-row and overall
/// bookkeeping.
class RecordSink {
  public:
    RecordSink(const Section& section, const SearchGrid& grid, int decimals, std::ostream& out,
               SearchProgress* progress)
        : judge_(section, scratch_),
          grid_(grid),
          decimals_(decimals),
          out_(out),
          progress_(progress) {
        overall_.circle.fs = kNoSolutionFs;
    }

    void begin() {
        line(results_marker::kStart);
        if (progress_ != nullptr) progress_->report(5, "START");
        line(kColumnHeadsRecord);
    }

    /// Writes a finished task; false once the stream has refused a write.
    bool take(const TaskResult& result) {
        const SearchTask& task = result.task;
        if (task.startsRow) {
            rowMissingLayer_ = {};
            position_ = static_cast<int>((task.row + 1) * 100 / grid_.rows());
        }
        if (task.radiusRun) {
            takeRadiusRun(result);
        } else {
            write(result.records);
            keepIfLower(result.best, overall_);
        }
        if (result.lastMissingLayer.any) rowMissingLayer_ = result.lastMissingLayer;
        summary_.radiiTried += result.radiiTried;
        summary_.circlesEvaluated += result.evaluated;
        summary_.circlesWritten += result.written;
        if (task.endsRow && rowMissingLayer_.any) {
            line(missingLayerRecord(rowMissingLayer_.layerNo));
        }
        reportProgress(result);
        summary_.writeFailed = !out_;
        return !summary_.writeFailed;
    }

    SearchSummary finish() {
        line(separatorRecord());
        judge_.settle(overall_);
        const CircleResult& best = overall_.circle;
        if (best.fs < 9999.0) {
            line(results_marker::kAnswer);
            line(minimumRecord(best.rx, best.ry, best.r, best.fs, decimals_));
            line(endPointsRecord(best.p1x, best.p1y, best.p2x, best.p2y));
            summary_.critical = best;
        } else {
            line(noSolutionRecord());
        }
        line(results_marker::kEnd);
        out_.flush();
        summary_.writeFailed = !out_;
        summary_.completed = !summary_.writeFailed;
        return summary_;
    }

    SearchSummary unfinished() const { return summary_; }

  private:
    /// A centre's runs come in order: the first written circle of the centre is its 028
    /// record, and the last run closes the centre with its minimum.
    void takeRadiusRun(const TaskResult& result) {
        const SearchTask& task = result.task;
        if (task.startsCentre) {
            centre_ = BestCircle{};
            centre_.circle.fs = kNoSolutionFs;
            centreWroteCircle_ = false;
        }
        const double rx = grid_.centreX(task.firstColumn);
        const double ry = grid_.centreY(task.row);
        if (result.deferredCircle) {
            const std::string_view records = result.records;
            write(records.substr(0, result.deferredAt));
            const CircleResult& c = result.deferred;
            line(centreWroteCircle_
                     ? nextCircleRecord(c.r, c.md, c.mc, c.mtMe, c.mr, c.fs, decimals_)
                     : firstCircleRecord(rx, ry, c.r, c.md, c.mc, c.mtMe, c.mr, c.fs, decimals_));
            write(records.substr(result.deferredAt));
            centreWroteCircle_ = true;
        } else {
            write(result.records);
        }
        keepIfLower(result.best, centre_);
        if (!task.endsCentre) return;
        const CircleResult& best = centre_.circle;
        line(best.fs < 9999.0 ? minimumRecord(rx, ry, best.r, best.fs, decimals_)
                              : noCircleRecord(rx, ry));
        keepIfLower(centre_, overall_);
    }

    void keepIfLower(const BestCircle& circle, BestCircle& best) {
        BestCircle candidate = circle;
        if (judge_.lower(candidate, best)) best = candidate;
    }

    void write(std::string_view bytes) {
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    void line(std::string_view text) {
        write(text);
        out_.write("\r\n", 2);
    }

    void reportProgress(const TaskResult& result) {
        if (progress_ == nullptr) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastReport_ < kProgressInterval) return;
        lastReport_ = now;
        progress_->report(position_, circleStatusText(result.lastRx, result.lastRy, result.lastR));
    }

    EvaluationScratch scratch_;
    CircleJudge judge_;
    const SearchGrid& grid_;
    int decimals_;
    std::ostream& out_;
    SearchProgress* progress_;
    BestCircle overall_;
    BestCircle centre_;
    bool centreWroteCircle_ = false;
    MissingLayerMemory rowMissingLayer_;
    int position_ = 0;
    std::chrono::steady_clock::time_point lastReport_{};
    SearchSummary summary_;
};

}  // namespace

int maxSearchThreads() {
    return 4 * static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

SearchSummary runCircleSearch(const Section& section, const ValidCircleSearch& search,
                              const SearchOptions& options, std::ostream& out,
                              SearchProgress* progress) {
    const int decimals = clampFsDecimals(options.decimals);
    const SearchGrid grid(search);
    const SearchTaskWork work(section, grid, decimals);
    SearchTaskCursor cursor(grid);
    RecordSink sink(section, grid, decimals, out, progress);
    sink.begin();

    int threads = options.threads > 0 ? options.threads
                                      : static_cast<int>(std::thread::hardware_concurrency());
    threads = static_cast<int>(std::clamp(
        double(threads), 1.0, std::min(double(maxSearchThreads()), cursor.estimatedTaskCount())));
    TaskResult result;
    if (threads == 1) {
        EvaluationScratch scratch;
        SearchTask task;
        while (cursor.next(task)) {
            work.run(task, result, scratch, options.stop);
            if (!result.complete || !sink.take(result)) return sink.unfinished();
        }
        return sink.finish();
    }
    ParallelTaskRunner runner(work, cursor, threads, options.stop);
    while (runner.next(result)) {
        if (!sink.take(result)) return sink.unfinished();
    }
    if (!runner.allTaken()) return sink.unfinished();
    return sink.finish();
}

}  // namespace dorvo
