#include "calc/circle_search_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "calc/result_records.h"

namespace dorvo {

namespace {

constexpr std::int64_t kCirclesPerTask = 2000;
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

/// The records and minimum of a run of consecutive centres in one row.
struct TaskResult {
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

/// The grid split into tasks: each row into chunks of columns, in search order.
class SearchPlan {
  public:
    SearchPlan(const Section& section, const ValidCircleSearch& search, int decimals)
        : section_(section), values_(search.values()), decimals_(decimals) {
        columns_ = search.columns();
        rows_ = search.rows();
        const double radii = double(search.radiiPerCentre());
        const double perTask = std::max(1.0, std::floor(kCirclesPerTask / radii));
        columnsPerTask_ = static_cast<std::int64_t>(std::min(perTask, double(columns_)));
        tasksPerRow_ = (columns_ + columnsPerTask_ - 1) / columnsPerTask_;
    }

    std::int64_t rows() const { return rows_; }
    std::int64_t tasksPerRow() const { return tasksPerRow_; }
    std::int64_t taskCount() const { return rows_ * tasksPerRow_; }

    void run(std::int64_t task, TaskResult& result, EvaluationScratch& scratch,
             const std::stop_token& stop) const {
        result = TaskResult{};
        result.best.circle.fs = kNoSolutionFs;
        const std::int64_t row = task / tasksPerRow_;
        const std::int64_t firstColumn = (task % tasksPerRow_) * columnsPerTask_;
        const std::int64_t endColumn = std::min(columns_, firstColumn + columnsPerTask_);
        const double ry = values_.centreStartY() + double(row) * values_.stepY();
        BufferRecords records(result.records);
        for (std::int64_t column = firstColumn; column < endColumn; ++column) {
            if (stop.stop_requested()) return;
            const double rx = values_.centreStartX() + double(column) * values_.stepX();
            if (!runCentre(rx, ry, result, records, scratch, stop)) return;
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

    /// Tries the radii of one centre; false when stopped on the way.
    bool runCentre(double rx, double ry, TaskResult& result, BufferRecords& records,
                   EvaluationScratch& scratch, const std::stop_token& stop) const {
        Best centre;
        centre.circle.fs = kNoSolutionFs;
        bool first = true;
        const double lastRadius = ry - values_.lowerY() + kEpsilon;
        // The radius is accumulated by repeated addition; a step lost in the radius's precision
        // ends the radii instead of repeating one for ever.
        double previous = std::numeric_limits<double>::quiet_NaN();
        for (double r = ry - values_.upperY(); r <= lastRadius && r != previous;
             previous = r, r += values_.stepR()) {
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
                records.writeRecord(
                    first ? firstCircleRecord(rx, ry, r, c.md, c.mc, c.mtMe, c.mr, c.fs, decimals_)
                          : nextCircleRecord(r, c.md, c.mc, c.mtMe, c.mr, c.fs, decimals_));
                first = false;
                ++result.written;
            }
        }
        const CircleResult& best = centre.circle;
        records.writeRecord(best.fs < 9999.0 ? minimumRecord(rx, ry, best.r, best.fs, decimals_)
                                             : noCircleRecord(rx, ry));
        if (result.best.better(best.fs)) result.best = centre;
        return true;
    }

    const Section& section_;
    const CircleSearchValues& values_;
    int decimals_;
    std::int64_t columns_ = 0;
    std::int64_t rows_ = 0;
    std::int64_t columnsPerTask_ = 1;
    std::int64_t tasksPerRow_ = 1;
};

/// Writes finished tasks in search order and keeps the per-row and overall bookkeeping.
class RecordSink {
  public:
    RecordSink(const SearchPlan& plan, int decimals, std::ostream& out, SearchProgress* progress)
        : plan_(plan), decimals_(decimals), out_(out), progress_(progress) {
        overall_.circle.fs = kNoSolutionFs;
    }

    void begin() {
        line(kResultsStartRecord);
        if (progress_ != nullptr) progress_->report(5, "START");
        line(kColumnHeadsRecord);
    }

