// SPDX-License-Identifier: GPL-3.0-or-later
// The page-layout and settings dialogs as the menu commands open them, answered by scripts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <regex>

#include "gui/fonts_dialog.h"
#include "gui/headings_dialog.h"
#include "gui/line_styles_dialog.h"
#include "gui/margins_dialog.h"
#include "gui/scale_dialog.h"
#include "gui_fixture.h"
#include "model/line_io.h"
#include "render/pages.h"
#include "render/render_inputs.h"
#include "settings/program_settings.h"
#include "support/recording_canvas.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;
using test::buttonNamed;
using test::DesktopFixture;

template <class Widget>
Widget* named(QWidget* dialog, const QString& name) {
    for (Widget* widget : dialog->findChildren<Widget*>()) {
        if (widget->accessibleName() == name) return widget;
    }
    return nullptr;
}

/// Runs `act` on the dialog the command opens; a dialog the script left open is closed, so
/// that a failed expectation cannot leave the test waiting.
void onDialogOf(DesktopFixture& f, int command, std::function<void(QDialog*)> act) {
    DesktopFixture::whenDialogShows([act](QDialog* dialog) {
        act(dialog);
        if (dialog->isVisible()) dialog->done(QDialog::Rejected);
    });
    f.frame->action(command)->trigger();
}

/// The desktop on A4 portrait, whatever the test machine's printer or locale.
void onA4(DesktopFixture& f) {
    f.session.paper = *paperNamed("A4", false);
}

TEST(SettingsDialogs, EveryFieldAndButtonIsNamedByTheLabelTheUserSees) {
    DesktopFixture f;
    for (int command : {command::kHeadings, command::kScale, command::kMargins,
                        command::kLineStyles, command::kFonts}) {
        onDialogOf(f, command, [command](QDialog* dialog) {
            for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
                EXPECT_FALSE(field->accessibleName().isEmpty()) << command;
            }
            for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
                EXPECT_FALSE(box->accessibleName().isEmpty()) << command;
            }
            for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
                EXPECT_FALSE(button->text().isEmpty() && button->accessibleName().isEmpty())
                    << command;
            }
        });
    }
    EXPECT_TRUE(f.user.messages.empty());
}

TEST(SettingsDialogs, CentringDisablesTheLeftDistancesItGovernsAndOkStoresInTheProject) {
    DesktopFixture f;
    onA4(f);
    onDialogOf(f, command::kHeadings, [](QDialog* shown) {
        auto* dialog = qobject_cast<HeadingsDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        // A new project opens with the standard positions: everything centred.
        QLineEdit* figureLeft = dialog->field(page_line::kFigureHeadingLeft);
        EXPECT_FALSE(figureLeft->isEnabled());
        EXPECT_EQ(figureLeft->text(), "105");
        EXPECT_EQ(dialog->field(page_line::kPageNumberTop)->text(), "281");

        dialog->check(page_line::kFigureHeadingCentred)->setChecked(false);
        EXPECT_TRUE(figureLeft->isEnabled());
        figureLeft->setText("30");

        QLineEdit* layerLeft = named<QLineEdit>(dialog, "層データ 左");
        ASSERT_NE(layerLeft, nullptr);
        EXPECT_FALSE(dialog->field(page_line::kDataHeadingLeft)->isEnabled());
        EXPECT_FALSE(layerLeft->isEnabled());
        dialog->check(page_line::kDataHeadingCentred)->setChecked(false);
        dialog->field(page_line::kDataHeadingLeft)->setText("12");
        EXPECT_TRUE(dialog->field(page_line::kDataHeadingLeft)->isEnabled());
        EXPECT_EQ(layerLeft->text(), "12");
        EXPECT_TRUE(layerLeft->isReadOnly());

        QLineEdit* resultPageLeft = named<QLineEdit>(dialog, "計算結果 ページ番号 左");
        ASSERT_NE(resultPageLeft, nullptr);
        EXPECT_FALSE(resultPageLeft->isEnabled());
        dialog->check(page_line::kPageNumberCentred)->setChecked(false);
        EXPECT_TRUE(dialog->field(page_line::kPageNumberLeft)->isEnabled());
        EXPECT_TRUE(resultPageLeft->isEnabled());

        dialog->field(page_line::kFigureHeading)->setText("A-A断面");
        buttonNamed(dialog, "OK")->click();
    });
    const ProjectSettings& settings = f.session.document.project.settings;
    EXPECT_EQ(settings.line(page_line::kFigureHeadingLeft), "30");
    EXPECT_NE(settings.line(page_line::kFigureHeadingCentred), "1");
    EXPECT_EQ(settings.line(page_line::kDataHeadingLeft), "12");
    EXPECT_EQ(settings.line(page_line::kPageNumberTop), "281");
    EXPECT_EQ(settings.line(page_line::kFigureHeading), "A-A\x92\x66\x96\xca");
    EXPECT_TRUE(f.frame->isWindowModified());
    f.frame->action(command::kUndo)->trigger();
    EXPECT_EQ(f.session.document.project.settings.line(page_line::kFigureHeading), "");
}

