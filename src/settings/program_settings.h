// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace dorvo {

/// The program settings of the installation, kept in "Sys.ndx": line styles, axis and grid,
/// margins, decimals of Fs, Enter-key behaviour. Colours and millimetre lengths are text.
struct ProgramSettings {
    int spareLine2 = 0;
    int scrollStepM = 0;
    int enterKeyOption = 0;
    int listScrollOption = 0;
    std::string loadColour;
    std::string gridColour;
    int gridWidth = 0;
    int gridStepX = 0;
    int gridStepY = 0;
    int loadWidth = 0;
    std::string loadLineLengthMm;
    int windowFrameWidth = 0;
    int spareLine23 = 0;
    int hiddenDecimalsChoice = 0;
    int fsDecimals = 0;
    int calculatedMark = 0;
    std::string axisColour;
    std::string blockLineColour;
    std::string slipRangeColour;
    std::string centreGridColour;
    std::string arcColour;
    int blockLineWidth = 0;
    int slipRangeWidth = 0;
    int slipRangeDash = 0;
    int slipRangeGap = 0;
    int centreGridWidth = 0;
    int centreGridDash = 0;
    int centreGridGap = 0;
    int arcWidth = 0;
    int axisWidth = 0;
    std::string limitPointRadiusMm;
    int topMarginMm = 0;
    int leftMarginMm = 0;
    int axisLabelStep = 0;
    int axisTickStep = 0;
    int axisTickLengthMm = 0;
    std::string surveyorName;
    std::string surveyorContact;
};

inline constexpr int kSettingsFileLines = 71;

/// Reads the settings from the lines of "Sys.ndx" (without line ends); a line the file lacks
/// reads as empty.
ProgramSettings parseProgramSettings(const std::vector<std::string>& lines);

/// The 71 lines of "Sys.ndx" for these settings.
std::vector<std::string> programSettingsLines(const ProgramSettings& settings);

/// Applies the corrections that follow every reading (a scroll step of 0 becomes 5, …).
void applySettingsRules(ProgramSettings& settings);

/// Records in the settings that a calculation ran: line 26 becomes 1. Nothing reads it back;
/// the file keeps it from the next time it is written.
void markCalculationRun(ProgramSettings& settings);

/// The recommended example values ("標準の設定例") with decimals 3, Enter-key option 0,
/// scroll step 5 and margins 15 (top) and 25 (left): what a first run starts with.
ProgramSettings recommendedProgramSettings();

}  // namespace dorvo
