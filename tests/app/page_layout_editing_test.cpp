// SPDX-License-Identifier: GPL-3.0-or-later
// The page-layout dialogs without their windows: headings and pages, margins and positions,
// scale and print range.
#include <gtest/gtest.h>

#include "app/headings_editing.h"
#include "app/margins_editing.h"
#include "app/scale_editing.h"
#include "app/section_fit.h"
#include "render/render_inputs.h"
#include "support/memory_message_sink.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

PageSetup a4(int leftMarginMm = 10, int topMarginMm = 10) {
    PageSetup setup;
    setup.paperWidthMm = 210;
    setup.paperHeightMm = 297;
    setup.leftMarginMm = leftMarginMm;
    setup.topMarginMm = topMarginMm;
    return setup;
}

TEST(SectionFit, OneScaleFramesSectionAndGridWithAMarginAndNothingWithoutASection) {
    EXPECT_FALSE(fitSectionWindow(Project{}, a4()));
    EXPECT_TRUE(figureWindowUnset(Project{}.settings));
    test::ProjectBuilder builder;
    builder.block(40, {{6, 6, 3}, {10, 10, 2}})
        .block(100, {{6, 6, 3}, {10, 16, 1}})
        .search(40, 14, 54, 28, 1, 1, 9, 1.4, 0.4);
    const std::optional<FigureWindow> fitted = fitSectionWindow(builder.project(), a4());
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fitted->scaleX, fitted->scaleY);
    EXPECT_EQ(fitted->scaleX, 800);  // 1/600 gives 114 m, short of the section with margins
    EXPECT_LE(fitted->figureLeftX, 0);
    EXPECT_GE(fitted->figureLeftX + fitted->pageWidthM, 100);
    EXPECT_GE(fitted->figureTopY, 28.0);  // the grid's top
    EXPECT_LE(fitted->figureTopY - fitted->pageDepthM, 0.0);
    EXPECT_EQ(fitted->pageOverlapM, 0);
}

TEST(HeadingsEditing, StandardPositionOnA4PutsThePageNumber281mmDownAndCentresEverything) {
    HeadingsValues values = headingsValues(Project{});
    applyStandardPositions(values, a4());
    EXPECT_EQ(values[page_line::kPageNumberTop], "281");
    for (int line = page_line::kFigureHeadingTop; line <= page_line::kResultHeadingTop; ++line) {
        EXPECT_EQ(values[line], "1") << line;
    }
    EXPECT_EQ(values[page_line::kCircleNewPage], "1");
    EXPECT_EQ(values[page_line::kLoadNewPage], "0");
    for (const CentringRule& rule : kCentringRules) EXPECT_EQ(values[rule.centredLine], "1");
    EXPECT_EQ(values[page_line::kFigureHeadingLeft], "105");  // half the paper width
    EXPECT_EQ(values[page_line::kDataHeadingLeft], "");
}

TEST(HeadingsEditing, StandardExampleSetsTheSixHeadingsAndShowsTheAxes) {
    Project project;
    project.settings.line(settings_line::kShowAxes) = "0";
    HeadingsValues values = headingsValues(project);
    applyStandardExample(values, a4());
    EXPECT_EQ(values[page_line::kFigureHeading], "円弧すべり計算結果図");
    EXPECT_EQ(values[page_line::kResultHeading], "計算結果");
    EXPECT_EQ(values[settings_line::kShowAxes], "1");
    EXPECT_EQ(values[page_line::kPageNumberTop], "281");
}

TEST(HeadingsEditing, StandardPositionIsAppliedOnOpeningOnlyWhenTheThreePositionsAreEmpty) {
    Project project;
    EXPECT_EQ(openingHeadingsValues(project, a4())[page_line::kPageNumberTop], "281");
    project.settings.line(page_line::kFigureHeadingLeft) = "12";
    const HeadingsValues values = openingHeadingsValues(project, a4());
    EXPECT_EQ(values.at(page_line::kPageNumberTop), "");
    EXPECT_EQ(values.at(page_line::kFigureHeadingLeft), "12");
}

