// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/view_commands.h"

#include <cmath>

#include "model/number_text.h"

namespace dorvo {

namespace {

double pageStep(const FigureWindow& window) {
    return double(window.pageWidthM) - double(window.pageOverlapM);
}

ViewChange pageTables(ViewState& view, int pages, ViewKey key) {
    switch (key) {
        case ViewKey::Up:
        case ViewKey::PageUp:
            if (view.currentPage > 1) --view.currentPage;
            return ViewChange::Repaint;
        case ViewKey::Down:
        case ViewKey::PageDown:
            if (view.currentPage < pages) ++view.currentPage;
            return ViewChange::Repaint;
        default:
            return ViewChange::None;
    }
}

ViewChange pageFigure(const ViewNavigation& n, ViewKey key) {
    ViewState& view = n.view;
    const FigureWindow& window = n.window;
    if (key == ViewKey::Left) {
        if (std::fabs(view.figurePageLeftX - window.figureLeftX) > 0.0001) {
            view.figurePageLeftX -= pageStep(window);
            if (view.figurePageLeftX < window.figureLeftX)
                view.figurePageLeftX = window.figureLeftX;
        }
        if (view.currentPage > 1) --view.currentPage;
        return ViewChange::Repaint;
    }
    if (key == ViewKey::Right) {
        if (window.pageWidthM + view.figurePageLeftX > n.lastBlockX + 1.0) return ViewChange::None;
        view.figurePageLeftX += pageStep(window);
        if (view.currentPage < n.pageCount) ++view.currentPage;
        return ViewChange::Repaint;
    }
    return ViewChange::None;
}

ViewChange scrollFigure(const ViewNavigation& n, ScrollCommand command) {
    FigureWindow& window = n.window;
    const int step = n.scrollStepM;
    switch (command) {
        case ScrollCommand::Left:
            if (double(window.figureLeftX) + window.pageWidthM < 5) return ViewChange::Refused;
            window.figureLeftX -= step;
            n.view.figurePageLeftX -= step;
            return ViewChange::Repaint;
        case ScrollCommand::Right:
            if (window.figureLeftX >= n.extents.x) return ViewChange::Refused;
            window.figureLeftX += step;
            n.view.figurePageLeftX += step;
            return ViewChange::Repaint;
        case ScrollCommand::Up:
            if (window.figureTopY - window.pageDepthM >= n.extents.y) return ViewChange::Refused;
            window.figureTopY += step;
            return ViewChange::Repaint;
        case ScrollCommand::Down:
            if (!(window.figureTopY > 5.0)) return ViewChange::Refused;
            window.figureTopY -= step;
            return ViewChange::Repaint;
    }
    return ViewChange::Repaint;
}

}  // namespace

ViewChange pressKey(const ViewNavigation& navigation, ViewKey key) {
    ViewState& view = navigation.view;
    if (view.printing) return ViewChange::None;
    if (view.currentPage > navigation.pageCount) view.currentPage = 1;
    if (view.page == ViewPage::Data || view.page == ViewPage::Results) {
        return pageTables(view, navigation.pageCount, key);
    }
    return pageFigure(navigation, key);
}

ViewChange scrollView(const ViewNavigation& navigation, ScrollCommand command) {
    ViewState& view = navigation.view;
    if (view.page == ViewPage::Figure) return scrollFigure(navigation, command);
    if (command == ScrollCommand::Left || command == ScrollCommand::Right) {
        return ViewChange::None;
    }
    const int pages = navigation.pageCount;
    if (command == ScrollCommand::Up) {
        if (view.currentPage > pages) {
            view.currentPage = 1;
        } else if (view.currentPage > 1) {
            --view.currentPage;
        }
    } else {
        // Back to the first page when beyond the last, and then on to the next.
        if (view.currentPage > pages) view.currentPage = 1;
        if (view.currentPage < pages) ++view.currentPage;
    }
    return ViewChange::Repaint;
}

void showPageKind(ViewPage page, ViewState& view, const FigureWindow& window, Project& project) {
    project.settings.line(settings_line::kViewPage) = formatInt(static_cast<int>(page));
    view.page = page;
    view.currentPage = 1;
    if (page == ViewPage::Figure) {
        view.figurePageLeftX = returnToFirstPage(view.figurePageLeftX, window);
    }
}

}  // namespace dorvo
