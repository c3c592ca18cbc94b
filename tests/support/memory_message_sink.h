// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "model/messages.h"
#include "model/result.h"

namespace dorvo::test {

/// Records every message the core reports, for tests to check.
class MemoryMessageSink : public MessageSink {
  public:
    void report(const Message& message) override { messages.push_back(message); }

    /// Reports the failure of a step as the programs do; true when the step succeeded.
    template <class T>
    bool take(const Result<T>& outcome) {
        if (!outcome) report(outcome.error());
        return outcome.ok();
    }

    /// Also reports the warning a step that succeeded gives back.
    bool take(const Result<std::optional<Message>>& outcome) {
        if (outcome && *outcome) report(**outcome);
        return take<std::optional<Message>>(outcome);
    }

    /// The value of a step, or nothing with its failure reported as the programs report it.
    template <class T>
    std::optional<T> valueOf(Result<T> outcome) {
        if (!take(outcome)) return std::nullopt;
        return std::move(outcome).value();
    }
    std::vector<Message> messages;
};

}  // namespace dorvo::test
