// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/view_commands.h"

#include <gtest/gtest.h>

namespace dorvo {
namespace {

struct Navigation {
    ViewState view;
    FigureWindow window{500, 500, 0, 80, 10, 40.0, 40};
    ViewNavigation at(int pages, double lastBlockX = 200.0, FigureExtents extents = {150, 30}) {
        return {view, window, pages, lastBlockX, extents, 5};
    }
};

TEST(ViewKeys, TablesPageWithinTheirCountAndUpDownOnly) {
    Navigation n;
    n.view.page = ViewPage::Data;
    n.view.currentPage = 3;
    EXPECT_EQ(pressKey(n.at(3), ViewKey::Down), ViewChange::Repaint);
    EXPECT_EQ(n.view.currentPage, 3);  // stays on the last page
    EXPECT_EQ(pressKey(n.at(3), ViewKey::PageUp), ViewChange::Repaint);
    EXPECT_EQ(n.view.currentPage, 2);
    n.view.currentPage = 1;
    pressKey(n.at(3), ViewKey::Up);
    EXPECT_EQ(n.view.currentPage, 1);
    EXPECT_EQ(pressKey(n.at(3), ViewKey::Right), ViewChange::None);
}

TEST(ViewKeys, CurrentPageBeyondTheCountFirstReturnsToPageOne) {
    Navigation n;
    n.view.page = ViewPage::Results;
    n.view.currentPage = 9;
    pressKey(n.at(4), ViewKey::Other);
    EXPECT_EQ(n.view.currentPage, 1);
}

TEST(ViewKeys, KeysAreIgnoredWhilePrinting) {
    Navigation n;
    n.view.page = ViewPage::Data;
    n.view.printing = true;
    EXPECT_EQ(pressKey(n.at(3), ViewKey::Down), ViewChange::None);
    EXPECT_EQ(n.view.currentPage, 1);
}

TEST(ViewKeys, FigureLeftAtItsFirstPageOnlyShowsPageOneAsCurrent) {
    Navigation n;
    n.view.figurePageLeftX = 0.0;
    n.view.currentPage = 2;
    EXPECT_EQ(pressKey(n.at(3), ViewKey::Left), ViewChange::Repaint);
    EXPECT_DOUBLE_EQ(n.view.figurePageLeftX, 0.0);
    EXPECT_EQ(n.view.currentPage, 1);
}

TEST(ViewKeys, FigureRightStepsByWidthLessOverlapUntilTheLastBlock) {
    Navigation n;
    EXPECT_EQ(pressKey(n.at(3, 100.0), ViewKey::Right), ViewChange::Repaint);
    EXPECT_DOUBLE_EQ(n.view.figurePageLeftX, 70.0);
    EXPECT_EQ(n.view.currentPage, 2);
    // 80 + 70 > 100 + 1: the last block is in view.
    EXPECT_EQ(pressKey(n.at(3, 100.0), ViewKey::Right), ViewChange::None);
    EXPECT_EQ(pressKey(n.at(3, 100.0), ViewKey::Left), ViewChange::Repaint);
    EXPECT_DOUBLE_EQ(n.view.figurePageLeftX, 0.0);  // never below the figure's left X
}

TEST(ScrollButtons, FigureLeftIsRefusedWhenTheFigureWouldLeaveTheScreen) {
    Navigation n;
    n.window.figureLeftX = -100;
    n.window.pageWidthM = 100;
    EXPECT_EQ(scrollView(n.at(1), ScrollCommand::Left), ViewChange::Refused);
    EXPECT_EQ(n.window.figureLeftX, -100);
    n.window.pageWidthM = 105;
    EXPECT_EQ(scrollView(n.at(1), ScrollCommand::Left), ViewChange::Repaint);
    EXPECT_EQ(n.window.figureLeftX, -105);
    EXPECT_DOUBLE_EQ(n.view.figurePageLeftX, -5.0);
}

TEST(ScrollButtons, FigureUpDownAndRightHaveTheirLimits) {
    Navigation n;
    n.window.figureTopY = 5.0;
    EXPECT_EQ(scrollView(n.at(1), ScrollCommand::Down), ViewChange::Refused);
    n.window.figureTopY = 70.0;  // 70 − 40 ≥ 30: the figure's top is below the window
    EXPECT_EQ(scrollView(n.at(1), ScrollCommand::Up), ViewChange::Refused);
    n.window.figureTopY = 60.0;
    EXPECT_EQ(scrollView(n.at(1), ScrollCommand::Up), ViewChange::Repaint);
    EXPECT_DOUBLE_EQ(n.window.figureTopY, 65.0);
    n.window.figureLeftX = 150;
    EXPECT_EQ(scrollView(n.at(1), ScrollCommand::Right), ViewChange::Refused);
}

TEST(ScrollButtons, OnTheTablesUpAndDownPageAndDownFromBeyondGoesToPageTwo) {
    Navigation n;
    n.view.page = ViewPage::Results;
    n.view.currentPage = 7;
    scrollView(n.at(3), ScrollCommand::Down);
    EXPECT_EQ(n.view.currentPage, 2);  // back to 1, then on to the next
    n.view.currentPage = 7;
    scrollView(n.at(3), ScrollCommand::Up);
    EXPECT_EQ(n.view.currentPage, 1);
    EXPECT_EQ(scrollView(n.at(3), ScrollCommand::Left), ViewChange::None);
}

TEST(PageKinds, ShowingAKindStartsAtItsFirstPageAndRecordsItInTheProject) {
    Navigation n;
    Project project;
    n.view.currentPage = 3;
    n.view.figurePageLeftX = 140.0;
    showPageKind(ViewPage::Results, n.view, n.window, project);
    EXPECT_EQ(project.settings.line(1), "2");
    EXPECT_EQ(n.view.currentPage, 1);
    showPageKind(ViewPage::Figure, n.view, n.window, project);
    EXPECT_EQ(project.settings.line(1), "0");
    EXPECT_DOUBLE_EQ(n.view.figurePageLeftX, 0.0);
}

}  // namespace
}  // namespace dorvo
