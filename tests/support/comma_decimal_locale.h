// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace dorvo {

/// Puts the whole process under a locale that writes a decimal comma, as a desktop session in
/// Germany or France does, and restores the previous locale afterwards. The test command
/// generates the locale, so a missing one is a failure, not a skip.
class CommaDecimalLocale {
  public:
    CommaDecimalLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        EXPECT_TRUE(active_) << "the de_DE.UTF-8 locale is not installed (scripts/install-deps.sh)";
    }
    ~CommaDecimalLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    bool active() const { return active_; }

  private:
    std::string previous_;
    bool active_ = false;
};

}  // namespace dorvo
