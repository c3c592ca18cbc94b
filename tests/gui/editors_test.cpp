// SPDX-License-Identifier: GPL-3.0-or-later
// The block, block line and layer editors driven as a user drives them: cells opened with a
// double-click, keys in the cell editor, OK and Cancel, the entry fields and their buttons.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui/block_dialog.h"
#include "gui/block_line_dialog.h"
#include "gui/calculation_dialog.h"
#include "gui/circle_search_dialog.h"
#include "gui/colour_chooser.h"
#include "gui/layer_dialog.h"
#include "gui/loads_dialog.h"
#include "gui_fixture.h"

namespace dorvo {
namespace {

using test::DesktopFixture;
using test::ScriptedUser;
using test::showActive;

/// Runs `act` once a dialog of type T is the active modal one, so that a dialog opened from
/// another dialog is not mistaken for the one that opened it.
template <class T>
void whenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}

QPushButton* okButton(QDialog* dialog) {
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

QPushButton* cancelButton(QDialog* dialog) {
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
}

/// Double-clicks a cell of an editor's list (row and column from 1) and returns its editor.
QLineEdit* doubleClickCell(TableEditorView* list, int row, int column) {
    const QModelIndex index = list->model()->index(row - 1, column - 1);
    list->scrollTo(index);
    const QPoint centre = list->visualRect(index).center();
    // The test events of widgets send the double-click alone, without the click before it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    return list->cellEditor();
}

/// Replaces the text of the open cell editor and presses a key in it.
void typeInCell(TableEditorView* list, const QString& text, Qt::Key key = Qt::Key_Return) {
    QLineEdit* editor = list->cellEditor();
    ASSERT_NE(editor, nullptr);
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, key);
}

/// Types the rows into the list from row 1, Enter after each cell of the first `columns`.
void typeRows(TableEditorView* list, const std::vector<QStringList>& rows) {
    doubleClickCell(list, 1, 1);
    for (const QStringList& row : rows) {
        for (const QString& cell : row) typeInCell(list, cell);
    }
}

/// Shows a dialog as the user would see it, without waiting in its loop.
/// Answers the colour chooser with one colour and counts the questions.
class ScriptedColours : public ColourChooser {
  public:
    std::optional<Colour> chooseColour(Colour initial) override {
        asked.push_back(initial);
        return answer;
    }
    std::optional<Colour> answer;
    std::vector<Colour> asked;
};

TEST(TableEditors, DoubleClickOpensTheCellEditorNamedByItsHeadingWithTheCellText) {
    ScriptedUser user;
    Project project;
    project.block(1) = {"40.00", "6,6,3"};
    BlockDialog dialog(project, {}, user, user);
    showActive(dialog);
    QLineEdit* editor = doubleClickCell(dialog.list(), 1, 2);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "6,6,3");
    EXPECT_EQ(editor->accessibleName(), "Y座標データ 1");
    EXPECT_TRUE(dialog.list()->navigation().editOpen);
    EXPECT_EQ(dialog.xField()->text(), "40.00");  // the click before loaded the row
}

TEST(TableEditors, DoubleClickBesideTheRowsOpensNothingAndEmptiesTheEntryFields) {
    ScriptedUser user;
    Project project;
    project.block(1) = {"40.00", "6,6,3"};
    BlockDialog dialog(project, {}, user, user);
    dialog.resize(1000, dialog.height());
    showActive(dialog);
    TableEditorView* list = dialog.list();
    const QRect first = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    ASSERT_EQ(dialog.xField()->text(), "40.00");
    const QPoint beside(list->horizontalHeader()->length() + 10, first.center().y());
    ASSERT_LT(beside.x(), list->viewport()->width());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, beside);
    EXPECT_EQ(list->cellEditor(), nullptr);
    EXPECT_EQ(dialog.xField()->text(), "");
    EXPECT_EQ(dialog.linesField()->text(), "");
    EXPECT_EQ(dialog.table().row(1), (TableRow{"40.00", "6,6,3"}));
}

TEST(TableEditors, ACellShownNarrowerThanFivePixelsOpensNoEditor) {
    ScriptedUser user;
    Project project;
    project.block(1) = {"40.00", "6,6,3"};
    BlockDialog dialog(project, {}, user, user);
    showActive(dialog);
    dialog.list()->horizontalHeader()->setMinimumSectionSize(1);  // a user's drag stops above 5
    dialog.list()->setColumnWidth(0, 4);
    EXPECT_EQ(doubleClickCell(dialog.list(), 1, 1), nullptr);
    EXPECT_FALSE(dialog.list()->navigation().editOpen);
    dialog.list()->setColumnWidth(0, 5);
    EXPECT_NE(doubleClickCell(dialog.list(), 1, 1), nullptr);
}

