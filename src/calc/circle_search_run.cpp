#include "calc/circle_search_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "calc/result_records.h"
#include "calc/search_tasks.h"

namespace dorvo {

namespace {

constexpr std::int64_t kRadiiBetweenStopChecks = 1024;
constexpr auto kProgressInterval = std::chrono::milliseconds(40);

/// The best circle of a centre, a task or the whole search: the first with the lowest Fs.
struct Best {
    CircleResult circle;
    bool better(double fs) const { return fs < circle.fs; }
};

/// The last layer number without a layer row met (a plain pair: GCC's -O3 flow analysis
/// misreads std::optional here).
struct MissingLayerMemory {
    bool any = false;
    int layerNo = 0;
};

/// The records and minimum of a task.
struct TaskResult {
    SearchTask task;
    std::string records;
    Best best;
    MissingLayerMemory lastMissingLayer;
    std::int64_t radiiTried = 0;
    std::int64_t evaluated = 0;
    std::int64_t written = 0;
    double lastRx = 0.0;
    double lastRy = 0.0;
    double lastR = 0.0;
    bool complete = false;
    // A run of radii leaves its first written circle to the writer, which alone knows whether
    // an earlier run of the centre wrote one: a 038 record then, else the centre's 028. It
    // belongs at this offset of `records`.
    bool deferredCircle = false;
    std::size_t deferredAt = 0;
    CircleResult deferred;

    /// Empties the result for another task, keeping the memory of its records.
    void reset(const SearchTask& next) {
        std::string kept = std::move(records);
        kept.clear();
        *this = TaskResult{};
        records = std::move(kept);
        task = next;
        best.circle.fs = kNoSolutionFs;
    }
};

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

bool fartherThan(double px, double py, double rx, double ry, double r) {
    return std::sqrt((px - rx) * (px - rx) + (py - ry) * (py - ry)) > r;
}

bool nearerThan(double px, double py, double rx, double ry, double r) {
    return std::sqrt((px - rx) * (px - rx) + (py - ry) * (py - ry)) < r;
}

/// Where a task's radii start and how many it may try at most.
struct RadiusStart {
    double first;
    double previous;
    std::int64_t count;
};

/// Computes tasks: tries their circles and buffers their records.
class TaskWork {
  public:
    TaskWork(const Section& section, const SearchGrid& grid, int decimals)
        : section_(section), grid_(grid), values_(grid.values()), decimals_(decimals) {}

    void run(const SearchTask& task, TaskResult& result, EvaluationScratch& scratch,
             const std::stop_token& stop) const {
        result.reset(task);
        const double ry = grid_.centreY(task.row);
        BufferRecords records(result.records);
        if (task.radiusRun) {
            Best centre;
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

  private:
    bool passesFilters(double rx, double ry, double r) const {
        const CircleSearchValues& v = values_;
        if (r < kEpsilon) return false;
        if (isActiveLimitPoint(v.min1X(), v.min1Y()) &&
            fartherThan(v.min1X(), v.min1Y(), rx, ry, r))
            return false;
        if (isActiveLimitPoint(v.min2X(), v.min2Y()) &&
            fartherThan(v.min2X(), v.min2Y(), rx, ry, r))
            return false;
        if (isActiveLimitPoint(v.maxX(), v.maxY()) && nearerThan(v.maxX(), v.maxY(), rx, ry, r))
            return false;
        return ry - r >= kEpsilon;
    }

    /// Tries every radius of one centre and writes its minimum; false when stopped on the way.
    bool runCentre(double rx, double ry, TaskResult& result, BufferRecords& records,
                   EvaluationScratch& scratch, const std::stop_token& stop) const {
        Best centre;
        centre.circle.fs = kNoSolutionFs;
        const RadiusStart start{grid_.firstRadius(ry), std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<std::int64_t>::max()};
        if (!tryRadii(rx, ry, start, false, centre, result, records, scratch, stop)) return false;
        const CircleResult& best = centre.circle;
        records.writeRecord(best.fs < 9999.0 ? minimumRecord(rx, ry, best.r, best.fs, decimals_)
                                             : noCircleRecord(rx, ry));
        if (result.best.better(best.fs)) result.best = centre;
        return true;
    }

    /// Tries radii of one centre from `start` while they stay in the centre's range, writing
    /// the records of those with an Fs; false when stopped on the way.
    bool tryRadii(double rx, double ry, const RadiusStart& start, bool deferFirstCircle,
                  Best& centre, TaskResult& result, BufferRecords& records,
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
            if (!passesFilters(rx, ry, r)) continue;
            ++result.evaluated;
            CircleOutcome outcome = evaluateCircle(section_, rx, ry, r, records, scratch);
            if (outcome.kind == OutcomeKind::MissingLayer) {
                result.lastMissingLayer = {true, outcome.missingLayerNo};
                continue;
            }
            if (outcome.kind != OutcomeKind::Result) continue;
            const CircleResult& c = outcome.result;
            if (centre.better(c.fs)) centre.circle = c;
            if (c.fs < 9999.0) {
                if (first && deferFirstCircle) {
                    result.deferredCircle = true;
                    result.deferredAt = result.records.size();
                    result.deferred = c;
                } else {
                    records.writeRecord(
                        first ? firstCircleRecord(rx, ry, r, c.md, c.mc, c.mtMe, c.mr, c.fs,
                                                  decimals_)
                              : nextCircleRecord(r, c.md, c.mc, c.mtMe, c.mr, c.fs, decimals_));
                }
                first = false;
                ++result.written;
            }
        }
        return true;
    }

    const Section& section_;
    const SearchGrid& grid_;
    const CircleSearchValues& values_;
    int decimals_;
};

/// Writes finished tasks in search order and keeps the per-centre, per-row and overall
/// bookkeeping.
class RecordSink {
  public:
    RecordSink(const SearchGrid& grid, int decimals, std::ostream& out, SearchProgress* progress)
        : grid_(grid), decimals_(decimals), out_(out), progress_(progress) {
        overall_.circle.fs = kNoSolutionFs;
    }

