// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <vector>

#include "model/messages.h"

namespace dorvo::test {

/// Answers Yes-or-No questions from a queue (No when it is empty) and keeps each question.
class ScriptedQuestion : public YesNoQuestion {
  public:
    bool askYesNo(const Message& question) override {
        asked.push_back(question);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<bool> answers;
    std::vector<Message> asked;
};

}  // namespace dorvo::test
