// SPDX-License-Identifier: GPL-3.0-or-later
#include "interrupt_watch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "model/atomic_write.h"

namespace dorvo::cli {

namespace {

constexpr std::array<int, 3> kCaughtSignals = {SIGINT, SIGTERM, SIGPIPE};

// What the signal handlers may touch: lock-free atomics only.
std::atomic<int> signalPipe{-1};
std::atomic<bool> heldStill{false};
// Known at once, before the watch thread reads the pipe: a SIGPIPE comes with the failed write
// that the program then reports.
std::atomic<int> firstSignal{0};

void forwardSignal(int signal) {
    const int saved = errno;
    int none = 0;
    firstSignal.compare_exchange_strong(none, signal);
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe.load(), &byte, 1);
    errno = saved;
}

[[noreturn]] void holdStill(int) {
    heldStill.store(true);
    for (;;) ::pause();
}

void setHandler(int signal, void (*handler)(int), struct sigaction* previous) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, previous);
}

}  // namespace

InterruptWatch::InterruptWatch() {
    // Without the pipe the signals keep their usual effect.
    if (::pipe2(pipe_, O_CLOEXEC) != 0) return;
    ::fcntl(pipe_[1], F_SETFL, O_NONBLOCK);  // a handler never waits for a full pipe
    signalPipe.store(pipe_[1]);
    watcher_ = std::thread([this] { watch(); });
    for (std::size_t i = 0; i < kCaughtSignals.size(); ++i) {
        setHandler(kCaughtSignals[i], forwardSignal, &previous_[i]);
    }
}

InterruptWatch::~InterruptWatch() {
    if (!watcher_.joinable()) return;
    for (std::size_t i = 0; i < kCaughtSignals.size(); ++i) {
        ::sigaction(kCaughtSignals[i], &previous_[i], nullptr);
    }
    const unsigned char quit = 0;
    [[maybe_unused]] const ssize_t written = ::write(pipe_[1], &quit, 1);
    watcher_.join();
    signalPipe.store(-1);
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void InterruptWatch::leaveAtOnceRemoving(const std::vector<std::filesystem::path>& files) {
    std::vector<std::string> names;
    for (const std::filesystem::path& file : files) names.push_back(file.string());
    std::lock_guard lock(leaving_);
    leftovers_ = std::move(names);
    worker_ = ::pthread_self();
    leaveAtOnce_ = true;
}

void InterruptWatch::watch() {
    for (;;) {
        unsigned char byte = 0;
        const ssize_t got = ::read(pipe_[0], &byte, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0 || byte == 0) return;
        int none = 0;
        signal_.compare_exchange_strong(none, byte);
        stop_.request_stop();
        std::lock_guard lock(leaving_);
        if (leaveAtOnce_) leave(signal_.load());
    }
}

void InterruptWatch::leave(int signal) {
    setHandler(SIGRTMIN, holdStill, nullptr);
    if (::pthread_kill(worker_, SIGRTMIN) == 0) {
        const timespec millisecond{0, 1'000'000};
        for (int waited = 0; !heldStill.load() && waited < 5000; ++waited) {
            ::nanosleep(&millisecond, nullptr);
        }
    }
    for (const std::string& file : leftovers_) ::unlink(file.c_str());
    removeTemporariesInProgress();
    ::_exit(128 + signal);
}

int InterruptWatch::signalNumber() const {
    const int watched = signal_.load();
    return watched != 0 ? watched : firstSignal.load();
}

}  // namespace dorvo::cli
