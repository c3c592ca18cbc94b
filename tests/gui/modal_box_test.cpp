// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes that open from inside an editor's key, focus or mouse handling, shown as the
// program shows them (real modal boxes, answered by a timer), so that a widget the handler
// goes on using after the box closes is seen to survive it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include "gui/block_dialog.h"
#include "gui/colour_chooser.h"
#include "gui/layer_dialog.h"
#include "gui/probability_dialog.h"
#include "gui/qt_translations.h"
#include "gui/sensitivity_dialog.h"
#include "gui/small_dialogs.h"
#include "gui/user_interaction.h"
#include "gui_fixture.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

using test::showActive;

/// Presses Enter in every message box that opens while it lives and keeps their texts.
class MessageBoxAnswerer {
  public:
    MessageBoxAnswerer() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible() || box == answered_) return;
            answered_ = box;
            texts.push_back(box->text());
            for (QAbstractButton* button : box->buttons()) buttons.push_back(button->text());
            QTest::keyClick(box, Qt::Key_Return);
        });
        timer_.start();
    }

    QStringList texts;
    QStringList buttons;

  private:
    QTimer timer_;
    QPointer<QMessageBox> answered_;
};

class NoColours : public ColourChooser {
  public:
    std::optional<Colour> chooseColour(Colour) override { return std::nullopt; }
};

QLineEdit* openCell(TableEditorView* list, int row, int column) {
    const QModelIndex index = list->model()->index(row - 1, column - 1);
    const QPoint centre = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    return list->cellEditor();
}

/// Selects the cell editor's text and types over it, as a user replaces a value.
void typeOver(QLineEdit* editor, const QString& text) {
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
}

Project twoBlocks() {
    Project project;
    project.block(1) = {"40.00", "6.00,6.00,3 "};
    project.block(2) = {"50.80", "6.00,6.00,3 "};
    return project;
}

TEST(RealMessageBox, CommaTypedIntoABlockCellAndTabOrEnterShowsOneBoxAndKeepsTheCellEditor) {
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return}) {
        DesktopInteraction desktop;
        BlockDialog dialog(twoBlocks(), {}, desktop, desktop);
        desktop.setParent(&dialog);
        showActive(dialog);
        QLineEdit* editor = openCell(dialog.list(), 2, 1);
        ASSERT_NE(editor, nullptr);
        typeOver(editor, "1,5");
        MessageBoxAnswerer answers;
        QTest::keyClick(editor, key);
        ASSERT_EQ(answers.texts.size(), 1) << answers.texts.join("|").toStdString();
        EXPECT_EQ(answers.texts[0], "X m：数値を入力してください。");  // a comma in a number
        ASSERT_NE(dialog.list()->cellEditor(), nullptr);
        EXPECT_EQ(dialog.list()->cellEditor()->text(), "1,5");
        EXPECT_EQ(dialog.table().cell(2, 1), "50.80");
        EXPECT_TRUE(dialog.isVisible());
    }
}

TEST(RealMessageBox, QuoteOrCommaInALayerCellIsRefusedOnceAndTheDialogGoesOn) {
    for (const auto& [column, typed] :
         {std::pair{4, QStringLiteral("3,0")}, std::pair{2, QStringLiteral("\"18")}}) {
        DesktopInteraction desktop;
        NoColours colours;
        Project project;
        project.layer(1) = {"1", "19", "19", "30", "5", "0", "", ""};
        LayerDialog dialog(project, {}, desktop, desktop, colours);
        desktop.setParent(&dialog);
        showActive(dialog);
        typeOver(openCell(dialog.list(), 1, column), typed);
        MessageBoxAnswerer answers;
        QTest::keyClick(dialog.list()->cellEditor(), Qt::Key_Return);
        EXPECT_EQ(answers.texts.size(), 1);
        ASSERT_NE(dialog.list()->cellEditor(), nullptr);
        typeOver(dialog.list()->cellEditor(), "31");
        QTest::keyClick(dialog.list()->cellEditor(), Qt::Key_Return);
        EXPECT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(dialog.table().cell(1, column), "31");
    }
}

