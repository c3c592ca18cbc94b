// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/project.h"
#include "render/page_setup.h"

namespace dorvo {

/// The keys that page the view.
enum class ViewKey { Up, Down, PageUp, PageDown, Left, Right, Other };

/// The tool bar's scroll buttons: "図の左", "図の右", "上へ", "下へ".
enum class ScrollCommand { Left, Right, Up, Down };

/// What the view does after a command: nothing, repaint, or say that the figure would leave
/// the screen (message 4011) and repaint.
enum class ViewChange { None, Repaint, Refused };

/// What the paging and scrolling commands work on: the view, the figure window as the view
/// scrolls it (its numbers only; the settings lines keep their texts), and what the pages
/// measured.
struct ViewNavigation {
    ViewState& view;
    FigureWindow& window;
    int pageCount = 1;
    double lastBlockX = 0.0;
    FigureExtents extents;
    int scrollStepM = 5;
};

/// A key pressed in the view. Ignored while a page is being printed.
ViewChange pressKey(const ViewNavigation& navigation, ViewKey key);

/// A scroll button of the tool bar.
ViewChange scrollView(const ViewNavigation& navigation, ScrollCommand command);

/// Shows a page kind from its first page, as the 表示 menu and tool bar do; the project's
/// settings line 1 records it.
void showPageKind(ViewPage page, ViewState& view, const FigureWindow& window, Project& project);

}  // namespace dorvo
