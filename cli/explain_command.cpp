// SPDX-License-Identifier: GPL-3.0-or-later
#include "explain_command.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/explanation_table.h"
#include "calc/bishop_search.h"
#include "calc/circle_explanation.h"
#include "calc/result_records.h"
#include "calc/section.h"
#include "calc/unrecorded_runs.h"
#include "model/number_text.h"
#include "show_command.h"

namespace dorvo::cli {

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159;

void printTable(const CircleExplanation& circle, std::ostream& out) {
    out << formatC("%4s %9s %9s %8s %8s %9s %5s %10s %10s %8s %6s %8s %11s %11s %11s %11s %11s\n",
                   "No", "x1", "x2", "theta", "width", "area", "layer", "W1", "W2", "c", "phi", "L",
                   "Md", "Me", "MT", "ME", "MC");
    int number = 0;
    for (const ElementContribution& e : circle.elements) {
        out << formatC(
            "%4d %9.3f %9.3f %8.3f %8.4f %9.4f %5d %10.3f %10.3f %8.3f %6.2f %8.4f %11.3f %11.3f "
            "%11.3f %11.3f %11.3f\n",
            ++number, e.x1, e.x2, std::atan2(e.sinTheta, e.cosTheta) * kDegreesPerRadian, e.width,
            e.area, e.layerNo, e.w1, e.w2, e.cohesion, std::atan(e.tanPhi) * kDegreesPerRadian,
            e.arcLength, e.md, e.me + 0.0, e.mt, e.mE + 0.0, e.mc);  // + 0.0: no "-0.000"
    }
}

void printSums(const CircleExplanation& circle, std::ostream& out) {
    const ExplanationSums sums = explanationSums(circle);
    const double md = sums.md, me = sums.me, mt = sums.mt, mE = sums.mE, mc = sums.mc;
    const CircleResult& r = circle.outcome.result;
    const BishopSolution bishop = bishopFactorOfSafety(circle);
    out << formatC("sums   Md %.2f  Me %.2f  Mf %.2f  MT %.2f  ME %.2f  MC %.2f\n", md, me,
                   circle.mf, mt, mE, mc);
    out << formatC("MD = Md + Me + Mf     %11.2f   (record %11.2f)\n", md + me + circle.mf, r.md);
    out << formatC("MC                    %11.2f   (record %11.2f)\n", mc, r.mc);
    out << formatC("MT - ME               %11.2f   (record %11.2f)\n", mt - mE, r.mtMe);
    out << formatC("MR = MT - ME + MC     %11.2f   (record %11.2f)\n", mt - mE + mc, r.mr);
    if (r.fs < 9999.0) {
        out << formatC("Fs = MR / MD          %11.4f   (record %8.3f)\n",
                       (mt - mE + mc) / (md + me + circle.mf), r.fs);
    } else {
        out << "Fs                    none (no factor of safety)\n";
    }
    out << "Bishop Fs (simplified)     " << bishopValueText(bishop, 4, WarningLanguage::English)
        << "\n";
    if (bishop.lowMAlpha()) {
        out << "warning                " << describeBishop(bishop, WarningLanguage::English)
            << "\n";
    }
}

}  // namespace

int runExplain(const ExplainRequest& request, std::ostream& out, MessageSink& messages) {
    Project project;
    std::ostringstream results;
    if (!loadForCommandLine(request.project, project, results, messages)) return 1;
    const Result<Section> prepared = prepareSection(project);
    if (!prepared) {
        messages.report(prepared.error());
        return 2;
    }
    std::array<double, 3> circle{};
    if (request.circle) {
        circle = *request.circle;
        if (!std::all_of(circle.begin(), circle.end(), isUsableInput)) {
            messages.report(
                literalMessage(formatC("--circle takes values from %.0f to %.0f",
                                       -kLargestInputMagnitude, kLargestInputMagnitude)));
            return 2;
        }
    } else {
        const auto search = validCircleSearch(project.circleSearch);
        if (!search) {
            messages.report(search.error());
            return 2;
        }
        std::optional<CircleResult> critical;
        if (request.method == SearchMethod::Bishop) {
            const BishopSearch bishop = runBishopSearch(*prepared, *search, 0, request.stop);
            if (request.stop.stop_requested() || !bishop.completed) return 1;
            critical = bishop.critical;
        } else {
            SearchOptions options;
            options.stop = request.stop;
            const SearchSummary summary = searchUnrecorded(*prepared, *search, options);
            if (request.stop.stop_requested() || !summary.completed) return 1;
            critical = summary.critical;
        }
        if (!critical) {
            messages.report(literalMessage("no circle of the search has a factor of safety"));
            return 1;
        }
        circle = {critical->rx, critical->ry, critical->r};
    }
    const CircleExplanation explanation = explainCircle(*prepared, circle[0], circle[1], circle[2]);
    if (explanation.outcome.kind != OutcomeKind::Result) {
        messages.report(literalMessage(formatC(
            "the circle (%.2f, %.2f) r = %.2f is not evaluated: it does not cut the ground as a "
            "slip circle must, or a line names a layer without data",
            circle[0], circle[1], circle[2])));
        return 1;
    }
    if (!request.csv) {
        out << formatC("circle             centre (%.2f, %.2f), radius %.2f, %zu elements\n",
                       circle[0], circle[1], circle[2], explanation.elements.size());
    }
    if (request.csv) {
        out << explanationCsv(explanation);
        return 0;
    }
    printTable(explanation, out);
    printSums(explanation, out);
    return 0;
}

}  // namespace dorvo::cli