Project projectWithBlocks(int count) {
    Project project;
    for (int row = 1; row <= count; ++row) project.block(row) = {std::to_string(row) + ".00", ""};
    return project;
}

/// Whether the row (from 1) is wholly inside the list's page.
bool rowWhollyShown(TableEditorView* list, int row) {
    const QRect rect = list->visualRect(list->model()->index(row - 1, 0));
    return rect.top() >= 0 && rect.bottom() < list->viewport()->height();
}

TEST(TableEditors, ScrollOptionPutsTheRowAfterTheDataAtTheBottomOfThePageAndWithoutItTheTop) {
    ScriptedUser user;
    EditorOptions scrolling;
    scrolling.scrollToNewRow = true;
    BlockDialog dialog(projectWithBlocks(30), scrolling, user, user);
    showActive(dialog);
    TableEditorView* list = dialog.list();
    EXPECT_EQ(list->selectedRow(), 31);
    EXPECT_TRUE(rowWhollyShown(list, 31));
    EXPECT_FALSE(rowWhollyShown(list, 32));
    EXPECT_GT(list->rowAt(0), 0);

    BlockDialog full(projectWithBlocks(40), scrolling, user, user);
    showActive(full);
    EXPECT_TRUE(rowWhollyShown(full.list(), 40));

    BlockDialog unscrolled(projectWithBlocks(30), {}, user, user);
    showActive(unscrolled);
    EXPECT_EQ(unscrolled.list()->selectedRow(), 31);
    EXPECT_EQ(unscrolled.list()->rowAt(0), 0);
}

/// Double-clicks a cell and lets the button go, as a hand does, over the editor it opened.
QLineEdit* doubleClickCellAndRelease(TableEditorView* list, int row, int column) {
    QLineEdit* editor = doubleClickCell(list, row, column);
    if (editor != nullptr) QTest::mouseRelease(editor, Qt::LeftButton, {}, QPoint(1, 1));
    return editor;
}

/// Moves the mouse pointer to a point of a widget and lets the widgets see it.
void movePointer(QWidget* widget, QPoint point) {
    QCursor::setPos(widget->mapToGlobal(point));
    QTest::qWait(20);
}

TEST(TableEditors, PointerGoesOntoTheOpenedCellEditorAndIsHiddenThere) {
    ScriptedUser user;
    Project project;
    project.block(1) = {"40.00", "6,6,3"};
    BlockDialog dialog(project, {}, user, user);
    showActive(dialog);
    QLineEdit* editor = doubleClickCell(dialog.list(), 1, 2);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(QCursor::pos(), editor->mapToGlobal(QPoint(1, 1)));
    EXPECT_EQ(editor->cursor().shape(), Qt::BlankCursor);
}

TEST(TableEditors, PointerOffTheListCommitsTheCellOnTheListNotAndAfterAKeyNeither) {
    ScriptedUser user;
    Project project;
    project.block(1) = {"40.00", "6,6,3"};
    BlockDialog dialog(project, {}, user, user);
    showActive(dialog);
    TableEditorView* list = dialog.list();
    QLineEdit* editor = doubleClickCellAndRelease(list, 1, 2);
    ASSERT_NE(editor, nullptr);
    editor->clear();
    QTest::keyClicks(editor, "7,7,1");
    movePointer(list->viewport(), list->visualRect(list->model()->index(3, 0)).center());
    ASSERT_NE(list->cellEditor(), nullptr);  // still on the list: still typing
    movePointer(okButton(&dialog), okButton(&dialog)->rect().center());
    EXPECT_EQ(list->cellEditor(), nullptr);
    EXPECT_FALSE(list->navigation().editOpen);
    EXPECT_EQ(dialog.table().row(1), (TableRow{"40.00", "7,7,1"}));

    // Enter took the editor on: the pointer went with it, and leaving the list ends nothing.
    doubleClickCellAndRelease(list, 1, 1);
    typeInCell(list, "50");
    ASSERT_NE(list->cellEditor(), nullptr);
    EXPECT_EQ(list->navigation().currentRow, 2);
    movePointer(okButton(&dialog), okButton(&dialog)->rect().center());
    EXPECT_NE(list->cellEditor(), nullptr);
    EXPECT_TRUE(list->navigation().editOpen);
}

