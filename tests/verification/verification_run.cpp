// SPDX-License-Identifier: GPL-3.0-or-later
#include "verification/verification_run.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/calculation.h"
#include "app/search_insight.h"
#include "calc/search_edges.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "verification/bishop_values.h"

namespace dorvo::verification {

namespace {

/// Keeps the first message a step reports, as the reason a problem was not computed.
class FirstMessage : public MessageSink {
  public:
    void report(const Message& message) override {
        if (text.empty()) text = message.text;
    }
    std::string text;
};

/// A number as the manual writes a coordinate: no trailing zeros.
std::string shortNumber(double value) {
    std::string text = formatC("%.3f", value);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string searchInWords(const CircleSearchValues& v) {
    return "centres (" + shortNumber(v.centreStartX()) + " … " + shortNumber(v.centreEndX()) +
           ", " + shortNumber(v.centreStartY()) + " … " + shortNumber(v.centreEndY()) + ") every " +
           shortNumber(v.stepX()) + " × " + shortNumber(v.stepY()) +
           ", lowest points of the circles from y = " + shortNumber(v.upperY()) + " down to " +
           shortNumber(v.lowerY()) + " every " + shortNumber(v.stepR());
}

}  // namespace

std::optional<double> bishopValue(const CaseResult& result) {
    if (result.bishopCritical) return result.bishopCritical->fs;
    return result.bishop;
}

CaseResult computeCase(const std::filesystem::path& projectFile,
                       const std::filesystem::path& resultsFile, Project& project) {
    CaseResult result;
    FirstMessage messages;
    std::ifstream in(projectFile, std::ios::binary);
    std::ostringstream oldResults;
    if (!in || !readProjectLines(project, in, oldResults, projectFile.string(), messages)) {
        result.error = "cannot read " + projectFile.string() + " " + messages.text;
        return result;
    }
    SearchOptions options;
    options.decimals = 4;
    const auto calculation = calculateInto(resultsFile, project, options, nullptr);
    if (!calculation) messages.report(calculation.error());
    if (!calculation || calculation->outcome != CalculationOutcome::Completed ||
        !calculation->summary.critical) {
        result.error = "no critical circle " + messages.text;
        return result;
    }
    result.critical = *calculation->summary.critical;
    result.circles = calculation->summary.circlesEvaluated;
    const Result<Section> prepared = prepareSection(project);
    if (!prepared.ok()) {
        result.error = "the section cannot be read";
        return result;
    }
    result.section = *prepared;
    result.bishop = bishopOfCircle(result.section, result.critical);
    if (result.circles > 1) {
        // Without friction the Bishop Fs of every circle is its ordinary Fs, and so is the
        // minimum: the Bishop search would only repeat the ordinary one.
        const auto input = checkCalculationInput(project);
        if (input) result.search = searchInWords(input->search.values());
        const bool friction =
            input && std::any_of(input->section.layers.begin(), input->section.layers.end(),
                                 [](const SoilLayer& layer) { return layer.tanPhi > 0.0; });
        if (friction) result.bishopCritical = bishopCriticalCircle(input->section, input->search);
        for (SearchEdge edge : searchInsight(project, result.critical, resultsFile).warnings)
            result.warnings.push_back(describeSearchEdge(edge, WarningLanguage::English));
    }
    return result;
}

}  // namespace dorvo::verification
