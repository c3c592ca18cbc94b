// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>

#include "model/messages.h"

namespace dorvo::cli {

struct ExplainRequest {
    std::filesystem::path project;
    std::optional<std::array<double, 3>> circle;  // Rx, Ry, R; the critical circle without it
    bool csv = false;
};

/// Lists every element of one circle's evaluation and their sums; returns the exit status.
int runExplain(const ExplainRequest& request, std::ostream& out, MessageSink& messages);

}  // namespace dorvo::cli
