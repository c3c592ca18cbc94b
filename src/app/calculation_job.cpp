// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/calculation_job.h"

#include <exception>
#include <utility>

namespace dorvo {

void CalculationJob::CollectedMessages::report(const Message& message) {
    const std::lock_guard lock(mutex_);
    messages_.push_back(message);
}

std::vector<Message> CalculationJob::CollectedMessages::take() {
    const std::lock_guard lock(mutex_);
    return std::exchange(messages_, {});
}

CalculationJob::CalculationJob(const Project& project, std::filesystem::path resultsFile,
                               SearchOptions options, SearchMethod method)
    : resultsFile_(std::move(resultsFile)), options_(std::move(options)), method_(method) {
    result_.project = project;
}

CalculationJob::~CalculationJob() {
    cancel();
    wait();
}

void CalculationJob::start(SearchProgress* progress, std::function<void()> finished) {
    if (started()) return;
    options_.stop = stop_.get_token();
    worker_ = std::thread([this, progress, finished = std::move(finished)] {
        run(progress);
        if (finished) finished();
    });
}

namespace {

/// Runs `step`, turning anything it throws into a message: a fault in the search must not end
/// the program and lose the user's project. Returns whether the step ended normally.
template <class Step>
bool reportingFailures(Step step, MessageSink& messages) {
    try {
        step();
        return true;
    } catch (const std::exception& failure) {
        messages.report(literalMessage(std::string("計算できませんでした\n") + failure.what()));
    } catch (...) {
        messages.report(literalMessage("計算できませんでした"));
    }
    return false;
}

}  // namespace

void CalculationJob::run(SearchProgress* progress) {
    std::optional<Result<Calculation>> calculation;
    const bool ran = reportingFailures(
        [&] { calculation = calculateInto(resultsFile_, result_.project, options_, progress); },
        messages_);
    if (!ran) return;
    if (!*calculation) {
        messages_.report(calculation->error());
        return;
    }
    if ((*calculation)->outcome != CalculationOutcome::Completed) return;
    // The records are written: a Bishop search that fails or stops leaves them in place.
    result_.calculation = std::move(*calculation).value();
    if (method_ != SearchMethod::Bishop) return;
    reportingFailures(
        [&] {
            result_.bishop =
                searchByBishop(result_.project, options_.threads, options_.stop, progress);
        },
        messages_);
    if (result_.bishop && !result_.bishop->completed) result_.bishop.reset();
}

void CalculationJob::wait() {
    if (!worker_.joinable()) return;
    worker_.join();
    finished_ = true;
}

CalculationRun CalculationJob::take() {
    wait();
    result_.messages = messages_.take();
    return std::move(result_);
}

}  // namespace dorvo
