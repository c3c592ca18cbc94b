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
#include "app/search_insight.h"
#include "calc/circle_search.h"
#include "calc/result_records.h"
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

void printSummary(const SearchSummary& summary, const SearchInsight& insight, int decimals,
                  double seconds, std::ostream& out) {
    out << "circles tried      " << summary.radiiTried << "\n";
    out << "circles evaluated  " << summary.circlesEvaluated << "\n";
    out << "circles written    " << summary.circlesWritten << "\n";
    if (summary.critical) {
        const CircleResult& c = *summary.critical;
        out << formatC("critical circle    centre (%.2f, %.2f), radius %.2f\n", c.rx, c.ry, c.r);
        out << formatC("slip surface       P1 (%.4f, %.4f), P2 (%.4f, %.4f)\n", c.p1x, c.p1y, c.p2x,
                       c.p2y);
        out << formatC("minimum Fs         %.*f\n", clampFsDecimals(decimals), c.fs);
        if (insight.bishopFs) {
            out << formatC("Bishop Fs          %.*f (simplified Bishop, same circle)\n",
                           clampFsDecimals(decimals), *insight.bishopFs);
        }
        for (SearchEdge edge : insight.warnings) {
            out << "warning            " << describeSearchEdge(edge, WarningLanguage::English)
                << "\n";
        }
    } else {
        out << "minimum Fs         none (no circle has a factor of safety)\n";
    }
    const double rate = seconds > 0.0 ? double(summary.radiiTried) / seconds : 0.0;
    out << formatC("elapsed            %.3f s, %.0f circles per second\n", seconds, rate);
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
                               [&](std::ostream& out) { return copyUntilStopped(in, out, stop); });
}

bool saveWithResults(const fs::path& file, const Project& project, const fs::path& records,
                     const std::stop_token& stop) {
    return writeFileAtomically(file, [&](std::ostream& out) {
        std::ifstream results(records, std::ios::binary);
        return writeProject(project, out, &results).ok() && !stop.stop_requested();
    });
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

    TemporaryFile records("dorvo-records");
    if (records.path().empty()) {
        messages.report(literalMessage("cannot create a temporary file"));
        return 1;
    }
    SearchOptions options;
    options.decimals = request.decimals ? *request.decimals : installedDecimals(messages);
    options.threads = request.threads;
    options.stop = request.stop;
    ProgressBar bar;
    const auto start = std::chrono::steady_clock::now();
    Calculation calculation = calculateInto(records.path(), project, options,
                                            request.showProgress ? &bar : nullptr, messages);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (request.showProgress) bar.finish();
    if (calculation.outcome == CalculationOutcome::CannotWriteResults) return 1;
    if (calculation.outcome != CalculationOutcome::Completed) return 2;

    if (!request.recordsPath.empty() &&
        !copyFileTo(records.path(), request.recordsPath, request.stop)) {
        if (!request.stop.stop_requested())
            messages.report(cannotWriteMessage(request.recordsPath));
        return 1;
    }
    if (request.save && !saveWithResults(request.project, project, records.path(), request.stop)) {
        if (!request.stop.stop_requested()) messages.report(makeMessage(MessageId::CouldNotSave));
        return 1;
    }
    SearchInsight insight;
    if (calculation.summary.critical) {
        insight = searchInsight(project, *calculation.summary.critical, records.path());
    }
    printSummary(calculation.summary, insight, options.decimals, elapsed.count(),
                 request.recordsPath == "-" ? std::cerr : out);
    return 0;
}

}  // namespace dorvo::cli
