// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/parallel_task_runner.h"

namespace dorvo {

ParallelTaskRunner::ParallelTaskRunner(const SearchTaskWork& work, SearchTaskCursor& cursor,
                                       int threads, const std::stop_token& stop)
    : work_(work),
      cursor_(cursor),
      stop_(stop),
      slots_(static_cast<std::size_t>(threads) * kTasksAheadPerThread) {
    issue();
    for (int i = 1; i < threads; ++i) workers_.emplace_back([this] { workOnTasks(); });
}

ParallelTaskRunner::~ParallelTaskRunner() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    taskIssued_.notify_all();
    for (auto& worker : workers_) worker.join();
}

bool ParallelTaskRunner::next(TaskResult& into) {
    if (taken_ == issued_) return false;
    Slot& slot = slotOf(taken_);
    std::unique_lock lock(mutex_);
    while (!slot.done && !stop_.stop_requested()) {
        lock.unlock();
        const bool computed = computeOneHere();
        lock.lock();
        if (!computed) taskDone_.wait(lock, stop_, [&] { return slot.done; });
    }
    if (!slot.done) return false;
    std::swap(into, slot.result);
    slot.done = false;
    lock.unlock();
    if (!into.complete) return false;
    ++taken_;
    issue();
    return true;
}

ParallelTaskRunner::Slot& ParallelTaskRunner::slotOf(std::int64_t task) {
    return slots_[static_cast<std::size_t>(task % static_cast<std::int64_t>(slots_.size()))];
}

/// Cuts tasks until the window ahead of the writer is full.
void ParallelTaskRunner::issue() {
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
        taskIssued_.notify_one();
    }
}

bool ParallelTaskRunner::computeOneHere() {
    std::int64_t index = 0;
    SearchTask task;
    {
        std::lock_guard lock(mutex_);
        if (claimed_ == issued_) return false;
        index = claimed_++;
        task = slotOf(index).task;
    }
    work_.run(task, writerResult_, writerScratch_, stop_);
    finish(index, writerResult_);
    return true;
}

void ParallelTaskRunner::finish(std::int64_t index, TaskResult& result) {
    {
        std::lock_guard lock(mutex_);
        Slot& slot = slotOf(index);
        std::swap(slot.result, result);
        slot.done = true;
    }
    taskDone_.notify_all();
}

void ParallelTaskRunner::workOnTasks() {
    EvaluationScratch scratch;
    TaskResult result;
    for (;;) {
        std::int64_t index = 0;
        SearchTask task;
        {
            std::unique_lock lock(mutex_);
            taskIssued_.wait(lock, [&] { return closing_ || claimed_ < issued_; });
            if (closing_) return;
            index = claimed_++;
            task = slotOf(index).task;
        }
        work_.run(task, result, scratch, stop_);
        finish(index, result);
        if (stop_.stop_requested()) return;
    }
}

}  // namespace dorvo
