// SPDX-License-Identifier: GPL-3.0-or-later
#include <CLI/CLI.hpp>

#include <algorithm>
#include <clocale>
#include <iostream>
#include <optional>
#include <sstream>

#include <unistd.h>

#include "app/design_analyses.h"
#include "calc/circle_search_run.h"
#include "calc_command.h"
#include "calc_json.h"
#include "design_commands.h"
#include "dorvo_version.h"
#include "explain_command.h"
#include "interrupt_watch.h"
#include "number_options.h"
#include "probability_command.h"
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

/// The planned Fs of --restraint: 1.20 when the option has no value.
std::optional<double> readPlannedFs(const std::string& typed) {
    const dorvo::Result<double> fs = dorvo::typedPlannedFs(typed);
    if (!fs) {
        std::cerr << "dorvo-cli: " << fs.error().text << "\n";
        return std::nullopt;
    }
    return fs.value();
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
    std::string calcMethod = "ordinary";
    calcCommand
        ->add_option("--method", calcMethod,
                     "Whose minima the summary, JSON and warnings report: ordinary (default) or "
                     "bishop (searches the grid by simplified Bishop; the records stay ordinary)")
        ->check(CLI::IsMember({"ordinary", "bishop"}));
    calcCommand->add_option("--bishop-csv", calc.bishopCsvPath,
                            "Search by simplified Bishop too and write its per-centre minima "
                            "(Rx, Ry, R, Fs) to this CSV file");
    std::optional<std::string> decimals;
    std::optional<std::string> threads;
    calcCommand->add_option("--decimals", decimals, "Decimals of Fs in the records (2 to 4)");
    calcCommand->add_option("--threads", threads,
                            "Threads to use (default: one per core; at most 4 per core)");
    std::optional<std::string> calcRestraint;
    calcCommand
        ->add_option("--restraint", calcRestraint,
                     "Also give the restraint force per metre that each circle needs to reach "
                     "this planned Fs (default 1.20): the governing circle, the critical "
                     "circle's and each centre's largest")
        ->expected(0, 1)
        ->default_str("");

    dorvo::cli::ExplainRequest explain;
    std::vector<double> explainCircle;
    CLI::App* explainCommand = app.add_subcommand(
        "explain", "List every element of one circle's evaluation and their sums");
    explainCommand->add_option("file", explain.project, "Project file (.slw)")->required();
    explainCommand->add_option("--circle", explainCircle, "RX RY R (default: the critical circle)")
        ->expected(3);
    explainCommand->add_flag("--csv", explain.csv, "Comma-separated values");
    std::string explainMethod = "ordinary";
    explainCommand
        ->add_option("--method", explainMethod,
                     "Whose critical circle to explain: ordinary (default) or bishop")
        ->check(CLI::IsMember({"ordinary", "bishop"}));

    dorvo::cli::BackAnalyseRequest back;
    std::vector<double> backCircle;
    std::vector<double> backEnds;
    std::optional<std::string> backC;
    std::optional<std::string> backPhi;
    std::string backPrint;
    CLI::App* backCommand = app.add_subcommand(
        "backanalyse",
        "Find the strengths (Co, phi) of a layer for which a circle has a given Fs (a moving "
        "slope: 1.00)");
    backCommand->add_option("file", back.project, "Project file (.slw)")->required();
    backCommand->add_option("--fs", back.targetFs, "The circle's current Fs (default 1.00)");
    backCommand->add_option("--layer", back.layerNo, "Layer No. that carries the slip surface")
        ->required();
    auto* backCircleOption = backCommand->add_option(
        "--circle", backCircle, "RX RY R (default: the critical circle of the search)");
    backCircleOption->expected(3);
    backCommand
        ->add_option("--ends", backEnds,
                     "X1 Y1 X2 Y2 DEPTH: the circle through the slip surface's two ends whose "
                     "arc lies DEPTH below the middle of their chord")
        ->expected(5)
        ->excludes(backCircleOption);
    auto* backCOption =
        backCommand->add_option("--c", backC, "Choose Co: give the phi on the line");
    backCommand->add_option("--phi", backPhi, "Choose phi (degrees): give the Co on the line")
        ->excludes(backCOption);
    backCommand->add_flag("--json", back.json, "Write the result as JSON");
    backCommand->add_option("--print", backPrint, "Also draw the page to PDF, PNG or SVG");

    dorvo::cli::SensitivityRequest sensitivity;
    std::vector<std::string> sensitivityLimits;
    std::string sensitivityPrint;
    std::optional<std::string> sensitivityThreads;
    CLI::App* sensitivityCommand = app.add_subcommand(
        "sensitivity",
        "Vary each layer's gamma1, gamma2, phi, Co and k, Kh and each load by +-10 % in turn "
        "and give the minimum Fs of each whole search, ordered by its swing");
    sensitivityCommand->add_option("file", sensitivity.project, "Project file (.slw)")->required();
    auto* percentOption = sensitivityCommand->add_option("--percent", sensitivity.percent,
                                                         "Vary by +-P % (default 10)");
    sensitivityCommand
        ->add_option("--limits", sensitivityLimits, "LOW HIGH: vary from LOW % to HIGH %")
        ->expected(2)
        ->excludes(percentOption);
    sensitivityCommand->add_option("--threads", sensitivityThreads,
                                   "Threads of each search (default: one per core)");
    sensitivityCommand->add_flag("--json", sensitivity.json, "Write the result as JSON");
    sensitivityCommand->add_option("--print", sensitivityPrint,
                                   "Also draw the page to PDF, PNG or SVG");

    dorvo::cli::RenderRequest render;
    std::string renderFile;
    std::string renderOutput;
    CLI::App* renderCommand = app.add_subcommand(
        "render",
        "Draw the figure, the data tables or the result table to PDF, PNG or SVG, or the "
        "figure's section to DXF");
    renderCommand->add_option("file", renderFile, "Project file (.slw)")->required();
    renderCommand
        ->add_option("--page", render.page,
                     "Page kind: figure, data, results or restraint (the restraint forces of "
                     "the stored results)")
        ->check(CLI::IsMember({"figure", "data", "results", "restraint"}));
    renderCommand->add_option("-o,--output", renderOutput, "Output file: .pdf, .png, .svg or .dxf")
        ->required();
    renderCommand->add_option("--page-number", render.pageNumber,
                              "The page drawn to PNG or SVG (default 1)");
    std::optional<std::string> renderDpi;
    renderCommand->add_option("--dpi", renderDpi,
                              "Resolution, 36 to 2400 (default: PDF 600, PNG 150, SVG 96)");
    renderCommand
        ->add_option("--paper", render.paper,
                     "Paper: A4, A3, B4 or Letter (default: the printer's, else A4)")
        ->check(CLI::IsMember({"A4", "A3", "B4", "Letter"}));
    renderCommand->add_flag("--landscape", render.landscape, "Turn the paper to landscape");
    renderCommand->add_flag("--contours", render.figure.contours,
                            "Figure: bands of the minimum Fs of each centre, with a legend");
    std::string renderMethod = "ordinary";
    renderCommand
        ->add_option("--method", renderMethod,
                     "Figure: whose critical circle it draws and annotates and whose per-centre "
                     "minima the contours show, ordinary (default, the records) or bishop (a "
                     "search by simplified Bishop)")
        ->check(CLI::IsMember({"ordinary", "bishop"}));
    renderCommand->add_flag("--annotate", render.figure.annotate,
                            "Figure: load values, the critical circle's Fs, centre and radius, "
                            "the scale and a legend of the soil layers");
    std::optional<std::string> renderRestraint;
    renderCommand
        ->add_option("--restraint", renderRestraint,
                     "Figure: mark the circle that needs the largest restraint force for this "
                     "planned Fs (default 1.20), with the force; restraint page: its planned Fs")
        ->expected(0, 1)
        ->default_str("");

    dorvo::cli::ProbabilityRequest probability;
    std::string probabilityFile;
    CLI::App* probabilityCommand = app.add_subcommand(
        "probability",
        "Probability of failure: Fs of N realisations of the uncertain parameters named in "
        "FILE's side file NAME.prob.json, with mean, standard deviation, P(Fs < 1) and its 95 % "
        "interval, and the reliability index beta (normal and lognormal)");
    probabilityCommand->add_option("file", probabilityFile, "Project file (.slw)")->required();
    probabilityCommand->add_option(
        "--spec", probability.spec,
        "The uncertain parameters (default: NAME.prob.json beside the project)");
    probabilityCommand->add_option("--n", probability.realisations,
                                   "Number of realisations (default: the file's, else 1000)");
    probabilityCommand->add_option(
        "--seed", probability.seed,
        "Seed of the draws, 0 to 2^64 - 1 (default: the file's, else 1); realisation i depends "
        "only on the seed and i");
    probabilityCommand
        ->add_option("--mode", probability.mode,
                     "circle: each realisation on the deterministic critical circle (fast); "
                     "search: a full search per realisation (default: the file's, else circle)")
        ->check(CLI::IsMember({"circle", "search"}));
    probabilityCommand
        ->add_option("--sampling", probability.sampling,
                     "monte-carlo or latin-hypercube (default: the file's, else monte-carlo)")
        ->check(CLI::IsMember({"monte-carlo", "latin-hypercube"}));
    probabilityCommand->add_option(
        "--shard", probability.shard,
        "Compute only the realisations i with i mod K = I and write them as a part (JSON) for "
        "probability-merge");
    probabilityCommand->add_option("--threads", probability.threads,
                                   "Threads to use (default: one per core)");
    probabilityCommand->add_option("-o,--output", probability.output,
                                   "Write the JSON document (or the part) to this file");
    probabilityCommand->add_option(
        "--plot", probability.plot,
        "Draw the histogram and cumulative curve of Fs to this file (.pdf, .png or .svg)");
    probabilityCommand->add_option(
        "--circles", probability.circles,
        "Draw the section with the critical circles of the failing realisations (search mode) "
        "to this file (.pdf, .png or .svg)");
    probabilityCommand->add_flag("--json", probability.json,
                                 "Write the result as JSON: the run, the statistics, the "
                                 "convergence with N, the histogram and the failing circles");

    dorvo::cli::ProbabilityMergeRequest merge;
    std::vector<std::string> mergeParts;
    CLI::App* mergeCommand = app.add_subcommand(
        "probability-merge",
        "Combine the parts written by probability --shard into the result of the whole run "
        "(the same JSON, byte for byte, as one run but for its timing)");
    mergeCommand->add_option("parts", mergeParts, "Part files (JSON)")->required();
    mergeCommand->add_option("-o,--output", merge.output, "Write the JSON document to this file");
    mergeCommand->add_flag("--json", merge.json, "Write the result as JSON");
    mergeCommand->add_option("--plot", merge.plot,
                             "Draw the histogram and cumulative curve of Fs (.pdf, .png or .svg)");
    mergeCommand->add_option("--circles", merge.circles,
                             "Draw the section with the failing realisations' circles (needs "
                             "--project)");
    mergeCommand->add_option("--project", merge.project,
                             "The project file the parts come from (for --circles)");

    CLI11_PARSE(app, argc, argv);
    // Ctrl-C, a kill or a reader that went away stop the command, which leaves no file behind.
    dorvo::cli::InterruptWatch interrupts;
    int status = 1;
    if (show->parsed()) status = runShow(showFile);
    if (calcCommand->parsed()) {
        if (!readCalcNumbers(decimals, threads, calc)) return 2;
        if (calcMethod == "bishop") calc.method = dorvo::SearchMethod::Bishop;
        StderrMessages messages;
        calc.stop = interrupts.stopToken();
        if (json && (calc.save || !calc.recordsPath.empty())) {
            messages.report(dorvo::literalMessage(
                "--json describes the results on standard output; it does not take --save or "
                "--records"));
            return 2;
        }
        calc.interrupts = &interrupts;
        if (calcRestraint && !(calc.plannedFs = readPlannedFs(*calcRestraint))) return 2;
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
        explain.stop = interrupts.stopToken();
        if (explainMethod == "bishop") explain.method = dorvo::SearchMethod::Bishop;
        status = dorvo::cli::runExplain(explain, std::cout, messages);
    }
    if (backCommand->parsed()) {
        StderrMessages messages;
        if (!backCircle.empty()) back.circle = {backCircle[0], backCircle[1], backCircle[2]};
        if (!backEnds.empty()) {
            back.ends = {backEnds[0], backEnds[1], backEnds[2], backEnds[3], backEnds[4]};
        }
        back.co = backC;
        back.phi = backPhi;
        back.print = backPrint;
        status = dorvo::cli::runBackAnalyse(back, std::cout, messages);
    }
    if (sensitivityCommand->parsed()) {
        StderrMessages messages;
        dorvo::cli::CalcRequest numbers;
        if (!readCalcNumbers(std::nullopt, sensitivityThreads, numbers)) return 2;
        sensitivity.threads = numbers.threads;
        if (!sensitivityLimits.empty()) {
            sensitivity.limits = {sensitivityLimits[0], sensitivityLimits[1]};
        }
        sensitivity.print = sensitivityPrint;
        sensitivity.stop = interrupts.stopToken();
        status = dorvo::cli::runSensitivity(sensitivity, std::cout, messages);
    }
    if (renderCommand->parsed()) {
        StderrMessages messages;
        if (renderRestraint && !(render.plannedFs = readPlannedFs(*renderRestraint))) return 2;
        if (renderDpi && !(render.dpi = dorvo::cli::wholeNumberIn(*renderDpi, 36, 2400))) {
            std::cerr << "dorvo-cli: --dpi takes a whole number from 36 to 2400\n";
            return 2;
        }
        render.project = renderFile;
        if (renderMethod == "bishop") render.method = dorvo::SearchMethod::Bishop;
        render.output = renderOutput;
        render.interrupts = &interrupts;
        status = dorvo::cli::runRender(render, std::cout, messages);
    }
    if (probabilityCommand->parsed()) {
        StderrMessages messages;
        probability.project = probabilityFile;
        probability.stop = interrupts.stopToken();
        probability.showProgress = ::isatty(2) != 0;
        status = dorvo::cli::runProbability(probability, std::cout, messages);
    }
    if (mergeCommand->parsed()) {
        StderrMessages messages;
        merge.parts.assign(mergeParts.begin(), mergeParts.end());
        status = dorvo::cli::runProbabilityMerge(merge, std::cout, messages);
    }
    if (interrupts.signalNumber() != 0) return interrupts.exitStatus();
    // What a command printed is only out once standard output took it all.
    if (!std::cout.flush() && status == 0) {
        std::cerr << "dorvo-cli: cannot write to standard output\n";
        return 1;
    }
    return status;
}
