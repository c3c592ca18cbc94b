// SPDX-License-Identifier: GPL-3.0-or-later
// Printing and its preview on a result table far longer than a preview can hold: the preview
// lays out its first pages only and says so, and both stop when the user asks, while the
// pages are counted as well as while they are printed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <thread>

#include "calc/result_records.h"
#include "gui/dorvo_view.h"
#include "gui/print_dialogs.h"
#include "gui_fixture.h"
#include "model/number_text.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;
using test::DesktopFixture;

/// Prints to a PDF in the test's folder instead of asking, stops the count of the pages when it
/// reaches `stopCountingAt` and the printing after `stopAfter` pages.
class ScriptedPrintDialogs : public PrintDialogs {
  public:
    explicit ScriptedPrintDialogs(fs::path pdf) : pdf_(std::move(pdf)) {}

    bool askToPrint(QPrinter& printer, int pages, QWidget*) override {
        asked = pages;
        toPdf(printer);
        return true;
    }
    void preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint,
                 QWidget*) override {
        ++previews;
        toPdf(printer);
        paint(printer);
    }
    std::unique_ptr<PrintProgress> progress(const QString&, int total, QWidget*) override {
        if (total == 0) return std::make_unique<Counting>(*this);
        totals.push_back(total);
        return std::make_unique<Progress>(*this);
    }

    int asked = 0;
    int previews = 0;
    std::vector<int> totals;  // of the printings' progress
    int pagesStarted = 0;
    int stopAfter = -1;
    int counted = 0;  // pages the last count reached
    int stopCountingAt = -1;

  private:
    struct Progress : PrintProgress {
        explicit Progress(ScriptedPrintDialogs& dialogs) : owner(dialogs) {}
        bool carryOn(int done, int) override {
            if (done == owner.stopAfter) return false;
            ++owner.pagesStarted;
            return true;
        }
        ScriptedPrintDialogs& owner;
    };
    struct Counting : PrintProgress {
        explicit Counting(ScriptedPrintDialogs& dialogs) : owner(dialogs) {}
        bool carryOn(int done, int) override {
            owner.counted = done;
            return done != owner.stopCountingAt;
        }
        ScriptedPrintDialogs& owner;
    };

    void toPdf(QPrinter& printer) const {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf_.string()));
    }

    fs::path pdf_;
};

/// The example with a results file of `centres` centres of 49 circles each, its result table
/// shown.
struct LongResultTable : DesktopFixture {
    explicit LongResultTable(int centres) : dialogs(folder.path() / "printed.pdf") {
        EXPECT_TRUE(frame->openProject(exampleCopy()));
        std::ofstream out(session.installation.resultsFile(), std::ios::binary | std::ios::trunc);
        out << "$$CSV\r\n018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS\r\n";
        for (int centre = 0; centre < centres; ++centre) {
            out << firstCircleRecord(40.0 + centre % 15, 14.0 + centre / 15, 5.0, 500.0, 1000.0,
                                     250.0, 1250.0, 2.5, 3)
                << "\r\n";
            for (int k = 1; k < 49; ++k) {
                out << nextCircleRecord(5.0 + 0.2 * k, 500.0, 1000.0, 250.0, 1250.0, 2.5, 3)
                    << "\r\n";
            }
            out << minimumRecord(40.0 + centre % 15, 14.0 + centre / 15, 5.0, 2.5, 3) << "\r\n";
        }
        out << "801,----\r\n$$END\r\n";
        out.close();
        frame->action(command::kShowResults)->trigger();
        frame->setPrintDialogs(dialogs);
    }

    bool reported(const std::string& part) const {
        for (const Message& message : user.messages) {
            if (message.text.find(part) != std::string::npos) return true;
        }
        return false;
    }

    ScriptedPrintDialogs dialogs;
};

TEST(Printing, PreviewOfAResultTableLongerThanItsLimitLaysOutTheFirstPagesAndSaysSo) {
    LongResultTable table(600);  // 30,000 rows
    table.frame->action(command::kPrintPreview)->trigger();
    EXPECT_EQ(table.dialogs.previews, 1);
    EXPECT_EQ(table.dialogs.totals, std::vector<int>{kPreviewPageLimit});
    EXPECT_EQ(table.dialogs.pagesStarted, kPreviewPageLimit);
    ASSERT_EQ(table.user.messages.size(), 1u);
    EXPECT_TRUE(table.reported(formatC("最初の %d ページ", kPreviewPageLimit)))
        << table.user.messages[0].text;
    EXPECT_EQ(table.session.pages.view.currentPage, 1);
    EXPECT_FALSE(table.session.pages.view.printing);
}

