// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc_json.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/calculation.h"
#include "app/search_insight.h"
#include "show_command.h"
#include "temporary_file.h"

namespace dorvo::cli {

namespace {

using nlohmann::json;

class CollectedMessages : public MessageSink {
  public:
    void report(const Message& message) override { texts.push_back(withPlace(message)); }
    std::vector<std::string> texts;
};

const char* edgeName(SearchEdge edge) {
    switch (edge) {
        case SearchEdge::GridLeft:
            return "gridLeft";
        case SearchEdge::GridRight:
            return "gridRight";
        case SearchEdge::GridBottom:
            return "gridBottom";
        case SearchEdge::GridTop:
            return "gridTop";
        case SearchEdge::FirstRadius:
            return "firstRadius";
        case SearchEdge::LastRadius:
            return "lastRadius";
        case SearchEdge::EdgeCentreNearby:
            return "edgeCentreNearby";
        case SearchEdge::SectionLeftEnd:
            return "sectionLeftEnd";
        case SearchEdge::SectionRightEnd:
            return "sectionRightEnd";
    }
    return "";
}

json computed(const Calculation& calculation, const SearchInsight& insight) {
    const SearchSummary& summary = calculation.summary;
    json result = {{"status", "completed"},
                   {"circles",
                    {{"tried", summary.radiiTried},
                     {"evaluated", summary.circlesEvaluated},
                     {"written", summary.circlesWritten}}},
                   {"critical", nullptr}};
    if (summary.critical) {
        const CircleResult& c = *summary.critical;
        result["critical"] = {{"rx", c.rx},
                              {"ry", c.ry},
                              {"r", c.r},
                              {"fs", c.fs},
                              {"bishopFs", insight.bishopFs ? json(*insight.bishopFs) : json()},
                              {"p1", {c.p1x, c.p1y}},
                              {"p2", {c.p2x, c.p2y}}};
    }
    json minima = json::array();
    for (const CentreMinimum& m : insight.centreMinima) {
        minima.push_back({{"rx", m.rx}, {"ry", m.ry}, {"r", m.r}, {"fs", m.fs}});
    }
    result["centreMinima"] = std::move(minima);
    json warnings = json::array();
    for (SearchEdge edge : insight.warnings) {
        warnings.push_back({{"kind", edgeName(edge)},
                            {"text", describeSearchEdge(edge, WarningLanguage::English)}});
    }
    result["warnings"] = std::move(warnings);
    return result;
}

json projectResult(const std::filesystem::path& file, const CalcRequest& settings) {
    CollectedMessages messages;
    json result;
    Project project;
    std::ostringstream oldResults;
    TemporaryFile records("dorvo-records");
    if (!loadForCommandLine(file, project, oldResults, messages)) {
        result = {{"status", "failed"}};
    } else if (records.path().empty()) {
        messages.report(literalMessage("cannot create a temporary file"));
        result = {{"status", "failed"}};
    } else {
        SearchOptions options;
        options.decimals = settings.decimals.value_or(3);
        options.threads = settings.threads;
        options.stop = settings.stop;
        const Calculation calculation =
            calculateInto(records.path(), project, options, nullptr, messages);
        if (calculation.outcome == CalculationOutcome::Completed) {
            SearchInsight insight;
            if (calculation.summary.critical) {
                insight = searchInsight(project, *calculation.summary.critical, records.path());
            }
            result = computed(calculation, insight);
        } else {
            result = {{"status", calculation.outcome == CalculationOutcome::InvalidInput
                                     ? "refused"
                                     : "failed"}};
        }
    }
    result["file"] = file.string();
    result["messages"] = messages.texts;
    return result;
}

}  // namespace

int runCalcJson(const std::vector<std::filesystem::path>& projects, const CalcRequest& settings,
                std::ostream& out) {
    json document = {{"projects", json::array()}};
    bool allComputed = true;
    for (const std::filesystem::path& file : projects) {
        json result = projectResult(file, settings);
        allComputed = allComputed && result["status"] == "completed";
        document["projects"].push_back(std::move(result));
    }
    // File names and messages that are not UTF-8 still give a valid document.
    out << document.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
    out.flush();
    return allComputed && out ? 0 : 1;
}

}  // namespace dorvo::cli
