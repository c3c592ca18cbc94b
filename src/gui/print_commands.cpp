// SPDX-License-Identifier: GPL-3.0-or-later
// The print commands: 印刷, print to a file, 印刷ﾌﾟﾚﾋﾞｭｰ and ﾌﾟﾘﾝﾀの設定.
#include <QPageSetupDialog>

#include "gui/main_frame.h"
#include "gui/path_text.h"
#include "model/number_text.h"

namespace dorvo {

std::optional<int> CMainFrame::printedPageCount(const QString& title) {
    const PageSetup setup = session_.pageSetup();
    const RenderInputs inputs = session_.inputs(setup);
    session_.pages.view.printing = false;
    rememberScreenHeights(inputs, session_.pages);
    session_.pages.view.printing = true;
    const int shown = session_.pages.view.currentPage;
    // A result table of millions of records takes a while to count.
    const std::unique_ptr<PrintProgress> progress = printDialogs_->progress(title, 0, this);
    const std::optional<int> pages = pageCount(
        inputs, session_.pages, [&](int counted) { return progress->carryOn(counted, 0); });
    session_.pages.view.currentPage = shown;
    session_.pages.view.printing = false;
    return pages;
}

void CMainFrame::printRange(QPrinter& printer, int from, int to, const QString& title) {
    const PageSetup setup = session_.pageSetup();
    const std::unique_ptr<PrintProgress> progress =
        printDialogs_->progress(title, to - from + 1, this);
    const PrintOutcome outcome =
        printPages(printer, printer.resolution(), session_.inputs(setup), session_.pages, from, to,
                   [&](int done, int total) { return progress->carryOn(done, total); });
    if (outcome == PrintOutcome::Failed) {
        session_.user.report(literalMessage("印刷できませんでした"));
    }
}

void CMainFrame::print() {
    const std::optional<int> counted = printedPageCount(QStringLiteral("印刷"));
    if (!counted) return;
    const int pages = *counted;
    if (!printDialogs_->askToPrint(printer_, pages, this)) return;
    int from = 1;
    int to = pages;
    if (printer_.printRange() == QPrinter::PageRange) {
        from = std::max(1, printer_.fromPage());
        to = std::min(pages, printer_.toPage());
    } else if (printer_.printRange() == QPrinter::CurrentPage) {
        from = to = std::min(session_.pages.view.currentPage, pages);
    }
    if (!printer_.outputFileName().isEmpty()) {
        printToFile(toPath(printer_.outputFileName()), from, to);
        return;
    }
    printRange(printer_, from, to, QStringLiteral("印刷"));
}

bool CMainFrame::printToFile(const std::filesystem::path& file, int from, int to) {
    if (auto refused = exportOverProject(file, session_.document)) {
        session_.user.report(*refused);
        return false;
    }
    const PageSetup setup = session_.pageSetup();
    const std::unique_ptr<PrintProgress> progress =
        printDialogs_->progress(QStringLiteral("印刷"), to - from + 1, this);
    const Result<PrintOutcome> printed = printPagesToPdf(
        file, printer_.pageLayout(), printer_.resolution(), session_.inputs(setup), session_.pages,
        from, to, [&](int done, int total) { return progress->carryOn(done, total); });
    if (!printed) {
        session_.user.report(literalMessage("印刷できませんでした\n" + printed.error().text));
        return false;
    }
    return printed.value() == PrintOutcome::Printed;
}

void CMainFrame::printPreview() {
    const std::optional<int> counted = printedPageCount(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
    if (!counted) return;
    const int pages = *counted;
    // The preview keeps every page it shows in memory: a result table of millions of records
    // would fill the machine before the window opened.
    const int shown = std::min(pages, kPreviewPageLimit);
    if (shown < pages) {
        session_.user.report(
            literalMessage(formatC("印刷ﾌﾟﾚﾋﾞｭｰは最初の %d ページまでを表示します（全 %d ページ）。"
                                   "それより後のページは画面で↓のキーで見るか、印刷してください。",
                                   shown, pages)));
    }
    printDialogs_->preview(
        printer_,
        [this, shown](QPrinter& printer) {
            printRange(printer, 1, shown, QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
        },
        this);
}

void CMainFrame::printSetup() {
    QPageSetupDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QPageLayout layout = printer_.pageLayout();
    session_.paper = Paper{layout.pageSize(), layout.orientation()};
    session_.repaged();
}

}  // namespace dorvo
