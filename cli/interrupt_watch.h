// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <pthread.h>
#include <signal.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace dorvo::cli {

/// Catches SIGINT, SIGTERM and SIGPIPE for as long as it lives. A signal requests a stop
/// through `stopToken()`, so that work that watches the token ends and removes its files on
/// the way out; work that cannot stop on request names its files with `leaveAtOnceRemoving`.
/// The handler itself only writes the signal's number to a pipe; a thread of the watch does
/// the rest. One watch at a time.
class InterruptWatch {
  public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    std::stop_token stopToken() const { return stop_.get_token(); }

    /// The first signal caught, or 0.
    int signalNumber() const;

    /// The exit status of a program ended by the signal caught: 128 and its number.
    int exitStatus() const { return 128 + signalNumber(); }

    /// From now on a signal ends the program at once with `exitStatus()`, after removing
    /// these files (those that exist) and the temporaries of unfinished saves. The calling thread
    /// is held still first, so that it cannot create one of them while they are removed. A signal
    /// caught before the call is left to the caller, who sees the stop request.
    void leaveAtOnceRemoving(const std::vector<std::filesystem::path>& files);

  private:
    void watch();
    [[noreturn]] void leave(int signal);

    int pipe_[2] = {-1, -1};
    std::array<struct sigaction, 3> previous_{};
    std::stop_source stop_;
    std::atomic<int> signal_{0};
    std::mutex leaving_;
    bool leaveAtOnce_ = false;
    std::vector<std::string> leftovers_;
    pthread_t worker_{};
    std::thread watcher_;
};

}  // namespace dorvo::cli
