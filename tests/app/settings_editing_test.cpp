// SPDX-License-Identifier: GPL-3.0-or-later
// The installation's settings dialogs without their windows: fonts and line styles, the
// checks of typed fields and the writing of the settings files.
#include <gtest/gtest.h>

#include <deque>

#include "app/dialog_fields.h"
#include "app/font_editing.h"
#include "app/installation_saving.h"
#include "app/line_style_editing.h"
#include "model/number_text.h"
#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

TEST(DialogFields, IntegersTakeBlanksAndASignAndANonIntegerIsRefusedBeforeItsRange) {
    EXPECT_EQ(*typedInteger(" +12 ", "幅"), 12);
    EXPECT_EQ(*typedInteger("-7", "幅"), -7);
    for (const char* refused : {"", "1.5", "12abc", "+-3", "99999999999"}) {
        Result<int> number = typedInteger(refused, "幅");
        ASSERT_FALSE(number) << refused;
        EXPECT_EQ(number.error().text, "幅：整数を入力してください。");
    }
    EXPECT_EQ(typedInteger("31", "幅", IntRange{1, 30}).error().text,
              "幅：1 から 30 までの整数を入力してください。");
    // Text that is no integer is refused as such first; the range follows as a reminder.
    for (const char* refused : {"1.5", "abc", ""}) {
        EXPECT_EQ(typedInteger(refused, "幅", IntRange{1, 30}).error().text,
                  "幅：整数を入力してください。範囲は 1 から 30 までです。")
            << refused;
    }
    EXPECT_DOUBLE_EQ(*typedReal("1e2", "Y", {-2000, 4000}), 100.0);
    EXPECT_FALSE(typedReal("nan", "Y", {-2000, 4000}));
}

TEST(DialogFields, NumberTextIsEmptyOrOneWholeNumberAndKeptAsTyped) {
    for (const char* number : {"", "  ", "0.15", " -3 ", "+2", "1e3", ".5", "5."}) {
        Result<std::string> text = typedNumberText(number, "Kh", CellStorage::WholeLine);
        ASSERT_TRUE(text) << number;
        EXPECT_EQ(*text, number);
    }
    for (const char* refused : {"0,15", "40,5", "12abc", "abc", "1.2.3", "1e", "0x10", "inf"}) {
        Result<std::string> text = typedNumberText(refused, "Kh", CellStorage::WholeLine);
        ASSERT_FALSE(text) << refused;
        EXPECT_EQ(text.error().text, "Kh：数値を入力してください。");
    }
}

TEST(DialogFields, TextsAreRefusedForDollarsLineEndsForeignCharactersAndLength) {
    EXPECT_EQ(*typedText("見出し", "名"), "\x8c\xa9\x8f\x6f\x82\xb5");
    for (const std::string& refused :
         {std::string("a$$b"), std::string("a\nb"), std::string("\xf0\x9f\x98\x80"),
          std::string(kDialogTextLimit + 1, 'x')}) {
        Result<std::string> text = typedText(refused, "名");
        ASSERT_FALSE(text);
        EXPECT_EQ(text.error().text.rfind("名：", 0), 0u);
    }
    EXPECT_TRUE(typedText(std::string(kDialogTextLimit, 'x'), "名"));
}