TEST(SettingsDialogs, HeadingThatCannotBeStoredKeepsTheDialogOpen) {
    DesktopFixture f;
    onDialogOf(f, command::kHeadings, [](QDialog* shown) {
        auto* dialog = qobject_cast<HeadingsDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->field(page_line::kLayerHeading)->setText("層$$");
        buttonNamed(dialog, "OK")->click();
        EXPECT_TRUE(dialog->isVisible());
    });
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_FALSE(f.session.document.modified);
}

TEST(SettingsDialogs, MarginsOkWritesBothSettingsFilesAndThePagesFollow) {
    DesktopFixture f;
    onA4(f);
    f.session.installation.settings.leftMarginMm = 10;
    onDialogOf(f, command::kMargins, [](QDialog* shown) {
        auto* dialog = qobject_cast<MarginsDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->positionField(1, 0)->setText("");
        buttonNamed(dialog, "標準の設定")->click();
        EXPECT_EQ(dialog->positionField(1, 0)->text(), "5");
        dialog->topField()->setText("20");
        buttonNamed(dialog, "OK")->click();
    });
    const Installation& installation = f.session.installation;
    const auto sys = readTextLines(installation.settingsFile());
    const auto syx = readTextLines(installation.marginsFile());
    ASSERT_TRUE(sys && syx);
    EXPECT_EQ(parseProgramSettings(*sys).topMarginMm, 20);
    EXPECT_EQ(parseProgramSettings(*sys).leftMarginMm, 25);
    EXPECT_EQ(syx->at(1), "5,35,60,90,115,140,,,");
    EXPECT_EQ(f.session.pageSetup().leftMarginMm, 25);
    EXPECT_TRUE(f.user.messages.empty());
}

TEST(SettingsDialogs, MarginsThatCannotBeWrittenSayWhichFileAndStayInUse) {
    DesktopFixture f;
    fs::remove_all(f.session.installation.workFolder);
    onDialogOf(f, command::kMargins, [](QDialog* shown) {
        auto* dialog = qobject_cast<MarginsDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->leftField()->setText("30");
        buttonNamed(dialog, "OK")->click();
    });
    ASSERT_EQ(f.user.messages.size(), 2u);
    EXPECT_NE(f.user.messages[0].text.find("Sys.ndx"), std::string::npos);
    EXPECT_NE(f.user.messages[1].text.find("Syx.ndx"), std::string::npos);
    EXPECT_EQ(f.session.installation.settings.leftMarginMm, 30);
}

TEST(SettingsDialogs, ScaleCancelLeavesThePageSetupAsItWas) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    const FigureWindow before = f.session.window;
    const ProjectSettings lines = f.session.document.project.settings;
    onDialogOf(f, command::kScale, [](QDialog* shown) {
        auto* dialog = qobject_cast<ScaleDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->scaleXField()->setText("300");
        buttonNamed(dialog, "標準の設定例")->click();
        buttonNamed(dialog, "ｷｬﾝｾﾙ")->click();
    });
    EXPECT_EQ(f.session.window.scaleX, before.scaleX);
    EXPECT_EQ(f.session.window.pageWidthM, before.pageWidthM);
    EXPECT_EQ(f.session.window.figureTopY, before.figureTopY);
    EXPECT_EQ(f.session.document.project.settings.lines, lines.lines);
    EXPECT_FALSE(f.session.document.modified);
}

TEST(SettingsDialogs, ScaleRangeBeyondThePaperIsCutShownAgainAndSavedInTheLines) {
    DesktopFixture f;
    onA4(f);
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    onDialogOf(f, command::kScale, [](QDialog* shown) {
        auto* dialog = qobject_cast<ScaleDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->scaleXField()->setText("5");
        EXPECT_FALSE(dialog->noLengthNote()->isHidden());  // typing on to 500
        EXPECT_EQ(dialog->metresXField()->text(), "0");
        dialog->scaleXField()->setText("500");
        EXPECT_TRUE(dialog->noLengthNote()->isHidden());
        EXPECT_EQ(dialog->metresXField()->text(), "87");  // 500 × (210 − 25 − 10) / 1000
        dialog->widthField()->setText("120");
        buttonNamed(dialog, "OK")->click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->showing(), 2);
        EXPECT_EQ(dialog->widthField()->text(), "87");
        buttonNamed(dialog, "OK")->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    ASSERT_EQ(f.user.messages.size(), 1u);
    EXPECT_EQ(f.user.messages[0].text, "１ページの印刷距離は\n約 87 (m)です");
    const Project& project = f.session.document.project;
    EXPECT_EQ(project.settings.line(settings_line::kScaleX), "500");
    EXPECT_EQ(project.settings.line(settings_line::kPageWidthM), "87");
    EXPECT_EQ(f.session.window.pageWidthM, 87);
    EXPECT_TRUE(f.session.document.modified);

    const fs::path saved = f.folder.path() / "saved.slw";
    f.user.files = {saved};
    f.frame->action(command::kSaveAs)->trigger();
    const auto lines = readTextLines(saved);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->at(4), "500");  // settings line 3, after "$$_DORVO301" and "$$Z"
    EXPECT_EQ(lines->at(7), "87");
}

