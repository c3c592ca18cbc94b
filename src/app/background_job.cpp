// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/background_job.h"

#include <exception>

namespace dorvo {

BackgroundJob::BackgroundJob(Work work)
    : thread_([this, work = std::move(work)](std::stop_token stop) {
          try {
              work(stop, progress_);
          } catch (const std::exception& error) {
              failure_ = error.what();
          } catch (...) {
              failure_ = "unknown error";
          }
          finished_.store(true, std::memory_order_release);
      }) {}

BackgroundJob::~BackgroundJob() {
    thread_.request_stop();
    wait();
}

void BackgroundJob::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace dorvo
