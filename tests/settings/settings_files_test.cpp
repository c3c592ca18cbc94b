// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "settings/font_slots.h"
#include "settings/margins_table.h"
#include "settings/program_settings.h"
#include "support/comma_decimal_locale.h"
#include "support/memory_message_sink.h"

namespace dorvo {
namespace {

std::vector<std::string> settingsWith(std::initializer_list<std::pair<int, std::string>> lines) {
    std::vector<std::string> file(kSettingsFileLines);
    file[0] = "300";
    for (const auto& [line, text] : lines) file[static_cast<std::size_t>(line - 1)] = text;
    return file;
}

TEST(ProgramSettings, RulesAfterReading) {
    ProgramSettings settings = parseProgramSettings(
        settingsWith({{3, "0"}, {17, "150"}, {22, "7"}, {32, "-2"}, {42, "-1"}, {43, "30"}}));
    applySettingsRules(settings);
    EXPECT_EQ(settings.scrollStepM, 5);
    EXPECT_EQ(settings.gridWidth, 1);
    EXPECT_EQ(settings.windowFrameWidth, 2);
    EXPECT_EQ(settings.blockLineWidth, 1);
    EXPECT_EQ(settings.topMarginMm, 10);
    EXPECT_EQ(settings.leftMarginMm, 30);
}

TEST(ProgramSettings, EnterKeyOptionIsOneWhenItsLineIsAbsentButZeroWithoutAFile) {
    EXPECT_EQ(parseProgramSettings(settingsWith({{6, ""}})).enterKeyOption, 1);
    EXPECT_EQ(parseProgramSettings(settingsWith({{6, "abc"}})).enterKeyOption, 1);
    EXPECT_EQ(parseProgramSettings(settingsWith({{6, "2"}})).enterKeyOption, 2);
    EXPECT_EQ(ProgramSettings{}.enterKeyOption, 0);
}

TEST(ProgramSettings, FileHasSeventyOneLinesAndRoundTrips) {
    ProgramSettings settings = recommendedProgramSettings();
    settings.surveyorName = "\x92\xb2\x8d\xb8";  // 調査 in code page 932
    std::vector<std::string> lines = programSettingsLines(settings);
    ASSERT_EQ(lines.size(), 71u);
    EXPECT_EQ(lines[0], "300");
    EXPECT_EQ(lines[24], "3");         // line 25: decimals
    EXPECT_EQ(lines[30], "0x0000ff");  // line 31: arc colour
    EXPECT_EQ(lines[43], "");          // line 44 is not a setting
    EXPECT_EQ(lines[70], "");
    EXPECT_EQ(programSettingsLines(parseProgramSettings(lines)), lines);
}

TEST(ProgramSettings, RecommendedExampleValues) {
    ProgramSettings s = recommendedProgramSettings();
    EXPECT_EQ(s.blockLineWidth, 2);
    EXPECT_EQ(s.centreGridColour, "0xff0000");
    EXPECT_EQ(s.slipRangeColour, "0x008000");
    EXPECT_EQ(s.limitPointRadiusMm, "0.6");
    EXPECT_EQ(s.loadColour, "0x606060");
    EXPECT_EQ(s.fsDecimals, 3);
    EXPECT_EQ(s.enterKeyOption, 0);
    EXPECT_EQ(s.scrollStepM, 5);
    EXPECT_EQ(s.topMarginMm, 15);
    EXPECT_EQ(s.leftMarginMm, 25);
}

TEST(MarginsTable, LinesHaveEightFieldsEachFollowedByAComma) {
    std::vector<std::string> lines = marginsTableLines(defaultMarginsTable());
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0], "1,,,,,,,,");
    EXPECT_EQ(lines[1], "5,35,60,90,115,140,,,");
    EXPECT_EQ(lines[10], "10,29,44,66,84,101,131,149,");
    EXPECT_EQ(lines[19], ",,,,,,,,");
}

TEST(MarginsTable, EmptyLinesLeaveTheirRowAndLaterLinesAreIgnored) {
    MarginsTable table = defaultMarginsTable();
    std::vector<std::string> lines(22);
    lines[1] = "7,8";
    lines[21] = "9,9,9";
    test::MemoryMessageSink messages;
    applyMarginsLines(table, lines, "Syx.ndx", messages);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(table[0][0], "1");
    EXPECT_EQ(table[1][0], "7");
    EXPECT_EQ(table[1][1], "8");
    EXPECT_EQ(table[1][2], "");
    EXPECT_EQ(marginPosition(table, margins_row::kResultNumberColumns, 8), 140);
}

TEST(MarginsTable, OverLongLineIsReportedWithItsFileAndLine) {
    MarginsTable table = defaultMarginsTable();
    test::MemoryMessageSink messages;
    applyMarginsLines(table, {"1,2,3,4,5,6,7,8,", std::string(2601, '9')}, "Syx.ndx", messages);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(withPlace(messages.messages[0]), "Syx.ndx:2: too many csv");
}

TEST(MarginsTable, DefaultsFillATableWhoseFirstRowIsAbsent) {
    MarginsTable table;
    table[5][0] = "99";
    ensureMarginsDefaults(table);
    EXPECT_EQ(table, defaultMarginsTable());
    table[0][0] = "";
    table[0][1] = "4";
    ensureMarginsDefaults(table);
    EXPECT_EQ(table[0][1], "4");
}

TEST(FontSlots, SizeAndFaceRules) {
    FontSlot font;
    applyFontLines(font, {"250", "A", "255", "1", "ignored"});
    applyFontRules(font, 2);
    EXPECT_DOUBLE_EQ(font.sizePoints, 7.0);
    EXPECT_EQ(font.face, kDefaultFontFace);
    EXPECT_EQ(font.colour, 255);
    EXPECT_EQ(font.italic, 1);
    applyFontLines(font, {"1"});
    applyFontRules(font, 1);
    EXPECT_DOUBLE_EQ(font.sizePoints, 12.0);
    applyFontLines(font, {"200"});
    applyFontRules(font, 4);
    EXPECT_DOUBLE_EQ(font.sizePoints, 200.0);
}

TEST(FontSlots, FileLinesKeepOneDecimal) {
    FontSlot font{"Face", 10.5, 0x123456, 0};
    std::vector<std::string> expected = {"10.5", "Face", "1193046", "0"};
    EXPECT_EQ(fontSlotLines(font), expected);
}

TEST(FontSlots, HalfPointSizeRoundTripsUnderACommaDecimalLocale) {
    CommaDecimalLocale locale;
    FontSlot font{"Face", 10.5, 0, 0};
    std::vector<std::string> lines = fontSlotLines(font);
    EXPECT_EQ(lines[0], "10.5");
    FontSlot read;
    applyFontLines(read, lines);
    EXPECT_DOUBLE_EQ(read.sizePoints, 10.5);
}

}  // namespace
}  // namespace dorvo