TEST(HeadingsEditing, CheckedFigureCentringShowsHalfThePaperWidthAsItsLeft) {
    Project project;
    project.settings.line(page_line::kFigureHeadingTop) = "3";
    project.settings.line(page_line::kFigureHeadingLeft) = "12";
    project.settings.line(page_line::kFigureHeadingCentred) = "1";
    project.settings.line(page_line::kDataHeadingLeft) = "7";
    project.settings.line(page_line::kDataHeadingCentred) = "1";
    const HeadingsValues values = openingHeadingsValues(project, a4());
    EXPECT_EQ(values.at(page_line::kFigureHeadingLeft), "105");
    EXPECT_EQ(values.at(page_line::kDataHeadingLeft), "7");
}

TEST(HeadingsEditing, FooterBelowThePaperWarnsWith132AndIsStoredAllTheSame) {
    Project project;
    test::MemoryMessageSink messages;
    HeadingsValues values = openingHeadingsValues(project, a4());
    values[page_line::kPageNumberTop] = "290";
    EXPECT_TRUE(messages.take(storeHeadings(values, a4(), project)));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].id, MessageId::FooterOffPaper);
    EXPECT_EQ(messages.messages[0].text, "フッタ表示位置が用紙外の可能性があります \n( 290 mm)");
    EXPECT_EQ(project.settings.line(page_line::kPageNumberTop), "290");

    messages.messages.clear();
    values[page_line::kPageNumberTop] = "281";
    EXPECT_TRUE(messages.take(storeHeadings(values, a4(), project)));
    EXPECT_TRUE(messages.messages.empty());
}

TEST(HeadingsEditing, TypedValuesAreStoredInTheirLinesFormats) {
    Project project;
    test::MemoryMessageSink messages;
    HeadingsValues values = headingsValues(project);
    values[page_line::kFigureHeading] = "断面図";
    values[page_line::kFigureHeadingTop] = " 12 ";
    values[page_line::kYAxisMax] = "";
    values[page_line::kRepeatOnLaterPages] = "1";
    values[settings_line::kUnitDisplay] = "2";
    values[page_line::kDataPageForm] = "(";
    ASSERT_TRUE(messages.take(storeHeadings(values, a4(), project)));
    const ProjectSettings& s = project.settings;
    EXPECT_EQ(s.line(page_line::kFigureHeading), "\x92\x66\x96\xca\x90\x7d");  // code page 932
    EXPECT_EQ(s.line(page_line::kFigureHeadingTop), "12");
    EXPECT_EQ(s.line(page_line::kYAxisMax), "");
    EXPECT_EQ(s.line(page_line::kRepeatOnLaterPages), "1");
    EXPECT_EQ(s.line(settings_line::kUnitDisplay), "2");
    EXPECT_EQ(s.line(page_line::kDataPageForm), "(");
}

TEST(HeadingsEditing, OkWithoutAChangeLeavesEveryStoredTextAsItWas) {
    Project project;
    project.settings.line(page_line::kFigureHeadingTop) = " 7";
    project.settings.line(page_line::kLoadNewPage) = "";
    project.settings.line(settings_line::kUnitDisplay) = "-1";
    project.settings.line(19) = "carried";
    const Project before = project;
    test::MemoryMessageSink messages;
    ASSERT_TRUE(messages.take(storeHeadings(headingsValues(project), a4(), project)));
    EXPECT_EQ(project.settings.lines, before.settings.lines);
}

TEST(HeadingsEditing, ATextTheFileCannotHoldStoresNothingAndNamesItsField) {
    Project project;
    test::MemoryMessageSink messages;
    HeadingsValues values = headingsValues(project);
    values[page_line::kFigureHeadingTop] = "5";
    values[page_line::kResultHeading] = "計算$$結果";
    EXPECT_FALSE(messages.take(storeHeadings(values, a4(), project)));
    values[page_line::kResultHeading] = "計算結果";
    values[page_line::kDataStartPage] = "2a";
    EXPECT_FALSE(messages.take(storeHeadings(values, a4(), project)));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text.rfind("計算結果 見出し：", 0), 0u);
    EXPECT_EQ(messages.messages[1].text, "データ 開始ページ：整数を入力してください。");
    EXPECT_EQ(project.settings.line(page_line::kFigureHeadingTop), "");
}

