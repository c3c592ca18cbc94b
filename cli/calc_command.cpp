// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc_command.h"

#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/calculation.h"
#include "app/design_analyses.h"
#include "app/search_insight.h"
#include "calc/circle_search.h"
#include "calc/result_records.h"
#include "design_output.h"
#include "interrupt_watch.h"
#include "model/line_io.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "settings/install_location.h"
#include "settings/program_settings.h"
#include "settings/working_files.h"
#include "show_command.h"
#include "temporary_file.h"

namespace dorvo::cli {

namespace fs = std::filesystem;

namespace {

/// A bar on standard error, redrawn in place.
class ProgressBar : public SearchProgress {
  public:
    void report(int position, std::string_view status) override {
        constexpr int kWidth = 40;
        const int filled = position * kWidth / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%  %.*s", std::string(std::size_t(filled), '#').c_str(),
                     std::string(std::size_t(kWidth - filled), ' ').c_str(), position,
                     static_cast<int>(status.size()), status.data());
        std::fflush(stderr);
    }
    void finish() const { std::fprintf(stderr, "\r%70s\r", ""); }
};

/// The Fs decimals of this user's installation; the recommended 3 when there is none.
int installedDecimals(MessageSink& messages) {
    return readInstallationSettings(environmentFromProcess(), messages).settings.fsDecimals;
}

void printCounts(const SearchSummary& summary, std::ostream& out) {
    out << "circles tried      " << summary.radiiTried << "\n";
    out << "circles evaluated  " << summary.circlesEvaluated << "\n";
    out << "circles written    " << summary.circlesWritten << "\n";
}

void printCircle(const CircleResult& c, std::ostream& out) {
    out << formatC("critical circle    centre (%.2f, %.2f), radius %.2f\n", c.rx, c.ry, c.r);
    out << formatC("slip surface       P1 (%.4f, %.4f), P2 (%.4f, %.4f)\n", c.p1x, c.p1y, c.p2x,
                   c.p2y);
}

void printWarnings(const SearchInsight& insight, std::ostream& out) {
    for (SearchEdge edge : insight.warnings) {
        out << "warning            " << describeSearchEdge(edge, WarningLanguage::English) << "\n";
    }
    if (insight.bishop.lowMAlpha()) {
        out << "warning            " << describeBishop(insight.bishop, WarningLanguage::English)
            << "\n";
    }
    if (insight.upwardLoadOnSlipMass) {
        out << "warning            " << describeUpwardLoad(WarningLanguage::English) << "\n";
    }
}

void printOrdinary(const SearchSummary& summary, const SearchInsight& insight, int decimals,
                   std::ostream& out) {
    if (!summary.critical) {
        out << "minimum Fs         none (no circle has a factor of safety)\n";
        return;
    }
    printCircle(*summary.critical, out);
    out << formatC("minimum Fs         %.*f\n", decimals, summary.critical->fs);
    out << "Bishop Fs          "
        << bishopValueText(insight.bishop, decimals, WarningLanguage::English)
        << (insight.bishop.solved() ? ", simplified Bishop, same circle\n" : "\n");
    printWarnings(insight, out);
}

void printBishop(const SearchSummary& summary, const BishopSearch& search,
                 const SearchInsight& insight, int decimals, std::ostream& out) {
    out << "method             simplified Bishop (the records stay the ordinary method's)\n";
    out << "circles solved     " << search.circlesSolved << " by Bishop, " << search.circlesUnsolved
        << " without a Bishop value\n";
    if (!insight.critical) {
        out << "minimum Fs         none (no circle has a simplified Bishop value)\n";
    } else {
        printCircle(*insight.critical, out);
        out << "minimum Fs         "
            << bishopValueText(insight.bishop, decimals, WarningLanguage::English)
            << ", simplified Bishop\n";
        out << formatC("ordinary Fs        %.*f, same circle\n", decimals, insight.ordinaryFs);
    }
    if (summary.critical) {
        const CircleResult& c = *summary.critical;
        out << formatC(
            "ordinary minimum   %.*f at centre (%.2f, %.2f), radius %.2f (the records)\n", decimals,
            c.fs, c.rx, c.ry, c.r);
    }
    printWarnings(insight, out);
}

/// Writes the per-centre minima of the Bishop search: Rx, Ry, R, Fs, one centre a line.
bool writeBishopCsv(const std::string& path, const BishopSearch& search) {
    return writeFileAtomically(path,
                               [&](std::ostream& out) {
                                   out << "Rx,Ry,R,BishopFs\r\n";
                                   for (const CentreMinimum& m : search.centreMinima) {
                                       out << formatC("%.2f,%.2f,%.2f,%.4f\r\n", m.rx, m.ry, m.r,
                                                      m.fs);
                                   }
                                   return static_cast<bool>(out);
                               })
        .ok();
}

/// Copies a stream in chunks, giving up when a stop is requested.
bool copyUntilStopped(std::istream& from, std::ostream& to, const std::stop_token& stop) {
    std::array<char, 65536> buffer;
    while (from && !stop.stop_requested()) {
        from.read(buffer.data(), buffer.size());
        const std::streamsize got = from.gcount();
        if (got > 0 && !to.write(buffer.data(), got)) return false;
    }
    to.flush();
    return !stop.stop_requested() && static_cast<bool>(to);
}

bool copyFileTo(const fs::path& from, const std::string& to, const std::stop_token& stop) {
    std::ifstream in(from, std::ios::binary);
    if (to == "-") return copyUntilStopped(in, std::cout, stop);
    return writeFileAtomically(to,
                               [&](std::ostream& out) { return copyUntilStopped(in, out, stop); })
        .ok();
}

bool saveWithResults(const fs::path& file, const Project& project, const fs::path& records,
                     const std::stop_token& stop) {
    return writeFileAtomically(file,
                               [&](std::ostream& out) {
                                   std::ifstream results(records, std::ios::binary);
                                   return writeProject(project, out, &results).ok() &&
                                          !stop.stop_requested();
                               })
        .ok();
}

/// Why a file could not be written or replaced by this user, or nothing.
std::optional<Message> unwritableOutput(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::is_directory(status)) return cannotWriteMessage(file);
    if (fs::exists(status)) {
        if (::access(file.c_str(), W_OK) != 0) return cannotWriteMessage(file);
        if (!fs::is_regular_file(status)) return std::nullopt;  // a device or pipe
    }
    fs::path folder = fs::weakly_canonical(fs::absolute(file, error), error).parent_path();
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return cannotWriteMessage(file);
    return std::nullopt;
}