/// Answers Yes-or-No questions from a queue and keeps each question.
class ScriptedYesNoAnswers : public YesNoQuestion {
  public:
    bool askYesNo(const Message& question) override {
        asked.push_back(question);
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<bool> answers;
    std::vector<Message> asked;
};

TEST(FontEditing, AHalfPointSizeShowsRoundedThenExactAndIsStoredWithOneDecimal) {
    FontEditing editing{defaultFontSlots(), false};
    test::MemoryMessageSink messages;
    ASSERT_TRUE(messages.take(takeChosenFont(editing, 4, {"IPAPMincho", 10.5, true})));
    const FontSlot& font = editing.fonts[3];
    EXPECT_EQ(fontSizeText(font.sizePoints), " 11     (10.5)");
    EXPECT_EQ(fontSizeText(9.0), "  9     (9.0)");
    EXPECT_EQ(fontSlotLines(font), (std::vector<std::string>{"10.5", "IPAPMincho", "0", "1"}));
    EXPECT_TRUE(editing.changed);
}

TEST(FontEditing, AFaceOutsideCodePage932IsReportedAndChangesNothing) {
    FontEditing editing{defaultFontSlots(), false};
    test::MemoryMessageSink messages;
    EXPECT_FALSE(messages.take(takeChosenFont(editing, 1, {"Noto \xf0\x9f\x98\x80", 10.0, false})));
    EXPECT_EQ(editing.fonts[0].face, kDefaultFontFace);
    EXPECT_FALSE(editing.changed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text.rfind("見出し 書体：", 0), 0u);
}

TEST(FontEditing, CancelAsks133OnlyAfterAChange) {
    FontEditing editing{defaultFontSlots(), false};
    ScriptedYesNoAnswers question;
    EXPECT_TRUE(mayDiscardFontChanges(editing, question));
    EXPECT_TRUE(question.asked.empty());
    takeChosenColour(editing, 2, 0x0000ff);
    EXPECT_EQ(editing.fonts[1].colour, 0x0000ff);
    question.answers = {false, true};
    EXPECT_FALSE(mayDiscardFontChanges(editing, question));
    EXPECT_TRUE(mayDiscardFontChanges(editing, question));
    ASSERT_EQ(question.asked.size(), 2u);
    EXPECT_EQ(question.asked[0].id, MessageId::CancelChanges);
}

std::string& fieldOf(LineStyleForm& form, std::string_view group, std::string_view label) {
    return form.texts[lineStyleFieldIndex(group, label)];
}

TEST(LineStyleEditing, DashedSlipRangeStoresWidth2Dash8Gap8AndGreen32768) {
    ProgramSettings settings = recommendedProgramSettings();
    LineStyleForm form = lineStyleForm(settings);
    applyDashedSlipRange(form);
    test::MemoryMessageSink messages;
    ASSERT_TRUE(messages.take(storeLineStyles(form, settings)));
    EXPECT_EQ(settings.slipRangeWidth, 2);
    EXPECT_EQ(settings.slipRangeDash, 8);
    EXPECT_EQ(settings.slipRangeGap, 8);
    EXPECT_EQ(settings.slipRangeColour, "32768");
    EXPECT_EQ(readColour(settings.slipRangeColour), readColour("0x008000"));
}

TEST(LineStyleEditing, ZeroWidthsTheRangesAllowTakeTheReadingRulesOnePixelAtOnce) {
    ProgramSettings settings = recommendedProgramSettings();
    LineStyleForm form = lineStyleForm(settings);
    fieldOf(form, "すべり面範囲", "太さ") = "0";
    fieldOf(form, "グリッド", "太さ") = "0";
    test::MemoryMessageSink messages;
    ASSERT_TRUE(messages.take(storeLineStyles(form, settings)));
    EXPECT_EQ(settings.slipRangeWidth, 1);  // as the settings file would read back
    EXPECT_EQ(settings.gridWidth, 0);       // 0 hides the grid
}

TEST(LineStyleEditing, WidthsOutsideTheirRangeAreRefusedAndNothingIsStored) {
    ProgramSettings settings = recommendedProgramSettings();
    const ProgramSettings before = settings;
    LineStyleForm form = lineStyleForm(settings);
    fieldOf(form, "グリッド", "太さ") = "3";
    test::MemoryMessageSink messages;
    for (const char* width : {"31", "0"}) {
        fieldOf(form, "ブロック線", "太さ") = width;
        EXPECT_FALSE(messages.take(storeLineStyles(form, settings)));
    }
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text,
              "ブロック線 太さ：1 から 30 までの整数を入力してください。");
    EXPECT_EQ(programSettingsLines(settings), programSettingsLines(before));
}

TEST(LineStyleEditing, StandardExampleRestoresTheStylesAndDecimalsButKeepsTheFirm) {
    ProgramSettings settings;
    settings.surveyorName = "\x8a\x94";  // 株
    settings.fsDecimals = 4;
    LineStyleForm form = lineStyleForm(settings);
    EXPECT_EQ(form.decimalsIndex, 2);
    applyLineStyleExample(form);
    EXPECT_EQ(fieldOf(form, "円弧", "色"), "0x0000ff");
    EXPECT_EQ(fieldOf(form, "集中荷重", "線長さ 上下 mm"), "2");
    EXPECT_EQ(fieldOf(form, "登録", "調査業者名"), "株");
    EXPECT_EQ(form.decimalsIndex, 1);
    test::MemoryMessageSink messages;
    ASSERT_TRUE(messages.take(storeLineStyles(form, settings)));
    EXPECT_EQ(settings.fsDecimals, 3);
    EXPECT_EQ(settings.surveyorName, "\x8a\x94");
    EXPECT_EQ(settings.centreGridColour, "0xff0000");
}

TEST(InstallationSaving, FilesThatCannotBeWrittenAreReportedByName) {
    test::TempFolder folder;
    Installation installation;
    installation.workFolder = folder.path() / "missing";
    test::MemoryMessageSink messages;
    reportEach(saveMargins(installation), messages);
    reportEach(saveFonts(installation), messages);
    ASSERT_EQ(messages.messages.size(), 8u);
    EXPECT_NE(messages.messages[0].text.find("Sys.ndx"), std::string::npos);
    EXPECT_NE(messages.messages[1].text.find("Syx.ndx"), std::string::npos);
    EXPECT_NE(messages.messages[7].text.find("Font6.ndx"), std::string::npos);

    installation.workFolder = folder.path();
    messages.messages.clear();
    reportEach(saveMargins(installation), messages);
    reportEach(saveFonts(installation), messages);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(installation.fontFile(6)));
}

TEST(InstallationSaving, EveryUnwrittenFileReachesTheUserInTheOrderTheFilesAreWritten) {
    test::TempFolder folder;
    Installation installation;
    installation.workFolder = folder.path() / "missing";
    test::MemoryMessageSink messages;
    reportEach(saveMargins(installation), messages);
    reportEach(saveFonts(installation), messages);
    const Status settings = saveProgramSettings(installation);
    ASSERT_FALSE(settings);
    messages.report(settings.error());

    const std::vector<std::string> files = {"Sys.ndx",   "Syx.ndx",   "Font1.ndx",
                                            "Font2.ndx", "Font3.ndx", "Font4.ndx",
                                            "Font5.ndx", "Font6.ndx", "Sys.ndx"};
    ASSERT_EQ(messages.messages.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(messages.messages[i].text,
                  cannotWriteMessage(installation.workFolder / files[i]).text)
            << i;
    }
}

}  // namespace
}  // namespace dorvo