TEST(HeadingsEditing, CandidatesAreTheBuiltInOnesThenThoseOfSymNdxWithoutRepeats) {
    const std::vector<std::string> sym = {"\x92\x66\x96\xca\x90\x7d", "A-A\x92\x66\x96\xca"};
    EXPECT_EQ(headingCandidates(page_line::kFigureHeading, sym),
              (std::vector<std::string>{"断面図", "円弧すべり計算結果図", "安定計算断面形状図",
                                        "A-A断面"}));
    EXPECT_EQ(headingCandidates(page_line::kLoadHeading, {}),
              (std::vector<std::string>{"集中荷重データ"}));
}

TEST(MarginsEditing, StandardSettingGivesMargins15And25AndTheDefaultTable) {
    const MarginsForm form = standardMarginsForm();
    EXPECT_EQ(form.top, "15");
    EXPECT_EQ(form.left, "25");
    EXPECT_EQ(form.positions[1][0], "5");
    EXPECT_EQ(form.positions[1][5], "140");
    EXPECT_EQ(form.positions[1][6], "");

    MarginsTable current;
    current[15][0] = "77";  // past the dialog's rows: kept
    test::MemoryMessageSink messages;
    auto change = acceptMargins(form, current, a4());
    ASSERT_TRUE(messages.take(change));
    EXPECT_EQ(change->topMarginMm, 15);
    EXPECT_EQ(change->leftMarginMm, 25);
    MarginsTable expected = defaultMarginsTable();
    expected[15][0] = "77";
    EXPECT_EQ(change->table, expected);
}

TEST(MarginsEditing, NegativePositionsShowAndStoreAsEmpty) {
    MarginsTable table = defaultMarginsTable();
    table[0][1] = "-3";
    ProgramSettings settings;
    MarginsForm form = marginsForm(settings, table);
    EXPECT_EQ(form.positions[0][1], "");
    form.positions[2][0] = "-8";
    form.positions[2][1] = " 31";
    test::MemoryMessageSink messages;
    auto change = acceptMargins(form, table, a4());
    ASSERT_TRUE(messages.take(change));
    EXPECT_EQ(change->table[0][1], "");
    EXPECT_EQ(change->table[2][0], "");
    EXPECT_EQ(change->table[2][1], "31");
}

TEST(MarginsEditing, MarginsLeavingNoDrawingLengthOrNoIntegerAreRefused) {
    test::MemoryMessageSink messages;
    const MarginsTable current = defaultMarginsTable();
    MarginsForm form = standardMarginsForm();
    form.left = "200";  // 210 mm paper: nothing left beside the 10 mm at the right
    EXPECT_FALSE(messages.take(acceptMargins(form, current, a4())));
    form.left = "25";
    form.positions[3][2] = "5.5";
    EXPECT_FALSE(messages.take(acceptMargins(form, current, a4())));
    form.positions[3][2] = "";
    form.top = "-1";
    EXPECT_FALSE(messages.take(acceptMargins(form, current, a4())));
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].id, MessageId::NoDrawingLength);
    EXPECT_EQ(messages.messages[1].text, "層データ 文字 3：整数を入力してください。");
    EXPECT_EQ(messages.messages[2].text, "トップ：0 から 1000 までの整数を入力してください。");
}

TEST(MarginsEditing, PageRangesAreCutToWhatOnePageShowsOnlyWhenLargerAndTheLinesFollow) {
    FigureWindow window{500, 500, 0, 120, 0, 40.0, 100};
    ProjectSettings settings;
    settings.line(settings_line::kPageWidthM) = "120";
    settings.line(settings_line::kPageDepthM) = "100";
    EXPECT_TRUE(cutPageRangesToPaper(window, a4(25, 15), settings));
    EXPECT_EQ(window.pageWidthM, 87);  // 500 × (210 − 25 − 10) / 1000
    EXPECT_EQ(settings.line(settings_line::kPageWidthM), "87");
    EXPECT_EQ(window.pageDepthM, 100);  // 500 × (297 − 15 − 20) / 1000 = 131 is more
    EXPECT_EQ(settings.line(settings_line::kPageDepthM), "100");
    EXPECT_FALSE(cutPageRangesToPaper(window, a4(25, 15), settings));
}