TEST(Printing, PreviewAndPrintingStopWhenAskedAndReportNoFailure) {
    LongResultTable table(20);
    table.dialogs.stopAfter = 2;
    table.frame->action(command::kPrintPreview)->trigger();
    EXPECT_EQ(table.dialogs.pagesStarted, 2);
    EXPECT_TRUE(table.user.messages.empty());  // a short table: no limit to tell of

    table.dialogs.pagesStarted = 0;
    table.frame->action(command::kPrint)->trigger();
    EXPECT_GT(table.dialogs.asked, 2);
    EXPECT_EQ(table.dialogs.totals.back(), table.dialogs.asked);
    EXPECT_EQ(table.dialogs.pagesStarted, 2);
    EXPECT_FALSE(table.reported("印刷できませんでした"));
    EXPECT_FALSE(table.session.pages.view.printing);
}

TEST(Printing, StoppingThePageCountPrintsNothingAndLeavesTheViewAsItWas) {
    LongResultTable table(600);
    table.session.pages.view.currentPage = 3;
    table.dialogs.stopCountingAt = 5;
    for (const int command : {command::kPrint, command::kPrintPreview}) {
        table.dialogs.counted = 0;
        table.frame->action(command)->trigger();
        EXPECT_EQ(table.dialogs.counted, 5) << command;
        EXPECT_EQ(table.dialogs.asked, 0) << command;
        EXPECT_EQ(table.dialogs.previews, 0) << command;
        EXPECT_TRUE(table.dialogs.totals.empty()) << command;
        EXPECT_TRUE(table.user.messages.empty()) << command;
        EXPECT_FALSE(fs::exists(table.folder.path() / "printed.pdf")) << command;
        EXPECT_EQ(table.session.pages.view.currentPage, 3) << command;
        EXPECT_FALSE(table.session.pages.view.printing) << command;
        // A count cut short is no count: the next one goes on to the end.
        EXPECT_EQ(table.session.pages.resultPages.pageCount, 0) << command;
    }
    // A count let run to its end goes on to the print dialog.
    table.dialogs.stopCountingAt = -1;
    table.dialogs.stopAfter = 1;
    table.frame->action(command::kPrint)->trigger();
    EXPECT_GT(table.dialogs.counted, 5);
    EXPECT_GT(table.dialogs.asked, 5);
}

/// Counts the pages under the desktop's progress box, and prints as scripted.
class CountingInTheDesktopsBox : public ScriptedPrintDialogs {
  public:
    using ScriptedPrintDialogs::ScriptedPrintDialogs;
    std::unique_ptr<PrintProgress> progress(const QString& title, int total,
                                            QWidget* parent) override {
        if (total != 0) return ScriptedPrintDialogs::progress(title, total, parent);
        return desktop_.progress(title, total, parent);
    }

  private:
    DesktopPrintDialogs desktop_;
};

TEST(Printing, TheCountsProgressBoxCancelButtonStopsTheCountBeforeThePrintDialog) {
    LongResultTable table(100);
    CountingInTheDesktopsBox dialogs(table.folder.path() / "printed.pdf");
    table.frame->setPrintDialogs(dialogs);
    // The box shows itself only after a while; its button works before that.
    int clicked = 0;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&clicked] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(widget);
            if (dialog == nullptr) continue;
            if (auto* cancel = dialog->findChild<QPushButton*>()) {
                cancel->click();
                ++clicked;
            }
        }
    });
    clicker.start(0);
    table.frame->action(command::kPrint)->trigger();
    clicker.stop();
    EXPECT_GT(clicked, 0);
    EXPECT_EQ(dialogs.asked, 0);
    EXPECT_TRUE(dialogs.totals.empty());
    EXPECT_FALSE(table.session.pages.view.printing);
}

TEST(Printing, ProgressDialogsCancelButtonStopsThePrinting) {
    DesktopPrintDialogs dialogs;
    const std::unique_ptr<PrintProgress> progress =
        dialogs.progress(QStringLiteral("印刷"), 2000, nullptr);
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(widget);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            if (auto* cancel = dialog->findChild<QPushButton*>()) cancel->click();
        }
    });
    clicker.start(20);
    int done = 0;
    while (done < 2000 && progress->carryOn(done, 2000)) {
        ++done;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_LT(done, 2000);
}

}  // namespace
}  // namespace dorvo
