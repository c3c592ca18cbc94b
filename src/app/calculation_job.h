// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "app/calculation.h"
#include "app/search_insight.h"

namespace dorvo {

/// What a calculation job leaves when it has finished.
struct CalculationRun {
    /// The completed run; nothing when it was stopped, refused or failed, in which case the
    /// old results stay.
    std::optional<Calculation> calculation;
    /// The search by the simplified Bishop method, when asked for and completed.
    std::optional<BishopSearch> bishop;
    /// The project as the completed run left it (its critical circle stored).
    Project project;
    /// What the run reported, in order, for the caller's thread to show.
    std::vector<Message> messages;
};

/// The circle search of one project on a worker thread: progress while it runs, a stop that
/// the search honours between circles, and a failure of any kind reported as a failed run
/// instead of ending the program.
class CalculationJob {
  public:
    CalculationJob(const Project& project, std::filesystem::path resultsFile, SearchOptions options,
                   SearchMethod method);
    /// Stops a run that is still going and waits for it.
    ~CalculationJob();
    CalculationJob(const CalculationJob&) = delete;
    CalculationJob& operator=(const CalculationJob&) = delete;

    /// Starts the run. `progress` is told on the worker thread; `finished` is called on the
    /// worker thread once the run has ended, whatever its end.
    void start(SearchProgress* progress, std::function<void()> finished);
    /// Asks a running search to stop; it stops between circles.
    void cancel() { stop_.request_stop(); }
    /// Waits until the worker has ended.
    void wait();
    bool started() const { return worker_.joinable() || finished_; }
    bool running() const { return worker_.joinable(); }
    /// After `wait`: what the run left.
    CalculationRun take();

  private:
    /// Keeps the run's messages for the caller's thread.
    class CollectedMessages : public MessageSink {
      public:
        void report(const Message& message) override;
        std::vector<Message> take();

      private:
        std::mutex mutex_;
        std::vector<Message> messages_;
    };

    void run(SearchProgress* progress);

    CalculationRun result_;
    std::filesystem::path resultsFile_;
    SearchOptions options_;
    SearchMethod method_;
    CollectedMessages messages_;
    std::stop_source stop_;
    std::thread worker_;
    bool finished_ = false;
};

}  // namespace dorvo