ScaleForm formOf(const FigureWindow& window) {
    PageSetup setup = a4();
    setup.scaleX = window.scaleX;
    setup.scaleY = window.scaleY;
    setup.figureLeftX = window.figureLeftX;
    setup.pageWidthM = window.pageWidthM;
    setup.pageOverlapM = window.pageOverlapM;
    setup.figureTopY = window.figureTopY;
    setup.pageDepthM = window.pageDepthM;
    return scaleForm(setup);
}

/// OK as the dialog runs it: its messages reported, the stored window and texts taken, and
/// nothing when the dialog stays open.
std::optional<ScaleStep> ok(ScaleForm& form, const PageSetup& setup, int showing,
                            FigureWindow& window, test::MemoryMessageSink& messages) {
    auto stored = messages.valueOf(acceptScale(form, setup, showing));
    if (!stored) return std::nullopt;
    for (const Message& correction : stored->corrections) messages.report(correction);
    window = stored->window;
    form = stored->shown;
    return stored->next;
}

TEST(ScaleEditing, RangeWiderThanThePaperIsCutWithItsMessageAndTheDialogComesBack) {
    ScaleForm form = formOf({500, 500, 0, 120, 10, 36.0, 50});
    FigureWindow window;
    test::MemoryMessageSink messages;
    EXPECT_EQ(ok(form, a4(), 1, window, messages), ScaleStep::ShowAgain);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "１ページの印刷距離は\n約 95 (m)です");
    EXPECT_EQ(window.pageWidthM, 95);
    EXPECT_EQ(form.widthM, "95");
    EXPECT_EQ(ok(form, a4(), 2, window, messages), ScaleStep::Done);
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST(ScaleEditing, OverlapNotBelowTheRangeBecomesZeroSilentlyAndTheDialogComesBack) {
    ScaleForm form = formOf({500, 500, 0, 40, 40, 36.0, 50});
    FigureWindow window;
    test::MemoryMessageSink messages;
    EXPECT_EQ(ok(form, a4(), 1, window, messages), ScaleStep::ShowAgain);
    EXPECT_EQ(window.pageOverlapM, 0);
    EXPECT_EQ(form.overlapM, "0");
    EXPECT_TRUE(messages.messages.empty());
}

TEST(ScaleEditing, DepthBeyondThePaperIsCutAndTheEleventhShowingIsNeverReached) {
    ScaleForm form = formOf({500, 500, 0, 50, 0, 36.0, 200});
    FigureWindow window;
    test::MemoryMessageSink messages;
    EXPECT_EQ(ok(form, a4(), kScaleShowings - 1, window, messages), ScaleStep::Done);
    EXPECT_EQ(window.pageDepthM, 133);
    EXPECT_EQ(messages.messages.at(0).text, "１ページの印刷深度は\n約 133 (m)です");
}

TEST(ScaleEditing, WidthAndDepthBothCutSayHowFarAPageReachesWidthFirst) {
    ScaleForm form = formOf({500, 500, 0, 120, 10, 36.0, 200});
    FigureWindow window;
    test::MemoryMessageSink messages;
    EXPECT_EQ(ok(form, a4(), 1, window, messages), ScaleStep::ShowAgain);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "１ページの印刷距離は\n約 95 (m)です");
    EXPECT_EQ(messages.messages[1].text, "１ページの印刷深度は\n約 133 (m)です");
    EXPECT_EQ(window.pageWidthM, 95);
    EXPECT_EQ(window.pageDepthM, 133);
}