    /// Writes a finished task; false once the stream has refused a write.
    bool take(std::int64_t task, const TaskResult& result) {
        const std::int64_t row = task / plan_.tasksPerRow();
        const bool firstOfRow = task % plan_.tasksPerRow() == 0;
        const bool lastOfRow = task % plan_.tasksPerRow() == plan_.tasksPerRow() - 1;
        if (firstOfRow) {
            rowMissingLayer_ = {};
            position_ = static_cast<int>((row + 1) * 100 / plan_.rows());
        }
        out_.write(result.records.data(), static_cast<std::streamsize>(result.records.size()));
        if (result.lastMissingLayer.any) rowMissingLayer_ = result.lastMissingLayer;
        if (overall_.better(result.best.circle.fs)) overall_ = result.best;
        summary_.radiiTried += result.radiiTried;
        summary_.circlesEvaluated += result.evaluated;
        summary_.circlesWritten += result.written;
        if (lastOfRow && rowMissingLayer_.any) line(missingLayerRecord(rowMissingLayer_.layerNo));
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
    void line(std::string_view text) {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        out_.write("\r\n", 2);
    }

    void reportProgress(const TaskResult& result) {
        if (progress_ == nullptr) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastReport_ < kProgressInterval) return;
        lastReport_ = now;
        progress_->report(position_, circleStatusText(result.lastRx, result.lastRy, result.lastR));
    }

    const SearchPlan& plan_;
    int decimals_;
    std::ostream& out_;
    SearchProgress* progress_;
    Best overall_;
    MissingLayerMemory rowMissingLayer_;
    int position_ = 0;
    std::chrono::steady_clock::time_point lastReport_{};
    SearchSummary summary_;
};

/// Computes tasks on worker threads, at most a window ahead of the writer, and hands them
/// over in order.
class ParallelRunner {
  public:
    ParallelRunner(const SearchPlan& plan, int threads, const std::stop_token& stop)
        : plan_(plan), stop_(stop), slots_(static_cast<std::size_t>(threads) * 4) {
        for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
    }

    ~ParallelRunner() {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        space_.notify_all();
        for (auto& worker : workers_) worker.join();
    }

    ParallelRunner(const ParallelRunner&) = delete;
    ParallelRunner& operator=(const ParallelRunner&) = delete;

    /// Waits for a task in order; false when the run was stopped before it finished.
    bool next(std::int64_t task, TaskResult& into) {
        Slot& slot = slotOf(task);
        std::unique_lock lock(mutex_);
        done_.wait(lock, stop_, [&] { return slot.task == task; });
        if (slot.task != task) return false;
        std::swap(into, slot.result);
        slot.task = -1;
        written_ = task + 1;
        lock.unlock();
        space_.notify_all();
        return into.complete;
    }

  private:
    struct Slot {
        std::int64_t task = -1;
        TaskResult result;
    };

    Slot& slotOf(std::int64_t task) {
        return slots_[static_cast<std::size_t>(task % static_cast<std::int64_t>(slots_.size()))];
    }

    void work() {
        EvaluationScratch scratch;
        TaskResult result;
        const auto window = static_cast<std::int64_t>(slots_.size());
        for (;;) {
            std::int64_t task = 0;
            {
                std::unique_lock lock(mutex_);
                space_.wait(lock, [&] {
                    return closing_ || nextTask_ >= plan_.taskCount() ||
                           nextTask_ < written_ + window;
                });
                if (closing_ || nextTask_ >= plan_.taskCount()) return;
                task = nextTask_++;
            }
            plan_.run(task, result, scratch, stop_);
            {
                std::lock_guard lock(mutex_);
                Slot& slot = slotOf(task);
                std::swap(slot.result, result);
                slot.task = task;
            }
            done_.notify_all();
            if (stop_.stop_requested()) return;
        }
    }

    const SearchPlan& plan_;
    std::stop_token stop_;
    std::vector<Slot> slots_;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable space_;
    std::condition_variable_any done_;
    std::int64_t nextTask_ = 0;
    std::int64_t written_ = 0;
    bool closing_ = false;
};

}  // namespace

SearchSummary runCircleSearch(const Section& section, const ValidCircleSearch& search,
                              const SearchOptions& options, std::ostream& out,
                              SearchProgress* progress) {
    const int decimals = clampFsDecimals(options.decimals);
    const SearchPlan plan(section, search, decimals);
    RecordSink sink(plan, decimals, out, progress);
    sink.begin();

    int threads = options.threads > 0 ? options.threads
                                      : static_cast<int>(std::thread::hardware_concurrency());
    threads = static_cast<int>(std::clamp<std::int64_t>(threads, 1, plan.taskCount()));
    TaskResult result;
    if (threads == 1) {
        EvaluationScratch scratch;
        for (std::int64_t task = 0; task < plan.taskCount(); ++task) {
            plan.run(task, result, scratch, options.stop);
            if (!result.complete || !sink.take(task, result)) return sink.unfinished();
        }
    } else {
        ParallelRunner runner(plan, threads, options.stop);
        for (std::int64_t task = 0; task < plan.taskCount(); ++task) {
            if (!runner.next(task, result) || !sink.take(task, result)) return sink.unfinished();
        }
    }
    return sink.finish();
}

}  // namespace dorvo