/// Whether the search writes the records straight into their file (through the atomic
/// writer, so a stopped run leaves the old file), from which the save and the summary then
/// read them: a file on disk, not yet there or regular. Standard output, a pipe or a device
/// gets a copy of a temporary file instead, as it cannot be read back.
bool recordsGoStraightToTheirFile(const std::string& path) {
    if (path.empty() || path == "-") return false;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !fs::exists(status) || fs::is_regular_file(status);
}

/// Checks before the search that every output can be written, so a long run never ends in a
/// failed write, and that the records would not overwrite the project itself.
bool outputsCanBeWritten(const CalcRequest& request, MessageSink& messages) {
    if (!request.recordsPath.empty() && request.recordsPath != "-") {
        std::error_code error;
        if (fs::equivalent(request.recordsPath, request.project, error)) {
            messages.report(literalMessage("the records would overwrite the project file " +
                                           request.project.string()));
            return false;
        }
        if (auto problem = unwritableOutput(request.recordsPath)) {
            messages.report(*problem);
            return false;
        }
    }
    if (!request.bishopCsvPath.empty()) {
        std::error_code error;
        if (fs::equivalent(request.bishopCsvPath, request.project, error)) {
            messages.report(literalMessage("the Bishop minima would overwrite the project file " +
                                           request.project.string()));
            return false;
        }
        if (auto problem = unwritableOutput(request.bishopCsvPath)) {
            messages.report(*problem);
            return false;
        }
    }
    if (request.save) {
        if (auto problem = unwritableOutput(request.project)) {
            messages.report(*problem);
            return false;
        }
    }
    return true;
}

}  // namespace