FontSlot fontSlotFile(const fs::path& file) {
    FontSlot slot;
    applyFontLines(slot, readTextLines(file).value_or(std::vector<std::string>{}));
    return slot;
}

TEST(SettingsDialogs, FontCancelAfterAChangeAsks133AndNoKeepsTheDialogWithTheChoice) {
    DesktopFixture f;
    const FontSlots before = f.session.installation.fonts;
    QFont chosen(QStringLiteral("IPAPMincho"));
    chosen.setPointSizeF(10.5);
    f.user.fonts = {chosen};
    f.user.yesNoAnswers = {false, true};
    onDialogOf(f, command::kFonts, [](QDialog* shown) {
        auto* dialog = qobject_cast<FontsDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->fontButton(4)->click();
        EXPECT_EQ(dialog->sizeBox(4)->text(), " 11     (10.5)");
        EXPECT_EQ(dialog->faceBox(4)->text(), "IPAPMincho");
        buttonNamed(dialog, "ｷｬﾝｾﾙ")->click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->sizeBox(4)->text(), " 11     (10.5)");
        buttonNamed(dialog, "ｷｬﾝｾﾙ")->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    ASSERT_EQ(f.user.questions.size(), 2u);
    EXPECT_EQ(f.user.questions[0].id, MessageId::CancelChanges);
    EXPECT_EQ(f.session.installation.fonts[3].sizePoints, before[3].sizePoints);
}

TEST(SettingsDialogs, FontOkWritesTheSlotFilesAndAnUnchangedCancelAsksNothing) {
    DesktopFixture f;
    onDialogOf(f, command::kFonts, [](QDialog* dialog) { buttonNamed(dialog, "ｷｬﾝｾﾙ")->click(); });
    EXPECT_TRUE(f.user.questions.empty());

    QFont chosen(QStringLiteral("IPAPMincho"));
    chosen.setPointSizeF(10.5);
    f.user.fonts = {chosen};
    f.user.colours = {QColor(255, 128, 0)};
    onDialogOf(f, command::kFonts, [](QDialog* shown) {
        auto* dialog = qobject_cast<FontsDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->fontButton(2)->click();
        dialog->colourButton(2)->click();
        buttonNamed(dialog, "OK")->click();
    });
    const FontSlot written = fontSlotFile(f.session.installation.fontFile(2));
    EXPECT_EQ(written.sizePoints, 10.5);
    EXPECT_EQ(written.face, "IPAPMincho");
    EXPECT_EQ(written.colour, 0x0080ff);  // 0x00BBGGRR
    EXPECT_EQ(f.session.installation.fonts[1].colour, 0x0080ff);
}

TEST(SettingsDialogs, ChangedLineColourAndFsDecimalsShowOnTheNextDrawingOfTheFigure) {
    DesktopFixture f;
    ASSERT_TRUE(f.frame->openProject(f.exampleCopy()));
    f.user.colours = {QColor(255, 128, 0)};
    onDialogOf(f, command::kLineStyles, [](QDialog* shown) {
        auto* dialog = qobject_cast<LineStylesDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        dialog->colourButton("ブロック線")->click();
        EXPECT_EQ(dialog->field("ブロック線", "色")->text(), "0x0080ff");
        dialog->decimals()->setCurrentIndex(2);
        buttonNamed(dialog, "OK")->click();
    });
    const auto sys = readTextLines(f.session.installation.settingsFile());
    ASSERT_TRUE(sys.has_value());
    EXPECT_EQ(parseProgramSettings(*sys).fsDecimals, 4);
    EXPECT_EQ(parseProgramSettings(*sys).blockLineColour, "0x0080ff");

    DesktopFixture::whenDialogShows([](QDialog* dialog) { buttonNamed(dialog, "OK")->click(); });
    f.frame->action(command::kCalculate)->trigger();

    test::RecordingCanvas canvas;
    const PageSetup setup = f.session.pageSetup();
    drawPage(canvas, f.session.inputs(setup), f.session.pages);
    EXPECT_FALSE(canvas.ofColour(test::Drawn::Kind::Line, 0x0080ff).empty());
    int labels = 0;
    for (const test::Drawn& text : canvas.texts()) {
        if (std::regex_match(text.text, std::regex(R"(\d+\.\d{4})"))) ++labels;
    }
    EXPECT_GT(labels, 0);
}

}  // namespace
}  // namespace dorvo
