// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/project.h"
#include "model/result.h"
#include "render/result_overlay.h"
#include "settings/program_settings.h"

namespace dorvo {

/// What the DXF of a section draws beside the project: the figure's colours, what the figure
/// read of the results, and the figure's scale, at which its texts and load arrows keep the
/// size they have on paper.
struct SectionDxfInputs {
    const Project& project;
    const ProgramSettings& settings;
    std::vector<CentreLabel> labels;
    CriticalCircle critical;
    int scale = 500;
    /// The method of the centres' minima and the critical circle when it is not the records'
    /// one, added to the critical circle's Fs; empty for the records' method.
    std::string method;
};

/// The DXF layers, each in the colour the figure gives its lines.
namespace dxf_layer {
inline constexpr const char* kLoads = "LOADS";
inline constexpr const char* kCentreGrid = "CENTRE-GRID";
inline constexpr const char* kCentreFs = "CENTRE-FS";
inline constexpr const char* kCriticalCircle = "CRITICAL-CIRCLE";
/// The boundary lines of the bands of one soil layer: "SOIL-" and the layer No.
std::string soil(int layerNo);
}  // namespace dxf_layer

/// Writes the section as a DXF 2000 drawing in model metres (1 unit = 1 m, Y up): each band
/// of each block as a closed polyline on its soil layer's layer, each load as an arrow with
/// its value, the centre grid with the minimum Fs of its centres (those the figure would show
/// apart at its scale, not one per centre of a dense grid), and the critical circle's arc with
/// its two radius lines and its Fs. A value read from the results beyond the bound of
/// the calculation's input refuses the drawing with a message naming it, as does a value of
/// the section too large for a DXF number; a file not written in full is reported.
Status writeSectionDxf(const std::filesystem::path& file, const SectionDxfInputs& inputs);

}  // namespace dorvo