TEST(RealMessageBox, OkWithARefusedCellShowsOneBoxAndKeepsTheTypedText) {
    DesktopInteraction desktop;
    BlockDialog dialog(twoBlocks(), {}, desktop, desktop);
    desktop.setParent(&dialog);
    showActive(dialog);
    typeOver(openCell(dialog.list(), 2, 1), "1,5");
    MessageBoxAnswerer answers;
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(answers.texts.size(), 1);
    ASSERT_NE(dialog.list()->cellEditor(), nullptr);
    EXPECT_EQ(dialog.list()->cellEditor()->text(), "1,5");
    EXPECT_TRUE(dialog.isVisible());
}

TEST(RealMessageBox, ClickingAnotherRowWithARefusedCellKeepsItsText) {
    DesktopInteraction desktop;
    BlockDialog dialog(twoBlocks(), {}, desktop, desktop);
    desktop.setParent(&dialog);
    showActive(dialog);
    typeOver(openCell(dialog.list(), 2, 1), "1,5");
    MessageBoxAnswerer answers;
    const QModelIndex first = dialog.list()->model()->index(0, 0);
    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {},
                      dialog.list()->visualRect(first).center());
    EXPECT_LE(answers.texts.size(), 1);
    ASSERT_NE(dialog.list()->cellEditor(), nullptr);
    EXPECT_EQ(dialog.list()->cellEditor()->text(), "1,5");
}

TEST(RealMessageBox, PointerLeavingTheListWithARefusedCellShowsOneBoxAndKeepsTheText) {
    DesktopInteraction desktop;
    BlockDialog dialog(twoBlocks(), {}, desktop, desktop);
    desktop.setParent(&dialog);
    showActive(dialog);
    QLineEdit* editor = openCell(dialog.list(), 2, 1);
    ASSERT_NE(editor, nullptr);
    QTest::mouseRelease(editor, Qt::LeftButton, {}, QPoint(1, 1));  // the hand lets go
    typeOver(editor, "1,5");
    MessageBoxAnswerer answers;
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    TableEditorView* list = dialog.list();
    const QRect firstRow = list->visualRect(list->model()->index(0, 0));
    // Over the list, then off it twice.
    for (const QPoint& point : {list->viewport()->mapToGlobal(firstRow.center()),
                                ok->mapToGlobal(QPoint(2, 2)), ok->mapToGlobal(QPoint(4, 4))}) {
        QCursor::setPos(point);
        QTest::qWait(100);
    }
    EXPECT_EQ(answers.texts.size(), 1) << answers.texts.join("|").toStdString();
    ASSERT_NE(dialog.list()->cellEditor(), nullptr);
    EXPECT_EQ(dialog.list()->cellEditor()->text(), "1,5");
    EXPECT_EQ(dialog.table().cell(2, 1), "50.80");
}

TEST(RealMessageBox, EnterAnswersTheSafeWay4000CancelsTheAddAnd133KeepsTheChanges) {
    DesktopInteraction desktop;
    MessageBoxAnswerer answers;
    EXPECT_TRUE(desktop.askYesNo(makeMessage(MessageId::DuplicateLine, "Y座標")));
    EXPECT_FALSE(desktop.askYesNo(makeMessage(MessageId::CancelChanges)));
    EXPECT_EQ(answers.texts.size(), 2);
}

TEST(QtTranslations, SaveQuestionSpeaksJapaneseUnderAJapaneseLocaleAndEnglishElsewhere) {
    EXPECT_EQ(installQtTranslations(*qApp, QLocale(QLocale::English, QLocale::UnitedStates)),
              nullptr);
    DesktopInteraction desktop;
    MessageBoxAnswerer answers;
    desktop.askToSave("a.slw");
    QTranslator* translator =
        installQtTranslations(*qApp, QLocale(QLocale::Japanese, QLocale::Japan));
    ASSERT_NE(translator, nullptr);
    desktop.askToSave("a.slw");
    QCoreApplication::removeTranslator(translator);
    delete translator;
    ASSERT_EQ(answers.buttons.size(), 6);
    QStringList english = answers.buttons.mid(0, 3);
    QStringList japanese = answers.buttons.mid(3, 3);
    english.sort();
    japanese.sort();
    EXPECT_EQ(english, (QStringList{"Cancel", "Discard", "Save"}));
    EXPECT_EQ(japanese, (QStringList{"キャンセル", "保存", "変更を破棄"}));
}