TEST(TableEditors, CellEditorOpensWithTheCaretAfterTheTextAndNothingSelected) {
    ScriptedUser user;
    Project project;
    project.block(1) = {"40.00", "6,6,3"};
    BlockDialog dialog(project, {}, user, user);
    showActive(dialog);
    QLineEdit* editor = doubleClickCell(dialog.list(), 1, 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->hasSelectedText());
    EXPECT_EQ(editor->cursorPosition(), 5);
    QTest::keyClicks(editor, "1");
    EXPECT_EQ(editor->text(), "40.001");
}

TEST(TableEditors, EnterInTheLayerEditorWalksTheRowSkipsTheColourAndGamma2StartsAsGamma1) {
    ScriptedUser user;
    ScriptedColours colours;
    LayerDialog dialog(Project{}, {}, user, user, colours);
    showActive(dialog);
    TableEditorView* list = dialog.list();
    doubleClickCell(list, 1, 1);
    typeInCell(list, "1");
    typeInCell(list, "18.0");
    ASSERT_NE(list->cellEditor(), nullptr);
    EXPECT_EQ(list->cellEditor()->text(), "18.0");  // γ2 opens with γ1
    for (const char* text : {"18.0", "30", "5", "0"}) typeInCell(list, text);
    EXPECT_EQ(list->navigation().currentRow, 2);
    EXPECT_EQ(list->navigation().currentColumn, 1);
    EXPECT_EQ(dialog.table().row(1), (TableRow{"1", "18.0", "18.0", "30", "5", "0", ""}));

    dialog.waterBox()->setChecked(true);
    doubleClickCell(list, 3, 2);
    typeInCell(list, "17");
    EXPECT_EQ(list->cellEditor()->text(), "");  // the water level is considered
}

TEST(TableEditors, EnterInTheBlockEditorGoesDownTheXColumnAndUpComesBack) {
    ScriptedUser user;
    BlockDialog dialog(Project{}, {}, user, user);
    showActive(dialog);
    TableEditorView* list = dialog.list();
    doubleClickCell(list, 1, 1);
    typeInCell(list, "10");
    EXPECT_EQ(list->navigation().currentRow, 2);
    EXPECT_EQ(list->navigation().currentColumn, 1);
    typeInCell(list, "20", Qt::Key_Up);
    EXPECT_EQ(list->navigation().currentRow, 1);
    EXPECT_EQ(list->cellEditor()->text(), "10");
    EXPECT_EQ(dialog.xField()->text(), "10");  // the fields follow the row
    EXPECT_EQ(dialog.table().cell(2, 1), "20");
}

TEST(TableEditors, FirstOkAfterACellEditOnlyEndsTheEditAndASecondStores) {
    ScriptedUser user;
    BlockDialog dialog(Project{}, {}, user, user);
    showActive(dialog);
    doubleClickCell(dialog.list(), 1, 1);
    QTest::keyClicks(dialog.list()->cellEditor(), "12");
    okButton(&dialog)->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.list()->cellEditor(), nullptr);
    EXPECT_EQ(dialog.table().cell(1, 1), "12");
    okButton(&dialog)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.blocks()[0].x, "12.00");
}

