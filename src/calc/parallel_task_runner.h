// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "calc/search_task_work.h"
#include "calc/search_tasks.h"

namespace dorvo {

/// Tasks each worker may be ahead of the writer. Writing to a file stalls now and then while
/// the system writes back what it holds; a window of tasks this deep (a few megabytes of
/// records) keeps the workers busy meanwhile, where four per worker left them waiting.
inline constexpr int kTasksAheadPerThread = 16;

/// Computes tasks on `threads` threads and hands them over in order. The writer's thread is
/// one of them: it cuts the tasks, at most a window of them ahead of the one it waits for, so
/// the records in memory stay within a window of tasks, and while the task it waits for is
/// still being computed it computes the next unclaimed one itself. So `threads` threads are
/// busy, never one more than asked, and the writing shares a thread with the computing.
class ParallelTaskRunner {
  public:
    ParallelTaskRunner(const SearchTaskWork& work, SearchTaskCursor& cursor, int threads,
                       const std::stop_token& stop);
    ~ParallelTaskRunner();
    ParallelTaskRunner(const ParallelTaskRunner&) = delete;
    ParallelTaskRunner& operator=(const ParallelTaskRunner&) = delete;

    /// Waits for the next task in order; false after the last task, or when the run was
    /// stopped before the task finished.
    bool next(TaskResult& into);

    /// Whether every task of the search was computed and taken.
    bool allTaken() const { return exhausted_ && taken_ == issued_; }

  private:
    struct Slot {
        SearchTask task;
        bool done = false;
        TaskResult result;
    };

    Slot& slotOf(std::int64_t task);
    void issue();
    void workOnTasks();
    /// Computes the next unclaimed task on the calling thread, the writer's; false when every
    /// task cut so far is claimed.
    bool computeOneHere();
    void finish(std::int64_t index, TaskResult& result);

    const SearchTaskWork& work_;
    SearchTaskCursor& cursor_;
    std::stop_token stop_;
    std::vector<Slot> slots_;
    std::vector<std::thread> workers_;
    EvaluationScratch writerScratch_;
    TaskResult writerResult_;
    std::mutex mutex_;
    std::condition_variable taskIssued_;
    std::condition_variable_any taskDone_;
    // Changed by the writer's thread only: the tasks cut and taken.
    std::int64_t issued_ = 0;
    std::int64_t taken_ = 0;
    bool exhausted_ = false;
    // The tasks workers have started.
    std::int64_t claimed_ = 0;
    bool closing_ = false;
};

}  // namespace dorvo
