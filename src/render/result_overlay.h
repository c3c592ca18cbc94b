// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/project.h"
#include "render/result_stream.h"

namespace dorvo {

/// The minimum Fs of one centre as the figure writes it beside the centre.
struct CentreLabel {
    double x = 0.0;
    double y = 0.0;
    std::string text;
};

/// Reads the per-centre Fs labels and the critical circle from the results working file.
/// Keeps the previous critical circle when the file cannot be read.
std::vector<CentreLabel> readResultOverlay(const std::filesystem::path& resultsFile,
                                           CriticalCircle& critical);

/// The figure's reading of the results working file, kept until the file changes, so that a
/// repaint does not read a large file again.
struct ResultOverlay {
    bool read = false;
    ResultFileIdentity file;
    std::vector<CentreLabel> labels;
};

}  // namespace dorvo
