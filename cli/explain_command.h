// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <stop_token>

#include "app/search_insight.h"
#include "model/messages.h"

namespace dorvo::cli {

struct ExplainRequest {
    std::filesystem::path project;
    std::optional<std::array<double, 3>> circle;  // Rx, Ry, R; the critical circle without it
    bool csv = false;
    std::stop_token stop;  // a stop request ends the search for the critical circle
    SearchMethod method = SearchMethod::Ordinary;  // whose critical circle, without `circle`
};

/// Lists every element of one circle's evaluation and their sums; returns the exit status.
/// A circle with a value beyond the bound of the calculation's input is refused.
int runExplain(const ExplainRequest& request, std::ostream& out, MessageSink& messages);

}  // namespace dorvo::cli
