// SPDX-License-Identifier: GPL-3.0-or-later
// The indicator panes of the status bar, fed by a scripted keyboard.
#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>

#include "gui/status_indicators.h"
#include "gui_fixture.h"

namespace dorvo {
namespace {

/// The indicator panes of the bar, left to right, as "name=text".
std::vector<std::string> panesOf(QStatusBar& bar) {
    std::vector<std::pair<int, std::string>> panes;
    for (QLabel* label : bar.findChildren<QLabel*>()) {
        const QString name = label->accessibleName();
        if (name != "ｶﾅ" && name != "CAP" && name != "NUM" && name != "SCRL") continue;
        panes.emplace_back(label->x(), (name + "=" + label->text()).toStdString());
    }
    std::sort(panes.begin(), panes.end());
    std::vector<std::string> shown;
    for (const auto& pane : panes) shown.push_back(pane.second);
    return shown;
}

TEST(StatusIndicators, OnlyReportedStatesGetAPaneInTheirOrderAndShowTheirNameWhileOn) {
    KeyboardIndicators keyboard;
    keyboard.kana = false;
    keyboard.capsLock = true;
    keyboard.scrollLock = false;  // Num Lock unknown: no pane
    QStatusBar bar;
    bar.resize(600, 24);
    StatusIndicators indicators(
        bar, [&keyboard] { return keyboard; }, nullptr);
    bar.show();
    EXPECT_EQ(panesOf(bar), (std::vector<std::string>{"ｶﾅ=", "CAP=CAP", "SCRL="}));

    keyboard.kana = true;
    keyboard.capsLock = false;
    keyboard.scrollLock = true;
    indicators.refresh();
    EXPECT_EQ(panesOf(bar), (std::vector<std::string>{"ｶﾅ=ｶﾅ", "CAP=", "SCRL=SCRL"}));

    keyboard.scrollLock.reset();  // a state that stops being reported reads as off
    indicators.refresh();
    EXPECT_EQ(panesOf(bar), (std::vector<std::string>{"ｶﾅ=ｶﾅ", "CAP=", "SCRL="}));
}

TEST(StatusIndicators, APlatformThatReportsNoStateGetsNoPane) {
    QStatusBar bar;
    StatusIndicators indicators(
        bar, [] { return KeyboardIndicators{}; }, nullptr);
    EXPECT_TRUE(panesOf(bar).empty());
    // Headless, the main window is such a case.
    test::DesktopFixture f;
    EXPECT_TRUE(panesOf(*f.frame->statusBar()).empty());
}

}  // namespace
}  // namespace dorvo
