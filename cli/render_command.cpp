// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_command.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QGuiApplication>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/design_analyses.h"
#include "calc/section.h"
#include "canvas_qt/page_export.h"
#include "gui_session.h"
#include "model/line_io.h"
#include "model/number_text.h"
#include "render/design_pages.h"
#include "render/fs_grid.h"
#include "render/method_critical.h"
#include "render/render_inputs.h"
#include "render_dxf.h"
#include "settings/working_files.h"
#include "show_command.h"
#include "temporary_file.h"

namespace dorvo::cli {

namespace {

std::optional<ViewPage> pageKind(const std::string& name) {
    if (name == "figure" || name == "restraint") return ViewPage::Figure;
    if (name == "data") return ViewPage::Data;
    if (name == "results") return ViewPage::Results;
    return std::nullopt;
}

std::string extensionOf(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

/// Why a PNG of the paper at this resolution is refused: its pixels alone would take
/// gigabytes of memory.
std::optional<Message> imageTooLarge(const Paper& paper, int dpi) {
    constexpr double kMostMegapixels = 200.0;
    QSizeF mm = paper.pageSize.size(QPageSize::Millimeter);
    if (paper.orientation == QPageLayout::Landscape) mm.transpose();
    const double width = std::round(mm.width() / 25.4 * dpi);
    const double height = std::round(mm.height() / 25.4 * dpi);
    const double megapixels = width * height / 1e6;
    if (megapixels <= kMostMegapixels) return std::nullopt;
    return literalMessage(
        formatC("a PNG of %.0f × %.0f pixels (%.0f megapixels) is larger than "
                "the %.0f megapixels allowed; lower --dpi",
                width, height, megapixels, kMostMegapixels));
}

/// Lays the pages of `state` out on the request's paper and writes them to its output.
int writePages(const Project& project, const std::filesystem::path& resultsFile, PageState& state,
               const RenderRequest& request, std::ostream& out, MessageSink& messages) {
    const std::string extension = extensionOf(request.output);
    std::optional<Paper> paper;
    if (request.paper) {
        paper = paperNamed(*request.paper, request.landscape);
        if (!paper) {
            messages.report(
                literalMessage("unknown paper " + *request.paper + " (A4, A3, B4, Letter)"));
            return 1;
        }
    } else {
        paper = defaultPrinterPaper();
        if (!paper) paper = localeDefaultPaper();
        if (request.landscape) paper->orientation = QPageLayout::Landscape;
    }

    const int dpi = request.dpi.value_or(extension == ".pdf"   ? 600
                                         : extension == ".png" ? 150
                                                               : 96);
    if (extension == ".png") {
        if (auto tooLarge = imageTooLarge(*paper, dpi)) {
            messages.report(*tooLarge);
            return 1;
        }
    }

    const Installation installation = readInstallationSettings(environmentFromProcess(), messages);
    PageSetup setup = makePageSetup(figureWindowWithDefaults(project), installation.settings,
                                    paper->widthMm(), paper->heightMm());
    state.view = {state.view.page, request.pageNumber, double(setup.figureLeftX), true};
    applyPaperDefaults(setup, state.view);
    const RenderInputs inputs{project,
                              installation.settings,
                              installation.margins,
                              installation.fonts,
                              setup,
                              resultsFile,
                              &messages};
    rememberScreenHeights(inputs, state);

    if (extension == ".pdf") {
        auto pages = writePdf(request.output, *paper, inputs, state, dpi);
        if (!pages) {
            messages.report(cannotWriteMessage(request.output));
            return 1;
        }
        out << "wrote " << request.output.string() << ": " << *pages << " page(s)\n";
        return 0;
    }
    const int pages = pageCount(inputs, state);
    if (request.pageNumber < 1 || request.pageNumber > pages) {
        messages.report(
            literalMessage(formatC("page %d does not exist (1 to %d)", request.pageNumber, pages)));
        return 1;
    }
    state.view.currentPage = request.pageNumber;
    const bool written = extension == ".png" ? writePng(request.output, *paper, inputs, state, dpi)
                                             : writeSvg(request.output, *paper, inputs, state, dpi);
    if (!written) {
        messages.report(cannotWriteMessage(request.output));
        return 1;
    }
    out << "wrote " << request.output.string() << ": page " << request.pageNumber << " of " << pages
        << "\n";
    return 0;
}

}  // namespace

int runRender(const RenderRequest& request, std::ostream& out, MessageSink& messages) {
    const auto page = pageKind(request.page);
    if (!page) {
        messages.report(literalMessage("unknown page kind " + request.page +
                                       " (figure, data, results or restraint)"));
        return 1;
    }
    const std::string extension = extensionOf(request.output);
    if (extension != ".pdf" && extension != ".png" && extension != ".svg" && extension != ".dxf") {
        messages.report(literalMessage("the output must end in .pdf, .png, .svg or .dxf"));
        return 1;
    }
    const bool dxf = extension == ".dxf";
    if (dxf && request.page != "figure") {
        messages.report(literalMessage("a DXF holds the figure's section: use --page figure"));
        return 1;
    }
    std::optional<GuiSession> gui;
    if (!dxf) gui.emplace();

    Project project;
    std::ostringstream results;
    if (!loadForCommandLine(request.project, project, results, messages)) return 1;
    // A section the calculation refuses would be drawn across thousands of pages.
    if (Result<Section> prepared = prepareSection(project); !prepared) {
        messages.report(prepared.error());
        return 2;
    }
    TemporaryFile resultsFile("dorvo-results");
    std::optional<TemporaryFile> dxfScratch;
    if (dxf) dxfScratch.emplace("dorvo-dxf");
    if (resultsFile.path().empty() || (dxfScratch && dxfScratch->path().empty())) {
        messages.report(literalMessage("cannot create a temporary file"));
        return 1;
    }
    if (request.interrupts != nullptr) {
        // Drawing cannot stop half way: a signal ends the program, without the files begun.
        std::vector<std::filesystem::path> begun = {resultsFile.path()};
        if (dxfScratch) begun.push_back(dxfScratch->path());
        request.interrupts->leaveAtOnceRemoving(begun);
        if (request.interrupts->stopToken().stop_requested()) return 1;
    }
    if (!writeFileAtomically(resultsFile.path(), [&](std::ostream& o) {
            o << results.str();
            return static_cast<bool>(o);
        })) {
        messages.report(literalMessage("cannot create a temporary file"));
        return 1;
    }
    if (dxf) {
        return renderDxf(project, request.method, resultsFile.path(), dxfScratch->path(),
                         request.output, out, messages);
    }

    std::optional<RestraintPage> restraintPage;
    PageState state;
    state.view.page = *page;
    state.figure = request.figure;
    if (request.method == SearchMethod::Bishop && request.page == "figure") {
        const std::optional<BishopSearch> bishop = searchByBishop(project, 0, {});
        if (!bishop) return 2;
        if (request.figure.contours) {
            state.figure.contourMinima = centreLabelsOf(bishop->centreMinima);
        }
        state.figure.methodCritical = bishopCriticalOf(*bishop);
    }
    if (request.page == "restraint" || request.plannedFs) {
        const auto force = restraintForceOfResults(project, resultsFile.path(),
                                                   request.plannedFs.value_or(kDefaultPlannedFs));
        if (!force) {
            messages.report(force.error());
            return 1;
        }
        if (request.page == "restraint") {
            restraintPage.emplace(force.value());
            state.analysis = &*restraintPage;
        } else {
            state.figure.restraint = restraintMarkOf(force.value());
        }
    }
    return writePages(project, resultsFile.path(), state, request, out, messages);
}

int renderAnalysisPage(const Project& project, const AnalysisPage& page,
                       const std::filesystem::path& output, std::ostream& out,
                       MessageSink& messages) {
    const std::string extension = extensionOf(output);
    if (extension != ".pdf" && extension != ".png" && extension != ".svg") {
        messages.report(literalMessage("the page must go to a file ending in .pdf, .png or .svg"));
        return 1;
    }
    GuiSession gui;
    RenderRequest request;
    request.output = output;
    PageState state;
    state.analysis = &page;
    return writePages(project, {}, state, request, out, messages);
}

}  // namespace dorvo::cli
