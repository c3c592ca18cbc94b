// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/pages.h"

#include "render/analysis_page.h"
#include "render/data_page.h"
#include "render/figure_page.h"
#include "render/results_page.h"

namespace dorvo {

void drawPage(Canvas& canvas, const RenderInputs& inputs, PageState& state) {
    if (state.analysis != nullptr) {
        state.analysis->layOut(canvas, inputs, state, PageMode::Drawing);
        return;
    }
    switch (state.view.page) {
        case ViewPage::Data:
            layOutDataPage(canvas, inputs, state, PageMode::Drawing);
            break;
        case ViewPage::Results:
            layOutResultsPage(canvas, inputs, state, PageMode::Drawing);
            break;
        case ViewPage::Figure:
            drawFigurePage(canvas, inputs, state);
            break;
    }
}

int countPages(Canvas& canvas, const RenderInputs& inputs, PageState& state) {
    return *countPages(canvas, inputs, state, {});
}

std::optional<int> countPages(Canvas& canvas, const RenderInputs& inputs, PageState& state,
                              const CountingCheck& carryOn) {
    int pages = 1;
    if (state.analysis != nullptr) {
        pages = state.analysis->layOut(canvas, inputs, state, PageMode::Counting);
        if (state.view.currentPage > pages) state.view.currentPage = 1;
        return pages;
    }
    switch (state.view.page) {
        case ViewPage::Data:
            pages = layOutDataPage(canvas, inputs, state, PageMode::Counting);
            break;
        case ViewPage::Results: {
            const std::optional<int> counted = countResultPages(canvas, inputs, state, carryOn);
            if (!counted) return std::nullopt;
            pages = *counted;
            break;
        }
        case ViewPage::Figure:
            pages = countFigurePages(inputs.project, inputs.setup);
            break;
    }
    if (state.view.currentPage > pages) state.view.currentPage = 1;
    return pages;
}

}  // namespace dorvo
