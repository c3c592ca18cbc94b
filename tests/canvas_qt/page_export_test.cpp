// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_qt/page_export.h"

#include <gtest/gtest.h>

#include <QPrinter>

#include <QImage>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/calculation.h"
#include "canvas_qt/qpainter_canvas.h"
#include "model/project_file.h"
#include "render/pages.h"
#include "settings/working_files.h"
#include "support/memory_message_sink.h"
#include "support/recording_canvas.h"
#include "support/render_fixture.h"

namespace dorvo {
namespace {

/// The bundled example after a calculation, set up as the command line prints it.
class ExampleExport : public ::testing::Test {
  protected:
    ExampleExport() {
        std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
        std::ostringstream oldResults;
        EXPECT_TRUE(readProjectLines(f.project, in, oldResults, "example", messages));
        messages.take(calculateInto(f.resultsFile, f.project, {}, nullptr));
        f.setup = makePageSetup(figureWindowWithDefaults(f.project), f.settings, paper.widthMm(),
                                paper.heightMm());
        f.state.view.printing = true;
    }

    int pdfPages(const std::filesystem::path& file) {
        const std::string bytes = test::readBytes(file);
        const std::regex page("/Type /Page[^s]");
        return int(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page),
                                 std::sregex_iterator()));
    }

    /// The share of pixels that are not white.
    double inkOf(const std::filesystem::path& file) {
        QImage image(QString::fromStdString(file.string()));
        if (image.isNull()) return 0.0;
        long ink = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2)
                ink += image.pixel(x, y) != qRgb(255, 255, 255);
        }
        return double(ink) / (double(image.width()) * image.height() / 4.0);
    }

    test::RenderFixture f;
    test::MemoryMessageSink messages;
    Paper paper = *paperNamed("A4", false);
};

TEST_F(ExampleExport, EveryPageKindWritesAPdfWithItsPagesAndAPngWithInk) {
    for (ViewPage page : {ViewPage::Figure, ViewPage::Data, ViewPage::Results}) {
        f.state.view.page = page;
        const auto pdf = f.folder.path() / "page.pdf";
        auto written = writePdf(pdf, paper, f.inputs(), f.state, 300);
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(pdfPages(pdf), *written);
        EXPECT_EQ(*written, pageCount(f.inputs(), f.state));
        EXPECT_GE(*written, page == ViewPage::Results ? 20 : 2);

        const auto png = f.folder.path() / "page.png";
        f.state.view.currentPage = 1;
        ASSERT_TRUE(writePng(png, paper, f.inputs(), f.state, 100));
        const QImage image(QString::fromStdString(png.string()));
        EXPECT_EQ(image.width(), 827);  // 210 mm at 100 dpi
        EXPECT_GT(inkOf(png), 0.005) << "page kind " << int(page);
    }
}

TEST_F(ExampleExport, PrinterGetsThePageRangeAskedForAndTheViewKeepsItsPage) {
    f.state.view.page = ViewPage::Results;
    f.state.view.currentPage = 7;
    f.state.view.printing = false;  // as the screen shows it
    const auto pdf = f.folder.path() / "printed.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setPageSize(paper.pageSize);
    std::vector<std::pair<int, int>> told;
    ASSERT_EQ(printPages(printer, printer.resolution(), f.inputs(), f.state, 2, 4,
                         [&](int done, int total) {
                             told.emplace_back(done, total);
                             return true;
                         }),
              PrintOutcome::Printed);
    EXPECT_EQ(pdfPages(pdf), 3);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));
    EXPECT_EQ(f.state.view.currentPage, 7);
    EXPECT_FALSE(f.state.view.printing);

    // Stopped before its second page: the view is as it was.
    EXPECT_EQ(printPages(printer, printer.resolution(), f.inputs(), f.state, 2, 4,
                         [](int done, int) { return done < 1; }),
              PrintOutcome::Cancelled);
    EXPECT_EQ(f.state.view.currentPage, 7);
    EXPECT_FALSE(f.state.view.printing);
}

TEST_F(ExampleExport, FilesBreakWhereTheScreenBreaksWhenTheRowHeightsNearlyAgree) {
    f.state.view.page = ViewPage::Results;
    f.fonts[font_slot::kResultTables - 1].sizePoints = 10;  // 13 px on the screen, 2.5 % short
    f.state.view.printing = false;
    test::RecordingCanvas screen(96);
    const int onScreen = countPages(screen, f.inputs(), f.state);
    f.state.view.printing = true;
    rememberScreenHeights(f.inputs(), f.state);
    EXPECT_EQ(pageCount(f.inputs(), f.state), onScreen);
    EXPECT_EQ(writePdf(f.folder.path() / "results.pdf", paper, f.inputs(), f.state, 600), onScreen);
}

TEST_F(ExampleExport, SvgHoldsTheHeadingInJapanese) {
    f.state.view.page = ViewPage::Figure;
    f.state.view.currentPage = 1;
    const auto svg = f.folder.path() / "figure.svg";
    ASSERT_TRUE(writeSvg(svg, paper, f.inputs(), f.state, 96));
    const std::string text = test::readBytes(svg);
    EXPECT_NE(text.find("計算結果図"), std::string::npos);  // Qt splits runs by script
    EXPECT_NE(text.find("IPAMincho"), std::string::npos);
}

TEST_F(ExampleExport, OutputThatCannotBeWrittenIsAFailureEvenWhenItsNameExists) {
    f.state.view.page = ViewPage::Figure;
    for (const char* name : {"taken.svg", "taken.png", "taken.pdf"}) {
        const auto taken = f.folder.path() / name;
        std::filesystem::create_directory(taken);  // exists, but no file can replace it
        const bool written = taken.extension() == ".svg"
                                 ? writeSvg(taken, paper, f.inputs(), f.state, 96)
                             : taken.extension() == ".png"
                                 ? writePng(taken, paper, f.inputs(), f.state, 96)
                                 : writePdf(taken, paper, f.inputs(), f.state, 96).has_value();
        EXPECT_FALSE(written) << name;
        EXPECT_TRUE(std::filesystem::is_directory(taken));
    }
}

TEST_F(ExampleExport, LandscapeA3HasTheLargerSize) {
    Paper a3 = *paperNamed("A3", true);
    EXPECT_EQ(a3.widthMm(), 420);
    EXPECT_EQ(a3.heightMm(), 297);
    Paper b4 = *paperNamed("B4", false);
    EXPECT_EQ(b4.widthMm(), 257);
    EXPECT_EQ(paperNamed("A5", false), std::nullopt);
}

TEST(QPainterCanvas, WindowsColoursAndFaces) {
    EXPECT_EQ(toQColor(0x0000ff), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0x008000), QColor(0, 128, 0));
    EXPECT_EQ(installedFamilyFor(QStringLiteral("ＭＳ 明朝")), QStringLiteral("IPAMincho"));
    EXPECT_EQ(installedFamilyFor(QStringLiteral("ＭＳ ゴシック")), QStringLiteral("IPAGothic"));
    EXPECT_EQ(installedFamilyFor(QStringLiteral("No Such Face")), QStringLiteral("IPAMincho"));
}

}  // namespace
}  // namespace dorvo
