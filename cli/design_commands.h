// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <stop_token>
#include <string>

#include "model/messages.h"

namespace dorvo::cli {

struct BackAnalyseRequest {
    std::filesystem::path project;
    std::string targetFs;  // as typed; empty for 1.00
    int layerNo = 0;
    std::optional<std::array<double, 3>> circle;  // Rx, Ry, R
    std::optional<std::array<double, 5>> ends;    // X1, Y1, X2, Y2 and the depth below the chord
    std::optional<std::string> co;                // a chosen Co: the φ that goes with it
    std::optional<std::string> phi;               // a chosen φ: the Co that goes with it
    bool json = false;
    std::filesystem::path print;  // the page to PDF, PNG or SVG; empty for none
    int threads = 0;
};

/// Finds the strengths of a layer for which a circle (the critical one unless given) has the
/// target Fs; returns the exit status.
int runBackAnalyse(const BackAnalyseRequest& request, std::ostream& out, MessageSink& messages);

struct SensitivityRequest {
    std::filesystem::path project;
    std::optional<std::string> percent;                // ±P %
    std::optional<std::array<std::string, 2>> limits;  // lower and upper %
    bool json = false;
    std::filesystem::path print;
    int threads = 0;
    std::stop_token stop;
};

/// Varies each parameter in turn and searches again; returns the exit status.
int runSensitivity(const SensitivityRequest& request, std::ostream& out, MessageSink& messages);

}  // namespace dorvo::cli