TEST(TableEditors, CancelAfterAChangeAsks133AndNoKeepsTheDialogOpen) {
    ScriptedUser user;
    Project project;
    project.layer(1).layerNo = "1";
    ScriptedColours colours;
    LayerDialog dialog(project, {}, user, user, colours);
    showActive(dialog);
    cancelButton(&dialog)->click();  // nothing changed yet: no question
    EXPECT_TRUE(user.questions.empty());
    EXPECT_FALSE(dialog.isVisible());

    showActive(dialog);
    doubleClickCell(dialog.list(), 1, 2);
    typeInCell(dialog.list(), "19", Qt::Key_Tab);
    user.yesNoAnswers = {false, true};
    cancelButton(&dialog)->click();
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_EQ(user.questions[0].text, "データが変更されましたが、キャンセルしてよいのですか？");
    EXPECT_TRUE(dialog.isVisible());
    cancelButton(&dialog)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(TableEditors, EscapeInACellEndsTheCellEditAndAsksBeforeCancelling) {
    ScriptedUser user;
    Project project;
    project.block(1).x = "10";
    BlockDialog dialog(project, {}, user, user);
    showActive(dialog);
    doubleClickCell(dialog.list(), 1, 1);
    user.yesNoAnswers = {false};
    typeInCell(dialog.list(), "11", Qt::Key_Escape);
    EXPECT_EQ(user.questions.size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.table().cell(1, 1), "11");
}

TEST(TableEditors, TextTheFileCannotHoldStaysInTheCellEditorWithAMessage) {
    ScriptedUser user;
    ScriptedColours colours;
    LayerDialog dialog(Project{}, {}, user, user, colours);
    showActive(dialog);
    doubleClickCell(dialog.list(), 1, 7);  // the colour, a cell that takes text
    typeInCell(dialog.list(), "1,5");
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_NE(user.messages[0].text.find("カンマ"), std::string::npos);
    ASSERT_NE(dialog.list()->cellEditor(), nullptr);
    EXPECT_EQ(dialog.list()->cellEditor()->text(), "1,5");
    EXPECT_EQ(dialog.table().cell(1, 7), "");
}

TEST(LayerEditor, RowsTyped312AreStoredAs123WithTheGeneralValuesAsOneUndoStep) {
    DesktopFixture f;
    whenShown<LayerDialog>([](LayerDialog* dialog) {
        typeRows(dialog->list(), {{"3", "17", "17", "0", "30", "2"},
                                  {"1", "19", "19", "30", "5", "0"},
                                  {"2", "18", "18", "30", "15", "0"}});
        dialog->ycField()->setText("10");
        dialog->unitChoices()->button(1)->click();
        okButton(dialog)->click();
        okButton(dialog)->click();
    });
    f.frame->action(command::kLayers)->trigger();
    const Project& project = f.session.document.project;
    EXPECT_EQ(project.layer(1).layerNo, "1");
    EXPECT_EQ(project.layer(2).layerNo, "2");
    EXPECT_EQ(project.layer(3).layerNo, "3");
    EXPECT_EQ(project.layer(3).k, "2");
    EXPECT_EQ(project.layer(4).layerNo, "");
    EXPECT_EQ(project.settings.line(settings_line::kYc), "10");
    EXPECT_EQ(project.settings.line(settings_line::kLayerFill), "0");
    EXPECT_EQ(project.settings.line(settings_line::kUnitDisplay), "1");
    EXPECT_TRUE(f.session.document.modified);
    f.frame->action(command::kUndo)->trigger();
    EXPECT_EQ(f.session.document.project.layer(1).layerNo, "");
}

TEST(TableEditors, NumberCellsAndFieldsRefuseLettersOrADecimalCommaNamingTheColumn) {
    ScriptedUser user;
    ScriptedColours colours;
    LayerDialog layers(Project{}, {}, user, user, colours);
    showActive(layers);
    doubleClickCell(layers.list(), 1, 1);
    typeInCell(layers.list(), "x2", Qt::Key_Tab);
    typeInCell(layers.list(), "1", Qt::Key_Tab);
    doubleClickCell(layers.list(), 1, 2);
    typeInCell(layers.list(), "18kN");
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[0].text, "層No.：数値を入力してください。");
    EXPECT_EQ(user.messages[1].text, "γ1：数値を入力してください。");
    EXPECT_EQ(layers.list()->cellEditor()->text(), "18kN");
    typeInCell(layers.list(), "18", Qt::Key_Tab);
    doubleClickCell(layers.list(), 1, 7);
    typeInCell(layers.list(), "0x80c0ff", Qt::Key_Tab);  // a colour cell is no number cell
    EXPECT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(layers.table().cell(1, 7), "0x80c0ff");

    BlockDialog blocks(Project{}, {}, user, user);
    showActive(blocks);
    blocks.xField()->setText("40,5");
    blocks.addButton()->click();
    ASSERT_EQ(user.messages.size(), 3u);
    EXPECT_EQ(user.messages[2].text, "X 座標 m：数値を入力してください。");
    EXPECT_EQ(dataRowCount(blocks.table()), 0);
}

TEST(LayerEditor, ChosenColourGoesIntoTheFieldAndTheRowItWasLoadedFrom) {
    ScriptedUser user;
    ScriptedColours colours;
    colours.answer = 0x0000ff;
    Project project;
    project.layer(1) = {"1", "19", "19", "30", "5", "0", "0x80c0ff", ""};
    LayerDialog dialog(project, {}, user, user, colours);
    showActive(dialog);
    const QRect cell = dialog.list()->visualRect(dialog.list()->model()->index(0, 0));
    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(dialog.colourField()->text(), "0x80c0ff");
    dialog.colourButton()->click();
    ASSERT_EQ(colours.asked.size(), 1u);
    EXPECT_EQ(colours.asked[0], 0x80c0ffu);
    EXPECT_EQ(dialog.colourField()->text(), "0x0000ff");
    EXPECT_EQ(dialog.table().cell(1, 7), "0x0000ff");
}