TEST(RealFontDialog, OkKeepsTenAndAHalfPointsAndTheItalicFlagOfAFaceWithoutItalic) {
    DesktopInteraction desktop;
    QFont initial(QStringLiteral("IPAGothic"));
    initial.setPointSizeF(10.5);
    initial.setItalic(true);
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        answer.stop();
        dialog->accept();
    });
    answer.start();
    const std::optional<QFont> chosen = desktop.chooseFont(initial);
    ASSERT_TRUE(chosen);
    EXPECT_DOUBLE_EQ(chosen->pointSizeF(), 10.5);
    EXPECT_TRUE(chosen->italic());
}

TEST(RealMessageBox, SetupDialogClosedWithAnEmptyFolderShowsNoBoxOverTheClosingDialog) {
    DesktopInteraction desktop;
    LocationDialog dialog("/tmp/dorvo", Environment{}, desktop);
    desktop.setParent(&dialog);
    showActive(dialog);
    dialog.folderField()->setFocus();
    dialog.folderField()->clear();
    MessageBoxAnswerer answers;
    QTest::keyClick(dialog.folderField(), Qt::Key_Escape);
    QTest::qWait(100);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join("|").toStdString();
}

/// A session of the real dialogs on a copy of the example in a folder of its own.
struct ExampleSession {
    ExampleSession()
        : session(desktop, {folder.path() / "config", folder.path() / "data", folder.path()}) {
        session.setUp();
        const auto copy = folder.path() / "embankment.slw";
        std::filesystem::copy_file(DORVO_EXAMPLES_DIR "/embankment.slw", copy);
        EXPECT_TRUE(
            loadDocument(session.document, copy, OpenPath::Framework, session.context()).ok());
    }

    test::TempFolder folder;
    DesktopInteraction desktop;
    DesktopSession session;
};

TEST(RealMessageBox, ProbabilityOkWithANonNumberShowsOneBoxAndEnterInAFieldRunsNotCloses) {
    ExampleSession example;
    ProbabilityDialog dialog(example.session, [](std::vector<CriticalCircle>) {});
    example.desktop.setParent(&dialog);
    showActive(dialog);
    dialog.realisationsField()->setText("1,000");
    MessageBoxAnswerer answers;
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_EQ(answers.texts.size(), 1);
    EXPECT_TRUE(answers.texts[0].contains("回数 N"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.realisationsField()->text(), "1,000");
    EXPECT_FALSE(example.session.document.probabilityInputs.has_value());

    dialog.realisationsField()->setText("50");
    dialog.realisationsField()->setFocus();
    QTest::keyClick(dialog.realisationsField(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(dialog.realisations().size() == 50u, 60000);
    EXPECT_EQ(answers.texts.size(), 1);
}

TEST(RealMessageBox, SensitivityWithARefusedLimitShowsOneBoxAndStartsNothing) {
    ExampleSession example;
    SensitivityDialog dialog(example.session);
    example.desktop.setParent(&dialog);
    showActive(dialog);
    dialog.upperField()->setText("10 %");
    MessageBoxAnswerer answers;
    QTest::mouseClick(dialog.runButton(), Qt::LeftButton);
    ASSERT_EQ(answers.texts.size(), 1);
    EXPECT_TRUE(answers.texts[0].contains("上限 %"));
    EXPECT_FALSE(dialog.running());
    EXPECT_TRUE(dialog.runButton()->isEnabled());
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace dorvo
