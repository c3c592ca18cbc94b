// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary lines to the readers of the program settings, margins and font files.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "fuzz_support.h"
#include "model/line_io.h"
#include "settings/font_slots.h"
#include "settings/margins_table.h"
#include "settings/program_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> lines;
    std::string line;
    while (dorvo::readRawLine(in, line)) lines.emplace_back(dorvo::withoutLineEnd(line));

    dorvo::ProgramSettings settings = dorvo::parseProgramSettings(lines);
    dorvo::applySettingsRules(settings);
    (void)dorvo::programSettingsLines(settings);

    dorvo::MarginsTable margins = dorvo::defaultMarginsTable();
    dorvo::fuzz::IgnoreMessages messages;
    dorvo::applyMarginsLines(margins, lines, "fuzz", messages);
    dorvo::ensureMarginsDefaults(margins);
    (void)dorvo::marginsTableLines(margins);

    dorvo::FontSlot font;
    dorvo::applyFontLines(font, lines);
    dorvo::applyFontRules(font, 1);
    (void)dorvo::fontSlotLines(font);
    return 0;
}
