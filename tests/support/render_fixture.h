// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>

#include "render/render_inputs.h"
#include "settings/font_slots.h"
#include "settings/margins_table.h"
#include "settings/program_settings.h"
#include "support/temp_folder.h"

namespace dorvo::test {

/// Distinct colours for each kind of line, so tests can tell the figure's parts apart.
inline constexpr Colour kGridColour = 0x000011;
inline constexpr Colour kAxisColour = 0x000022;
inline constexpr Colour kBlockColour = 0x000033;
inline constexpr Colour kLoadColour = 0x000044;
inline constexpr Colour kCentreGridColour = 0x000055;
inline constexpr Colour kArcColour = 0x000066;
inline constexpr Colour kRangeColour = 0x000077;

/// A project with the settings and state the pages read, on A4 paper (210 × 297 mm).
struct RenderFixture {
    RenderFixture();

    /// Fresh inputs over the fixture's parts (take again after changing them); the pages keep
    /// their state in `state`.
    RenderInputs inputs();
    /// Writes the results working file the pages read.
    void writeResults(std::string_view text);
    void setSetting(int line, std::string_view text) { project.settings.line(line) = text; }

    TempFolder folder;
    Project project;
    ProgramSettings settings;
    MarginsTable margins;
    FontSlots fonts;
    PageSetup setup;
    PageState state;
    std::filesystem::path resultsFile;
};

}  // namespace dorvo::test
