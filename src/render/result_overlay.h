// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"
#include "render/canvas.h"
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

/// Where the labels of a figure page land: their page window on the device, the font height
/// and the mapping (its scale, and where the model's origin lies on the device).
struct LabelLayout {
    DeviceRect window;
    int fontHeightPx = 0;
    double pxPerMetreX = 0.0;
    double pxPerMetreY = 0.0;
    double offsetX = 0.0;
    double offsetY = 0.0;

    bool operator==(const LabelLayout&) const = default;
};

/// The figure's reading of the results working file, kept until the file changes, so that a
/// repaint does not read a large file again; and which labels the last page drew, so that a
/// repaint of the same page (zoomed, or after another window covered it) draws them without
/// placing a million others again.
struct ResultOverlay {
    bool read = false;
    ResultFileIdentity file;
    std::vector<CentreLabel> labels;
    std::optional<LabelLayout> placedFor;
    std::vector<std::size_t> placed;
};

}  // namespace dorvo
