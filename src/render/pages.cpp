#include "render/pages.h"

#include "render/data_page.h"
#include "render/figure_page.h"
#include "render/results_page.h"

namespace dorvo {

void drawPage(Canvas& canvas, const RenderInputs& inputs) {
    switch (inputs.view.page) {
        case ViewPage::Data:
            layOutDataPage(canvas, inputs, PageMode::Drawing);
            break;
        case ViewPage::Results:
            layOutResultsPage(canvas, inputs, PageMode::Drawing);
            break;
        case ViewPage::Figure:
            drawFigurePage(canvas, inputs);
            break;
    }
}

int countPages(Canvas& canvas, const RenderInputs& inputs) {
    int pages = 1;
    switch (inputs.view.page) {
        case ViewPage::Data:
            pages = layOutDataPage(canvas, inputs, PageMode::Counting);
            break;
        case ViewPage::Results:
            pages = layOutResultsPage(canvas, inputs, PageMode::Counting);
            break;
        case ViewPage::Figure:
            pages = countFigurePages(inputs.project, inputs.setup);
            break;
    }
    if (inputs.view.currentPage > pages) inputs.view.currentPage = 1;
    return pages;
}

}  // namespace dorvo
