// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/bishop_search.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#include "calc/circle_evaluation.h"
#include "calc/result_records.h"
#include "calc/search_tasks.h"

namespace dorvo {

namespace {

/// Collects what the Bishop method reads of each element, and drops the diagnostic records.
class BishopElements : public ElementObserver, public RecordWriter {
  public:
    void element(const ElementContribution& e) override {
        elements.push_back({e.cosTheta, e.sinTheta, e.tanPhi,
                            e.cohesion * e.arcLength * e.cosTheta + e.w2 * e.tanPhi});
    }
    void writeRecord(std::string_view) override {}

    std::vector<BishopElement> elements;
};

struct CentreBest {
    CircleResult circle;  // fs: the Bishop Fs
    BishopSolution solution;
    bool any = false;
};

struct RowResult {
    std::vector<CentreBest> centres;
    std::int64_t solved = 0;
    std::int64_t unsolved = 0;
    bool done = false;
};

class RowWork {
  public:
    RowWork(const Section& section, const SearchGrid& grid) : section_(section), grid_(grid) {}

    /// Solves every circle of a row; false when stopped on the way.
    bool run(std::int64_t row, RowResult& result, const std::stop_token& stop) {
        const double ry = grid_.centreY(row);
        const double limit = grid_.radiusLimit(ry);
        result.centres.assign(static_cast<std::size_t>(grid_.columns()), CentreBest{});
        for (std::int64_t column = 0; column < grid_.columns(); ++column) {
            if (stop.stop_requested()) return false;
            const double rx = grid_.centreX(column);
            CentreBest& best = result.centres[static_cast<std::size_t>(column)];
            for (double r = grid_.firstRadius(ry), previous = std::nan("");
                 grid_.radiusInRange(r, previous, limit);
                 previous = r, r += grid_.values().stepR()) {
                if (!passesRadiusFilters(grid_.values(), rx, ry, r)) continue;
                collected_.elements.clear();
                const CircleOutcome outcome =
                    evaluateCircle(section_, rx, ry, r, collected_, scratch_, &collected_);
                if (outcome.kind != OutcomeKind::Result) continue;
                const CircleResult& c = outcome.result;
                const BishopSolution solution =
                    solveBishop(collected_.elements, r, c.md, c.fs < 9999.0 ? c.fs : 1.0);
                if (!solution.solved()) {
                    ++result.unsolved;
                    continue;
                }
                ++result.solved;
                if (!best.any || solution.fs < best.circle.fs) {
                    best = {c, solution, true};
                    best.circle.fs = solution.fs;
                }
            }
        }
        result.done = true;
        return true;
    }

  private:
    const Section& section_;
    const SearchGrid& grid_;
    BishopElements collected_;
    EvaluationScratch scratch_;
};

}  // namespace

BishopSearch runBishopSearch(const Section& section, const ValidCircleSearch& search, int threads,
                             const std::stop_token& stop, SearchProgress* progress) {
    const SearchGrid grid(search);
    std::vector<RowResult> rows(static_cast<std::size_t>(grid.rows()));
    std::atomic<std::int64_t> nextRow = 0;
    std::atomic<std::int64_t> rowsDone = 0;
    auto work = [&](bool reports) {
        RowWork rowWork(section, grid);
        for (std::int64_t row = nextRow++; row < grid.rows(); row = nextRow++) {
            if (!rowWork.run(row, rows[static_cast<std::size_t>(row)], stop)) return;
            const std::int64_t done = ++rowsDone;
            if (reports) {
                progress->report(
                    static_cast<int>(done * 100 / grid.rows()),
                    circleStatusText(grid.centreX(grid.columns() - 1), grid.centreY(row),
                                     grid.firstRadius(grid.centreY(row))));
            }
        }
    };
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    threads = static_cast<int>(std::clamp<std::int64_t>(
        threads, 1, std::min<std::int64_t>(maxSearchThreads(), grid.rows())));
    {
        std::vector<std::jthread> workers;
        for (int t = 1; t < threads; ++t) workers.emplace_back(work, false);
        work(progress != nullptr);
    }

    BishopSearch result;
    if (stop.stop_requested()) return result;
    CentreBest overall;
    for (const RowResult& row : rows) {
        result.circlesSolved += row.solved;
        result.circlesUnsolved += row.unsolved;
        for (const CentreBest& centre : row.centres) {
            if (!centre.any) continue;
            const CircleResult& c = centre.circle;
            result.centreMinima.push_back({c.rx, c.ry, c.r, c.fs});
            if (!overall.any || c.fs < overall.circle.fs) overall = centre;
        }
    }
    if (overall.any) {
        result.critical = overall.circle;
        result.criticalSolution = overall.solution;
    }
    result.completed = true;
    return result;
}

}  // namespace dorvo
