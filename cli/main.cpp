// SPDX-License-Identifier: GPL-3.0-or-later
#include <CLI/CLI.hpp>

#include <algorithm>
#include <clocale>
#include <iostream>
#include <optional>
#include <sstream>

#include <unistd.h>

#include "calc/circle_search_run.h"
#include "calc_command.h"
#include "calc_json.h"
#include "dorvo_version.h"
#include "explain_command.h"
#include "interrupt_watch.h"
#include "number_options.h"
#include "render_command.h"
#include "show_command.h"

namespace {

/// Prints the core's messages on standard error.
class StderrMessages : public dorvo::MessageSink {
  public:
    void report(const dorvo::Message& message) override {
        std::cerr << "dorvo-cli: " << dorvo::withPlace(message) << "\n";
    }
};

int runShow(const std::string& file) {
    StderrMessages messages;
    dorvo::Project project;
    std::ostringstream results;
    auto resultLines = dorvo::cli::loadForCommandLine(file, project, results, messages);
    if (!resultLines) return 1;
    dorvo::cli::printProject(project, *resultLines, std::cout);
    return 0;
}

/// Reads --decimals and --threads into the request; a value outside its range is refused
/// with a line naming the range, and more threads than the search starts with a note.
bool readCalcNumbers(const std::optional<std::string>& decimals,
                     const std::optional<std::string>& threads, dorvo::cli::CalcRequest& calc) {
    if (decimals) {
        calc.decimals = dorvo::cli::wholeNumberIn(*decimals, 2, 4);
        if (!calc.decimals) {
            std::cerr << "dorvo-cli: --decimals takes 2, 3 or 4\n";
            return false;
        }
    }
    if (threads) {
        constexpr int kMostThreads = 1024;
        const auto count = dorvo::cli::wholeNumberIn(*threads, 0, kMostThreads);
        if (!count) {
            std::cerr << "dorvo-cli: --threads takes a whole number from 0 (one per core) to "
                      << kMostThreads << "\n";
            return false;
        }
        calc.threads = std::min(*count, dorvo::maxSearchThreads());
        if (calc.threads < *count) {
            std::cerr << "dorvo-cli: --threads " << *count << " is more than 4 per core; using "
                      << calc.threads << "\n";
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    CLI::App app{"Dorvo: factor of safety of earth slopes against circular slip"};
    app.require_subcommand(1);
    app.set_version_flag("--version", dorvo::versionText("dorvo-cli"));
    app.footer(
        "Each command has its own --help.\n"
        "\n"
        "Exit status:\n"
        "  0        the command did what it was asked\n"
        "  1        a file could not be read or written, or is no project (calc --json:\n"
        "           a project failed)\n"
        "  2        the input was refused, with a message saying why\n"
        "  100-127  the command line was not understood, with a message saying why\n"
        "  130      stopped by Ctrl-C (SIGINT)\n"
        "  141      stopped by a reader that closed the pipe (SIGPIPE)\n"
        "  143      stopped by a kill (SIGTERM)\n"
        "A command that is stopped removes the files it has begun and keeps its earlier "
        "outputs.");

    std::string showFile;
    CLI::App* show = app.add_subcommand("show", "Print the tables of a project file");
    show->add_option("file", showFile, "Project file (.slw)")->required();

    dorvo::cli::CalcRequest calc;
    std::vector<std::string> calcFiles;
    bool json = false;
    CLI::App* calcCommand =
        app.add_subcommand("calc", "Compute every circle of a project's slip-circle search");
    calcCommand->add_option("files", calcFiles, "Project files (.slw); several with --json")
        ->required();
    calcCommand->add_flag("--json", json,
                          "Write one JSON document about every project named (critical circle, "
                          "Bishop Fs, counts, per-centre minima, warnings)");
    calcCommand->add_option("--records", calc.recordsPath,
                            "Write the result records to this file ('-' for standard output)");
    calcCommand->add_flag("--save", calc.save, "Save the project with its new results");
    std::optional<std::string> decimals;
    std::optional<std::string> threads;
    calcCommand->add_option("--decimals", decimals, "Decimals of Fs in the records (2 to 4)");
    calcCommand->add_option("--threads", threads,
                            "Threads to use (default: one per core; at most 4 per core)");

    dorvo::cli::ExplainRequest explain;
    std::vector<double> explainCircle;
    CLI::App* explainCommand = app.add_subcommand(
        "explain", "List every element of one circle's evaluation and their sums");
    explainCommand->add_option("file", explain.project, "Project file (.slw)")->required();
    explainCommand->add_option("--circle", explainCircle, "RX RY R (default: the critical circle)")
        ->expected(3);
    explainCommand->add_flag("--csv", explain.csv, "Comma-separated values");

    dorvo::cli::RenderRequest render;
    std::string renderFile;
    std::string renderOutput;
    CLI::App* renderCommand = app.add_subcommand(
        "render",
        "Draw the figure, the data tables or the result table to PDF, PNG or SVG, or the "
        "figure's section to DXF");
    renderCommand->add_option("file", renderFile, "Project file (.slw)")->required();
    renderCommand->add_option("--page", render.page, "Page kind: figure, data or results")
        ->check(CLI::IsMember({"figure", "data", "results"}));
    renderCommand->add_option("-o,--output", renderOutput, "Output file: .pdf, .png, .svg or .dxf")
        ->required();
    renderCommand->add_option("--page-number", render.pageNumber,
                              "The page drawn to PNG or SVG (default 1)");
    renderCommand->add_option("--dpi", render.dpi, "Resolution (default: PDF 600, PNG 150, SVG 96)")
        ->check(CLI::Range(36, 2400));
    renderCommand
        ->add_option("--paper", render.paper,
                     "Paper: A4, A3, B4 or Letter (default: the printer's, else A4)")
        ->check(CLI::IsMember({"A4", "A3", "B4", "Letter"}));
    renderCommand->add_flag("--landscape", render.landscape, "Turn the paper to landscape");
    renderCommand->add_flag("--contours", render.figure.contours,
                            "Figure: bands of the minimum Fs of each centre, with a legend");
    renderCommand->add_flag("--annotate", render.figure.annotate,
                            "Figure: load values, the critical circle's Fs, centre and radius, "
                            "the scale and a legend of the soil layers");

    CLI11_PARSE(app, argc, argv);
    // Ctrl-C, a kill or a reader that went away stop the command, which leaves no file behind.
    dorvo::cli::InterruptWatch interrupts;
    int status = 1;
    if (show->parsed()) status = runShow(showFile);
    if (calcCommand->parsed()) {
        if (!readCalcNumbers(decimals, threads, calc)) return 2;
        StderrMessages messages;
        calc.stop = interrupts.stopToken();
        if (json) {
            std::vector<std::filesystem::path> files(calcFiles.begin(), calcFiles.end());
            status = dorvo::cli::runCalcJson(files, calc, std::cout);
        } else if (calcFiles.size() != 1) {
            messages.report(dorvo::literalMessage("calc takes one project; several with --json"));
            status = 2;
        } else {
            calc.project = calcFiles.front();
            calc.showProgress = ::isatty(2) != 0;
            status = dorvo::cli::runCalc(calc, std::cout, messages);
        }
    }
    if (explainCommand->parsed()) {
        StderrMessages messages;
        if (!explainCircle.empty()) {
            explain.circle = {explainCircle[0], explainCircle[1], explainCircle[2]};
        }
        status = dorvo::cli::runExplain(explain, std::cout, messages);
    }
    if (renderCommand->parsed()) {
        StderrMessages messages;
        render.project = renderFile;
        render.output = renderOutput;
        render.interrupts = &interrupts;
        status = dorvo::cli::runRender(render, std::cout, messages);
    }
    return interrupts.signalNumber() != 0 ? interrupts.exitStatus() : status;
}