/// Enters a block from the block editor's fields: a click on the first empty row empties
/// them, then its X, then its lines through "入力".
void enterBlock(BlockDialog* blocks, const QString& x, std::vector<QStringList> lines) {
    TableEditorView* list = blocks->list();
    const QModelIndex empty = list->model()->index(dataRowCount(blocks->table()), 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(empty).center());
    EXPECT_EQ(blocks->linesField()->text(), "");
    blocks->xField()->setText(x);
    whenShown<BlockLineDialog>([lines](BlockLineDialog* editor) {
        for (const QStringList& line : lines) {
            editor->yLeftField()->setText(line[0]);
            editor->yRightField()->setText(line[1]);
            editor->layerField()->setEditText(line[2]);
            editor->addButton()->click();
        }
        okButton(editor)->click();
    });
    blocks->linesButton()->click();
}

TEST(BlockEditor, LinesFromTheLineEditorAreStoredWithTheirBlockWithoutAddOrOverwrite) {
    DesktopFixture f;
    whenShown<BlockDialog>([](BlockDialog* dialog) {
        enterBlock(dialog, "40", {{"10", "10", "2"}, {"6", "6", "3"}});
        EXPECT_EQ(dialog->linesField()->text(), "6.00,6.00,3 ,10.00,10.00,2 ");
        okButton(dialog)->click();
    });
    f.frame->action(command::kBlocks)->trigger();
    const Project& project = f.session.document.project;
    EXPECT_EQ(project.block(1).x, "40.00");
    EXPECT_EQ(project.block(1).lines, "6.00,6.00,3 ,10.00,10.00,2 ");
    EXPECT_TRUE(f.session.document.modified);
}

TEST(BlockEditor, AddStores12As12AndRefuses12_00001With908) {
    ScriptedUser user;
    BlockDialog dialog(Project{}, {}, user, user);
    showActive(dialog);
    dialog.xField()->setText("12");
    dialog.addButton()->click();
    EXPECT_EQ(dialog.table().cell(1, 1), "12.00");
    EXPECT_EQ(dialog.xField()->text(), "");
    dialog.xField()->setText("12.00001");
    dialog.addButton()->click();
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].id, MessageId::DuplicateKey);
    EXPECT_EQ(dataRowCount(dialog.table()), 1);
}

TEST(BlockLineEditor, SameLineTwiceAsks4000AndALeftBlockClickCopiesYRightAndLayer) {
    ScriptedUser user;
    BlockLineEditorInputs inputs{"40.00", "50.8", "", "6.00,6.00,3 ,10.00,12.50,2 ", "0.00"};
    BlockLineDialog dialog(inputs, {"1", "2", "3", ""}, {}, user, user);
    showActive(dialog);
    ASSERT_EQ(dialog.leftBlockList()->count(), 2);
    EXPECT_EQ(dialog.leftBlockList()->item(1)->text(), "   12.50 , 2");
    dialog.leftBlockList()->setCurrentRow(1);
    EXPECT_EQ(dialog.yLeftField()->text(), "12.50");
    EXPECT_EQ(dialog.layerField()->currentText(), "2");
    dialog.levelButton()->click();
    dialog.addButton()->click();
    EXPECT_EQ(dialog.table().row(1), (TableRow{"12.50", "12.50", "2"}));

    dialog.yLeftField()->setText("12.5");
    dialog.yRightField()->setText("12.5");
    user.yesNoAnswers = {false};  // No adds it all the same
    dialog.addButton()->click();
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_EQ(user.questions[0].id, MessageId::DuplicateLine);
    EXPECT_EQ(dataRowCount(dialog.table()), 2);
    okButton(&dialog)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.lines(), "12.50,12.50,2 ,12.50,12.50,");
    EXPECT_EQ(user.messages.back().text, "同じY座標右、Y座標左があります\n 12.50m  12.50m \n");
}

TEST(BlockLineEditor, AnArrowStandsBetweenTheLeftBlockListAndTheEntryFields) {
    ScriptedUser user;
    BlockLineDialog dialog({"40.00", "50.8", "", "6.00,6.00,3 ", "0.00"}, {}, {}, user, user);
    showActive(dialog);
    QLabel* arrow = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->accessibleName() == "左ブロックから") arrow = label;
    }
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->text(), "→");
    const auto xIn = [&dialog](QWidget* widget, int x) {
        return widget->mapTo(&dialog, QPoint(x, 0)).x();
    };
    EXPECT_LE(xIn(dialog.leftBlockList(), dialog.leftBlockList()->width()), xIn(arrow, 0));
    EXPECT_LE(xIn(arrow, arrow->width()), xIn(dialog.yLeftField(), 0));
}

