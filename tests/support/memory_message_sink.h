// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "model/messages.h"

namespace dorvo::test {

/// Records every message the core reports, for tests to check.
class MemoryMessageSink : public MessageSink {
  public:
    void report(const Message& message) override { messages.push_back(message); }
    std::vector<Message> messages;
};

}  // namespace dorvo::test