int runCalc(const CalcRequest& request, std::ostream& out, MessageSink& messages) {
    Project project;
    std::ostringstream oldResults;
    if (!loadForCommandLine(request.project, project, oldResults, messages)) return 1;
    if (!outputsCanBeWritten(request, messages)) return 1;
    if (auto missing = firstMissingLayer(project)) messages.report(missingLayerMessage(*missing));

    std::optional<TemporaryFile> temporary;
    fs::path records = request.recordsPath;
    if (!recordsGoStraightToTheirFile(request.recordsPath)) {
        records = temporary.emplace("dorvo-records").path();
        if (records.empty()) {
            messages.report(literalMessage("cannot create a temporary file"));
            return 1;
        }
    }
    SearchOptions options;
    options.decimals = request.decimals ? *request.decimals : installedDecimals(messages);
    options.threads = request.threads;
    options.stop = request.stop;
    ProgressBar bar;
    const auto start = std::chrono::steady_clock::now();
    const auto input = checkCalculationInput(project);
    const Result<Calculation> run = input ? calculateInto(records, project, *input, options,
                                                          request.showProgress ? &bar : nullptr)
                                          : Result<Calculation>(Failure{input.error()});
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!run) messages.report(run.error());
    if (request.showProgress) bar.finish();
    if (!run) return input ? 1 : 2;  // results that cannot be written, or input that cannot run
    const Calculation& calculation = *run;
    if (calculation.outcome != CalculationOutcome::Completed) return 2;

    // A reader that closed the pipe raises SIGPIPE in the writing thread before the write
    // fails: the program ends for it, with nothing to report.
    auto interrupted = [&] {
        return request.stop.stop_requested() ||
               (request.interrupts != nullptr && request.interrupts->signalNumber() != 0);
    };
    if (temporary && !request.recordsPath.empty() &&
        !copyFileTo(records, request.recordsPath, request.stop)) {
        if (!interrupted()) messages.report(cannotWriteMessage(request.recordsPath));
        return 1;
    }
    if (request.save && !saveWithResults(request.project, project, records, request.stop)) {
        if (!interrupted()) messages.report(makeMessage(MessageId::CouldNotSave));
        return 1;
    }
    const int decimals = clampFsDecimals(options.decimals);
    std::ostream& summaryOut = request.recordsPath == "-" ? std::cerr : out;
    std::optional<BishopSearch> bishop;
    std::chrono::duration<double> bishopElapsed{};
    if (request.method == SearchMethod::Bishop || !request.bishopCsvPath.empty()) {
        const auto bishopStart = std::chrono::steady_clock::now();
        bishop = searchByBishop(project, request.threads, request.stop,
                                request.showProgress ? &bar : nullptr);
        bishopElapsed = std::chrono::steady_clock::now() - bishopStart;
        if (request.showProgress) bar.finish();
        if (!bishop || !bishop->completed) return 1;
        if (!request.bishopCsvPath.empty() && !writeBishopCsv(request.bishopCsvPath, *bishop)) {
            if (!request.stop.stop_requested())
                messages.report(cannotWriteMessage(request.bishopCsvPath));
            return 1;
        }
    }
    printCounts(calculation.summary, summaryOut);
    if (request.method == SearchMethod::Bishop) {
        printBishop(calculation.summary, *bishop, bishopSearchInsight(project, *bishop), decimals,
                    summaryOut);
    } else {
        SearchInsight insight;
        if (calculation.summary.critical) {
            insight = searchInsight(project, *calculation.summary.critical, records);
        }
        printOrdinary(calculation.summary, insight, decimals, summaryOut);
    }
    const double rate =
        elapsed.count() > 0.0 ? double(calculation.summary.radiiTried) / elapsed.count() : 0.0;
    summaryOut << formatC("elapsed            %.3f s, %.0f circles per second\n", elapsed.count(),
                          rate);
    if (bishop) summaryOut << formatC("Bishop search      %.3f s\n", bishopElapsed.count());
    if (request.plannedFs) {
        const auto force = restraintForceOfResults(project, records, *request.plannedFs);
        if (!force) {
            messages.report(force.error());
            return 1;
        }
        printRestraintForce(force.value(), forcePerMetreUnit(project), summaryOut);
    }
    return 0;
}

}  // namespace dorvo::cli