/// Every control a user reaches has a name a screen reader says: its label or heading.
void expectEveryControlNamed(QDialog& dialog) {
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget);
        // The heading and the corner of a list are parts of it, read through the list.
        const bool partOfList = widget->parentWidget() != nullptr &&
                                qobject_cast<QAbstractItemView*>(widget->parentWidget());
        if (!control || partOfList || !widget->isVisibleTo(&dialog)) continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << widget->metaObject()->className() << " in " << dialog.windowTitle().toStdString();
    }
    auto* list = dialog.findChild<TableEditorView*>();
    for (int column = 0; column < list->model()->columnCount(); ++column) {
        const QString name =
            list->model()->index(0, column).data(Qt::AccessibleTextRole).toString();
        EXPECT_EQ(name, list->model()->headerData(column, Qt::Horizontal).toString() + " 1");
    }
}

TEST(TableEditors, EveryCellFieldAndButtonHasAnAccessibleName) {
    ScriptedUser user;
    ScriptedColours colours;
    BlockDialog blocks(Project{}, {}, user, user);
    expectEveryControlNamed(blocks);
    BlockLineDialog lines({"0.00", "10", "", "1,1,1", "0.00"}, {"1", ""}, {}, user, user);
    expectEveryControlNamed(lines);
    LayerDialog layers(Project{}, {}, user, user, colours);
    expectEveryControlNamed(layers);
}

TEST(TableEditors, ExampleSectionEnteredFromAnEmptyProjectCalculatesToTheExampleRecords) {
    DesktopFixture f;
    whenShown<BlockDialog>([](BlockDialog* dialog) {
        enterBlock(dialog, "40", {{"6", "6", "3"}, {"10", "10", "2"}});
        enterBlock(dialog, "50.8", {{"6", "6", "3"}, {"10", "10", "2"}, {"10", "16", "1"}});
        enterBlock(dialog, "62.8", {{"6", "6", "3"}, {"10", "10", "2"}, {"16", "16", "1"}});
        enterBlock(dialog, "73.6", {{"6", "6", "3"}, {"10", "10", "2"}, {"16", "10", "1"}});
        enterBlock(dialog, "100", {{"6", "6", "3"}, {"10", "10", "2"}});
        okButton(dialog)->click();
    });
    f.frame->action(command::kBlocks)->trigger();
    ASSERT_EQ(blockCount(f.session.document.project), 5);

    whenShown<LayerDialog>([](LayerDialog* dialog) {
        typeRows(dialog->list(), {{"1", "19", "19", "30", "5", "0"},
                                  {"2", "18", "18", "30", "15", "0"},
                                  {"3", "17", "17", "0", "30", "2"}});
        dialog->ycField()->setText("10");
        okButton(dialog)->click();
        okButton(dialog)->click();
    });
    f.frame->action(command::kLayers)->trigger();
    ASSERT_EQ(layerCount(f.session.document.project), 3);

    whenShown<LoadsDialog>([](LoadsDialog* dialog) {
        dialog->xField(1)->setText("54");
        dialog->forceField(1)->setText("30");
        okButton(dialog)->click();
    });
    f.frame->action(command::kLoads)->trigger();

    whenShown<CircleSearchDialog>([](CircleSearchDialog* dialog) {
        const QStringList texts = {"40",  "14", "54", "28", "1", "1", "9", "1.4",
                                   "0.4", "",   "",   "",   "",  "",  "",  "0.15"};
        for (int i = 0; i < texts.size(); ++i) dialog->field(std::size_t(i))->setText(texts[i]);
        okButton(dialog)->click();
    });
    f.frame->action(command::kCircleSearch)->trigger();

    whenShown<CalculationDialog>([](CalculationDialog* dialog) { dialog->okButton()->click(); });
    f.frame->action(command::kCalculate)->trigger();
    EXPECT_TRUE(f.user.messages.empty());
    const std::string records = test::readBytes(f.session.installation.resultsFile());
    EXPECT_TRUE(records == test::readBytes(DORVO_TEST_DATA_DIR "/embankment-records.golden"));
}

}  // namespace
}  // namespace dorvo
