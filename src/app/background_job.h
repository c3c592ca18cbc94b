// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

namespace dorvo {

/// How far a job has come, written by its thread and read by the window that shows it.
class JobProgress {
  public:
    void report(std::int64_t done, std::int64_t total) {
        total_.store(total, std::memory_order_relaxed);
        done_.store(done, std::memory_order_relaxed);
    }
    std::int64_t done() const { return done_.load(std::memory_order_relaxed); }
    std::int64_t total() const { return total_.load(std::memory_order_relaxed); }

  private:
    std::atomic<std::int64_t> done_ = 0;
    std::atomic<std::int64_t> total_ = 0;
};

/// Long work on a thread of its own, so that the window stays alive: it starts at once, can be
/// asked to stop (the work then keeps what it has done), and an exception thrown by the work
/// ends the job as failed instead of ending the program. Destroying the job stops and waits.
class BackgroundJob {
  public:
    using Work = std::function<void(const std::stop_token& stop, JobProgress& progress)>;

    explicit BackgroundJob(Work work);
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    void requestStop() { thread_.request_stop(); }
    bool stopRequested() const { return thread_.get_stop_token().stop_requested(); }
    /// Whether the work has returned or thrown; what it wrote is then safe to read.
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    /// Waits until the work has returned or thrown.
    void wait();
    const JobProgress& progress() const { return progress_; }
    /// What the work threw, once finished; nothing when it returned.
    const std::optional<std::string>& failure() const { return failure_; }

  private:
    JobProgress progress_;
    std::optional<std::string> failure_;
    std::atomic<bool> finished_ = false;
    std::jthread thread_;  // last: started once everything it writes exists
};

}  // namespace dorvo
