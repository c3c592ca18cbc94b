// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGuiApplication>
#include <memory>

namespace dorvo::cli {

/// Qt's GUI layer for fonts and painting, headless when there is no display. One at a time.
class GuiSession {
  public:
    GuiSession();

  private:
    int argc_ = 1;
    char name_[10] = "dorvo-cli";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> application_;
};

}  // namespace dorvo::cli
