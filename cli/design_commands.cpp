// SPDX-License-Identifier: GPL-3.0-or-later
#include "design_commands.h"

#include <cmath>
#include <iostream>
#include <sstream>
#include <utility>

#include "app/calculation.h"
#include "app/design_analyses.h"
#include "app/dialog_fields.h"
#include "calc/unrecorded_runs.h"
#include "design_output.h"
#include "model/number_text.h"
#include "render/design_pages.h"
#include "render_command.h"
#include "show_command.h"

namespace dorvo::cli {

namespace {

/// The value of a step, or nothing with its failure reported.
template <class T>
std::optional<T> reported(Result<T> step, MessageSink& messages) {
    if (!step) {
        messages.report(step.error());
        return std::nullopt;
    }
    return std::move(step).value();
}

/// The circle the user gave, or the search's critical circle.
std::optional<TrialCircle> chosenCircle(const BackAnalyseRequest& request,
                                        const CalculationInput& input, MessageSink& messages) {
    if (request.circle) {
        const auto& c = *request.circle;
        return TrialCircle{c[0], c[1], c[2]};
    }
    if (request.ends) {
        const auto& e = *request.ends;
        auto circle = circleThroughEnds(e[0], e[1], e[2], e[3], e[4]);
        if (!circle) {
            messages.report(literalMessage(
                "--ends needs two different points and a depth above 0 below their chord"));
        }
        return circle;
    }
    SearchOptions options;
    options.threads = request.threads;
    const auto critical = searchUnrecorded(input.section, input.search, options).critical;
    if (!critical) {
        messages.report(literalMessage("no circle of the search has a factor of safety"));
        return std::nullopt;
    }
    return TrialCircle{critical->rx, critical->ry, critical->r};
}

}  // namespace

int runBackAnalyse(const BackAnalyseRequest& request, std::ostream& out, MessageSink& messages) {
    const auto target = reported(typedTargetFs(request.targetFs), messages);
    if (!target) return 2;
    std::optional<double> co, phi;
    if (request.co && !(co = reported(typedReal(*request.co, "--c", {0.0, 1e7}), messages))) {
        return 2;
    }
    if (request.phi && !(phi = reported(typedReal(*request.phi, "--phi", {0.0, 89.9}), messages))) {
        return 2;
    }
    Project project;
    std::ostringstream results;
    if (!loadForCommandLine(request.project, project, results, messages)) return 1;
    const auto input = reported(checkCalculationInput(project), messages);
    if (!input) return 2;
    const auto circle = chosenCircle(request, *input, messages);
    if (!circle) return 1;

    const BackAnalysis analysis = backAnalyse(input->section, *circle, request.layerNo, *target);
    if (analysis.status != BackAnalysisStatus::Found) {
        messages.report(literalMessage(formatC("layer %d: ", request.layerNo) +
                                       std::string(backAnalysisProblem(analysis.status))));
        return 1;
    }
    std::optional<StrengthPair> chosen;
    if (phi) chosen = StrengthPair{*phi, analysis.coAt(*phi)};
    if (co) {
        const auto phiAtCo = analysis.phiAt(*co);
        if (!phiAtCo) {
            messages.report(literalMessage(
                formatC("no angle from 0 to 90 deg gives the target with Co %.2f", *co)));
            return 1;
        }
        chosen = StrengthPair{*phiAtCo, *co};
    }
    if (request.json) {
        out << backAnalysisJson(analysis, chosen)
                   .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
            << "\n";
    } else {
        printBackAnalysis(analysis, chosen, out);
    }
    if (request.print.empty()) return 0;
    return renderAnalysisPage(project, BackAnalysisPage(analysis, chosen), request.print,
                              request.json ? std::cerr : out, messages);
}

int runSensitivity(const SensitivityRequest& request, std::ostream& out, MessageSink& messages) {
    SensitivityLimits limits;
    if (request.percent) {
        const auto percent =
            reported(typedVariationPercent(*request.percent, "--percent"), messages);
        if (!percent) return 2;
        limits = {-std::abs(*percent), std::abs(*percent)};
    }
    if (request.limits) {
        const auto lower =
            reported(typedVariationPercent((*request.limits)[0], "--limits LOW"), messages);
        const auto upper =
            reported(typedVariationPercent((*request.limits)[1], "--limits HIGH"), messages);
        if (!lower || !upper) return 2;
        limits = {*lower, *upper};
    }
    Project project;
    std::ostringstream results;
    if (!loadForCommandLine(request.project, project, results, messages)) return 1;
    const auto input = reported(checkCalculationInput(project), messages);
    if (!input) return 2;
    SearchOptions options;
    options.threads = request.threads;
    options.stop = request.stop;
    const Sensitivity sensitivity = analyseSensitivity(project, input->search, limits, options);
    if (!sensitivity.completed) return 1;
    if (request.json) {
        out << sensitivityJson(sensitivity, limits, project)
                   .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
            << "\n";
    } else {
        printSensitivity(sensitivity, limits, project, out);
    }
    if (request.print.empty()) return 0;
    return renderAnalysisPage(project, SensitivityPage(sensitivity, limits), request.print,
                              request.json ? std::cerr : out, messages);
}

}  // namespace dorvo::cli