    void begin() {
        line(kResultsStartRecord);
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
            if (overall_.better(result.best.circle.fs)) overall_ = result.best;
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
        const CircleResult& best = overall_.circle;
        if (best.fs < 9999.0) {
            line(kAnswerRecord);
            line(minimumRecord(best.rx, best.ry, best.r, best.fs, decimals_));
            line(endPointsRecord(best.p1x, best.p1y, best.p2x, best.p2y));
            summary_.critical = best;
        } else {
            line(noSolutionRecord());
        }
        line(kEndRecord);
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
        if (centre_.better(result.best.circle.fs)) centre_ = result.best;
        if (!task.endsCentre) return;
        const CircleResult& best = centre_.circle;
        line(best.fs < 9999.0 ? minimumRecord(rx, ry, best.r, best.fs, decimals_)
                              : noCircleRecord(rx, ry));
        if (overall_.better(best.fs)) overall_ = centre_;
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

    const SearchGrid& grid_;
    int decimals_;
    std::ostream& out_;
    SearchProgress* progress_;
    Best overall_;
    Best centre_;
    bool centreWroteCircle_ = false;
    MissingLayerMemory rowMissingLayer_;
    int position_ = 0;
    std::chrono::steady_clock::time_point lastReport_{};
    SearchSummary summary_;
};

/// Computes tasks on worker threads and hands them over in order. The writer's thread cuts
/// the tasks, at most a window of them ahead of the one it waits for, so the records in
/// memory stay within a window of tasks.
class ParallelRunner {
  public:
    ParallelRunner(const TaskWork& work, SearchTaskCursor& cursor, int threads,
                   const std::stop_token& stop)
        : work_(work), cursor_(cursor), stop_(stop), slots_(static_cast<std::size_t>(threads) * 4) {
        issue();
        for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { workOnTasks(); });
    }

    ~ParallelRunner() {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        issued_cv_.notify_all();
        for (auto& worker : workers_) worker.join();
    }

    ParallelRunner(const ParallelRunner&) = delete;
    ParallelRunner& operator=(const ParallelRunner&) = delete;

    /// Waits for the next task in order; false after the last task, or when the run was
    /// stopped before the task finished.
    bool next(TaskResult& into) {
        if (taken_ == issued_) return false;
        Slot& slot = slotOf(taken_);
        std::unique_lock lock(mutex_);
        done_.wait(lock, stop_, [&] { return slot.done; });
        if (!slot.done) return false;
        std::swap(into, slot.result);
        slot.done = false;
        lock.unlock();
        if (!into.complete) return false;
        ++taken_;
        issue();
        return true;
    }

    /// Whether every task of the search was computed and taken.
    bool allTaken() const { return exhausted_ && taken_ == issued_; }

  private:
    struct Slot {
        SearchTask task;
        bool done = false;
        TaskResult result;
    };

    Slot& slotOf(std::int64_t task) {
        return slots_[static_cast<std::size_t>(task % static_cast<std::int64_t>(slots_.size()))];
    }

    /// Cuts tasks until the window ahead of the writer is full.
    void issue() {
        const auto window = static_cast<std::int64_t>(slots_.size());
        while (!exhausted_ && issued_ < taken_ + window) {
            SearchTask task;
            if (!cursor_.next(task)) {
                exhausted_ = true;
                break;
            }
            {
                std::lock_guard lock(mutex_);
                slotOf(issued_).task = task;
                ++issued_;
            }
            issued_cv_.notify_one();
        }
    }

    void workOnTasks() {
        EvaluationScratch scratch;
        TaskResult result;
        for (;;) {
            std::int64_t index = 0;
            SearchTask task;
            {
                std::unique_lock lock(mutex_);
                issued_cv_.wait(lock, [&] { return closing_ || claimed_ < issued_; });
                if (closing_) return;
                index = claimed_++;
                task = slotOf(index).task;
            }
            work_.run(task, result, scratch, stop_);
            {
                std::lock_guard lock(mutex_);
                Slot& slot = slotOf(index);
                std::swap(slot.result, result);
                slot.done = true;
            }
            done_.notify_all();
            if (stop_.stop_requested()) return;
        }
    }

    const TaskWork& work_;
    SearchTaskCursor& cursor_;
    std::stop_token stop_;
    std::vector<Slot> slots_;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable issued_cv_;
    std::condition_variable_any done_;
    // Written by the writer's thread only: tasks cut and taken.
    std::int64_t issued_ = 0;
    std::int64_t taken_ = 0;
    bool exhausted_ = false;
    // Tasks the workers have started.
    std::int64_t claimed_ = 0;
    bool closing_ = false;
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
    const TaskWork work(section, grid, decimals);
    SearchTaskCursor cursor(grid);
    RecordSink sink(grid, decimals, out, progress);
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
    ParallelRunner runner(work, cursor, threads, options.stop);
    while (runner.next(result)) {
        if (!sink.take(result)) return sink.unfinished();
    }
    if (!runner.allTaken()) return sink.unfinished();
    return sink.finish();
}

}  // namespace dorvo
