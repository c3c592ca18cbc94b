// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>
#include <variant>
#include <vector>

#include "model/messages.h"

namespace dorvo {

/// Why a step failed, in the words the user is shown.
struct Failure {
    Message message;
};

/// The outcome of a step that can fail: its value, or the failure that says why not.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T* operator->() const { return &value(); }
    const T& operator*() const& { return value(); }

    const Message& error() const { return std::get<1>(state_).message; }

  private:
    std::variant<T, Failure> state_;
};

/// A step that gives nothing back but can fail.
struct Done {};
using Status = Result<Done>;

/// The failures of a step that goes on past each one, in the order they happened; none when
/// nothing failed.
using Failures = std::vector<Failure>;

/// Hands each failure to `messages`, in order.
inline void reportEach(const Failures& failures, MessageSink& messages) {
    for (const Failure& failure : failures) messages.report(failure.message);
}

}  // namespace dorvo
