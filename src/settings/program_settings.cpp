// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/program_settings.h"

#include <array>
#include <cstddef>

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

struct IntLine {
    int line;
    int ProgramSettings::*field;
};

struct TextLine {
    int line;
    std::string ProgramSettings::*field;
};

using S = ProgramSettings;

constexpr std::array kIntLines = {
    IntLine{2, &S::spareLine2},
    IntLine{3, &S::scrollStepM},
    IntLine{6, &S::enterKeyOption},
    IntLine{7, &S::listScrollOption},
    IntLine{17, &S::gridWidth},
    IntLine{18, &S::gridStepX},
    IntLine{19, &S::gridStepY},
    IntLine{20, &S::loadWidth},
    IntLine{22, &S::windowFrameWidth},
    IntLine{23, &S::spareLine23},
    IntLine{24, &S::hiddenDecimalsChoice},
    IntLine{25, &S::fsDecimals},
    IntLine{26, &S::calculatedMark},
    IntLine{32, &S::blockLineWidth},
    IntLine{33, &S::slipRangeWidth},
    IntLine{34, &S::slipRangeDash},
    IntLine{35, &S::slipRangeGap},
    IntLine{36, &S::centreGridWidth},
    IntLine{37, &S::centreGridDash},
    IntLine{38, &S::centreGridGap},
    IntLine{39, &S::arcWidth},
    IntLine{40, &S::axisWidth},
    IntLine{42, &S::topMarginMm},
    IntLine{43, &S::leftMarginMm},
    IntLine{45, &S::axisLabelStep},
    IntLine{46, &S::axisTickStep},
    IntLine{47, &S::axisTickLengthMm},
};

constexpr std::array kTextLines = {
    TextLine{15, &S::loadColour},         TextLine{16, &S::gridColour},
    TextLine{21, &S::loadLineLengthMm},   TextLine{27, &S::axisColour},
    TextLine{28, &S::blockLineColour},    TextLine{29, &S::slipRangeColour},
    TextLine{30, &S::centreGridColour},   TextLine{31, &S::arcColour},
    TextLine{41, &S::limitPointRadiusMm}, TextLine{50, &S::surveyorName},
    TextLine{51, &S::surveyorContact},
};

constexpr int kEnterKeyLine = 6;

const std::string& lineOf(const std::vector<std::string>& lines, int number) {
    static const std::string kEmpty;
    auto index = static_cast<std::size_t>(number - 1);
    return index < lines.size() ? lines[index] : kEmpty;
}

}  // namespace

ProgramSettings parseProgramSettings(const std::vector<std::string>& lines) {
    ProgramSettings settings;
    for (const IntLine& entry : kIntLines) {
        const std::string& text = lineOf(lines, entry.line);
        int fallback = entry.line == kEnterKeyLine ? 1 : 0;
        settings.*entry.field = isPresent(text) ? readInteger(text) : fallback;
    }
    for (const TextLine& entry : kTextLines) settings.*entry.field = lineOf(lines, entry.line);
    return settings;
}

std::vector<std::string> programSettingsLines(const ProgramSettings& settings) {
    std::vector<std::string> lines(kSettingsFileLines);
    lines[0] = "300";
    for (const IntLine& entry : kIntLines) {
        lines[static_cast<std::size_t>(entry.line - 1)] = formatInt(settings.*entry.field);
    }
    for (const TextLine& entry : kTextLines) {
        lines[static_cast<std::size_t>(entry.line - 1)] = settings.*entry.field;
    }
    return lines;
}

void applySettingsRules(ProgramSettings& settings) {
    if (settings.scrollStepM <= 0) settings.scrollStepM = 5;
    if (settings.gridWidth >= 100) settings.gridWidth = 1;
    settings.windowFrameWidth = 2;
    settings.spareLine23 = 1;
    for (int* width : {&settings.blockLineWidth, &settings.slipRangeWidth,
                       &settings.centreGridWidth, &settings.arcWidth}) {
        if (*width <= 0) *width = 1;
    }
    if (settings.topMarginMm < 0) settings.topMarginMm = 10;
    if (settings.leftMarginMm < 0) settings.leftMarginMm = 10;
}

void markCalculationRun(ProgramSettings& settings) {
    settings.calculatedMark = 1;
}

ProgramSettings recommendedProgramSettings() {
    ProgramSettings s;
    s.scrollStepM = 5;
    s.enterKeyOption = 0;
    s.blockLineWidth = 2;
    s.blockLineColour = "0";
    s.centreGridWidth = 1;
    s.centreGridDash = 8;
    s.centreGridGap = 0;
    s.centreGridColour = "0xff0000";
    s.arcWidth = 2;
    s.arcColour = "0x0000ff";
    s.slipRangeWidth = 2;
    s.slipRangeDash = 8;
    s.slipRangeGap = 0;
    s.slipRangeColour = "0x008000";
    s.limitPointRadiusMm = "0.6";
    s.axisWidth = 1;
    s.axisColour = "0x404040";
    s.axisLabelStep = 10;
    s.axisTickStep = 10;
    s.axisTickLengthMm = 1;
    s.gridWidth = 1;
    s.gridColour = "0xc0c0c0";
    s.gridStepX = 10;
    s.gridStepY = 10;
    s.loadWidth = 2;
    s.loadColour = "0x606060";
    s.loadLineLengthMm = "2";
    s.fsDecimals = 3;
    s.topMarginMm = 15;
    s.leftMarginMm = 25;
    applySettingsRules(s);
    return s;
}

}  // namespace dorvo
