// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <stop_token>
#include <string>

#include "app/search_insight.h"
#include "model/messages.h"

namespace dorvo::cli {

class InterruptWatch;

struct CalcRequest {
    std::filesystem::path project;
    std::string recordsPath;  // "-" for standard output; empty for none
    bool save = false;
    std::optional<int> decimals;  // overrides the installation's setting
    int threads = 0;              // 0: one per core
    bool showProgress = false;
    std::optional<double> plannedFs;  // also report the restraint force for this planned Fs
    SearchMethod method = SearchMethod::Ordinary;  // whose minima the summary reports
    std::string bishopCsvPath;  // the Bishop search's per-centre minima; empty for none
    std::stop_token stop;  // a stop request ends the search and the copies, writing nothing more
    const InterruptWatch* interrupts = nullptr;  // a signal caught is no failure to report
};

/// Computes a project from the command line; returns the exit status. A run stopped on request
/// leaves its outputs and the temporary folder as they were.
int runCalc(const CalcRequest& request, std::ostream& out, MessageSink& messages);

}  // namespace dorvo::cli
