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

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    CLI::App app{"Dorvo: factor of safety of earth slopes against circular slip"};
    app.require_subcommand(1);

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
    return interrupts.signalNumber() != 0 ? interrupts.exitStatus() : status;
}