TEST(ScaleEditing, OutOfRangeOrNoDrawingLengthKeepsTheDialogAndStoresNothing) {
    const FigureWindow before{400, 400, 0, 50, 0, 36.0, 50};
    FigureWindow window = before;
    test::MemoryMessageSink messages;
    ScaleForm form = formOf(before);
    form.scaleX = "10";
    EXPECT_EQ(ok(form, a4(), 1, window, messages), std::nullopt);
    form.scaleX = "400";
    form.topY = "4000.5";
    EXPECT_EQ(ok(form, a4(), 1, window, messages), std::nullopt);
    form.topY = "36";
    EXPECT_EQ(ok(form, a4(200, 10), 1, window, messages), std::nullopt);
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].text,
              "縮尺 Ｘ（横）：20 から 2000 までの整数を入力してください。");
    EXPECT_EQ(messages.messages[1].text,
              "上端のＹ座標：-2000 から 4000 までの数値を入力してください。");
    EXPECT_EQ(messages.messages[2].id, MessageId::NoDrawingLength);
    EXPECT_EQ(window.scaleX, before.scaleX);
    EXPECT_EQ(window.pageWidthM, before.pageWidthM);
}

TEST(ScaleEditing, LiveMetresPerPageFollowTheTypedScaleAndNoLengthShowsAsNothing) {
    EXPECT_EQ(pageMetresXOf("500", a4()), 95);
    EXPECT_EQ(pageMetresYOf("500", a4()), 133);
    EXPECT_EQ(pageMetresXOf("5", a4()), std::nullopt);  // 0.95 m: while typing 500
    EXPECT_EQ(pageMetresXOf("", a4()), std::nullopt);
    EXPECT_EQ(bottomYText("36.5", "50"), "-13.5");
}

TEST(ScaleEditing, StandardExampleReplacesAnOddScaleAndFallsBackWithoutSectionOrGrid) {
    ScaleContext context = scaleContext(Project{}, a4());
    ScaleForm form = formOf({50, 3000, 10, 40, 5, 30.0, 50});
    applyScaleExample(form, context);
    EXPECT_EQ(form.scaleX, "500");
    EXPECT_EQ(form.scaleY, "500");
    EXPECT_EQ(form.topY, "50");
    EXPECT_EQ(form.depthM, "133");
    EXPECT_EQ(form.leftX, "50");
    EXPECT_EQ(form.widthM, "95");
    EXPECT_EQ(form.overlapM, "0");
}

TEST(ScaleEditing, StandardExampleCentresThePageOnTheCentreGridBelowTheSection) {
    test::ProjectBuilder builder;
    builder.block(40, {{6, 6, 1}}).block(200, {{6, 28, 1}});
    builder.search(100, 30, 140, 40, 2, 2, 5, 1, 1);
    ScaleForm form = formOf({500, 500, 0, 50, 0, 36.0, 50});
    applyScaleExample(form, scaleContext(builder.project(), a4()));
    EXPECT_EQ(form.topY, "73");   // extent 40 (the grid's top) + 133 / 4
    EXPECT_EQ(form.leftX, "73");  // 120 − 95 / 2
    builder.project().circleSearch = {};
    applyScaleExample(form, scaleContext(builder.project(), a4()));
    EXPECT_EQ(form.leftX, "105");  // the section's right end 200 − 95
    EXPECT_EQ(form.topY, "61");    // 28 + 33
}

TEST(ScaleEditing, SettingsLines3To9AreWrittenAsIntegersAndTheTopWithTwoDecimals) {
    ProjectSettings settings;
    writeFigureWindowLines({400, 250, -20, 95, 10, 36.5, 60}, settings);
    EXPECT_EQ(settings.line(3), "400");
    EXPECT_EQ(settings.line(4), "250");
    EXPECT_EQ(settings.line(5), "-20");
    EXPECT_EQ(settings.line(6), "95");
    EXPECT_EQ(settings.line(7), "10");
    EXPECT_EQ(settings.line(8), "36.50");
    EXPECT_EQ(settings.line(9), "60");
    EXPECT_EQ(topYText(36.5), "36.5");
    EXPECT_EQ(topYText(-0.001), "0");
}

}  // namespace
}  // namespace dorvo
