// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc_json.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/calculation.h"
#include "app/design_analyses.h"
#include "app/search_insight.h"
#include "design_output.h"
#include "json_stream.h"
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

json circleJson(const CircleResult& c) {
    return {{"rx", c.rx}, {"ry", c.ry},           {"r", c.r},
            {"fs", c.fs}, {"p1", {c.p1x, c.p1y}}, {"p2", {c.p2x, c.p2y}}};
}

/// What is known of a computed project besides its centres' minima, which are written as
/// they are read.
json computed(const Calculation& calculation, const SearchInsight& insight,
              const BishopSearch* bishop) {
    const SearchSummary& summary = calculation.summary;
    json result = {{"status", "completed"},
                   {"method", insight.method == SearchMethod::Bishop ? "bishop" : "ordinary"},
                   {"circles",
                    {{"tried", summary.radiiTried},
                     {"evaluated", summary.circlesEvaluated},
                     {"written", summary.circlesWritten}}},
                   {"critical", nullptr}};
    if (insight.critical) {
        json critical = circleJson(*insight.critical);
        const BishopSolution& b = insight.bishop;
        critical["ordinaryFs"] = insight.ordinaryFs;
        critical["bishopFs"] = b.solved() ? json(b.fs) : json();
        critical["bishopMinMAlpha"] = b.solved() ? json(b.minMAlpha) : json();
        critical["bishopNoSolution"] =
            b.solved() ? json() : json(describeBishop(b, WarningLanguage::English));
        result["critical"] = std::move(critical);
    }
    if (bishop != nullptr) {
        result["ordinaryCritical"] = summary.critical ? circleJson(*summary.critical) : json();
        result["circles"]["bishopSolved"] = bishop->circlesSolved;
        result["circles"]["bishopUnsolved"] = bishop->circlesUnsolved;
    }
    json warnings = json::array();
    for (SearchEdge edge : insight.warnings) {
        warnings.push_back({{"kind", edgeName(edge)},
                            {"text", describeSearchEdge(edge, WarningLanguage::English)}});
    }
    if (insight.bishop.lowMAlpha()) {
        warnings.push_back({{"kind", "lowMAlpha"},
                            {"text", describeBishop(insight.bishop, WarningLanguage::English)}});
    }
    if (insight.upwardLoadOnSlipMass) {
        warnings.push_back(
            {{"kind", "upwardLoad"}, {"text", describeUpwardLoad(WarningLanguage::English)}});
    }
    result["warnings"] = std::move(warnings);
    return result;
}

/// Writes the members of an object in the order a whole dump writes them.
void writeMembers(JsonStreamWriter& writer, const json& members) {
    for (const auto& [key, value] : members.items()) {
        writer.key(key);
        writer.value(value);
    }
}

/// Computes a project and writes what became of it as the next element of the document. The
/// minima of its centres go out as they are read ("centreMinima" is the first member in the
/// order of a whole dump), so a search of millions of centres takes no more memory than a
/// small one. Returns whether it was computed.
bool writeProjectResult(JsonStreamWriter& writer, const std::filesystem::path& file,
                        const CalcRequest& settings) {
    CollectedMessages messages;
    json result;
    Project project;
    std::ostringstream oldResults;
    TemporaryFile records("dorvo-records");
    writer.openObject();
    if (settings.stop.stop_requested()) {
        messages.report(literalMessage("not run: interrupted"));
        result = {{"status", "not run"}};
    } else if (!loadForCommandLine(file, project, oldResults, messages)) {
        result = {{"status", "failed"}};
    } else if (records.path().empty()) {
        messages.report(literalMessage("cannot create a temporary file"));
        result = {{"status", "failed"}};
    } else {
        SearchOptions options;
        options.decimals = settings.decimals.value_or(3);
        options.threads = settings.threads;
        options.stop = settings.stop;
        const auto input = checkCalculationInput(project);
        const Result<Calculation> run =
            input ? calculateInto(records.path(), project, *input, options, nullptr)
                  : Result<Calculation>(Failure{input.error()});
        if (!run) messages.report(run.error());
        if (run && run->outcome == CalculationOutcome::Completed) {
            const Calculation& calculation = *run;
            writer.key("centreMinima");
            writer.openArray();
            auto writeMinimum = [&](const CentreMinimum& m) {
                writer.value({{"rx", m.rx}, {"ry", m.ry}, {"r", m.r}, {"fs", m.fs}});
            };
            if (settings.method == SearchMethod::Bishop) {
                const std::optional<BishopSearch> bishop =
                    searchByBishop(project, settings.threads, settings.stop);
                if (bishop && bishop->completed) {
                    for (const CentreMinimum& m : bishop->centreMinima) writeMinimum(m);
                    result = computed(calculation, bishopSearchInsight(project, *bishop), &*bishop);
                } else {
                    result = {{"status", "failed"}};
                }
            } else {
                SearchInsight insight;
                if (calculation.summary.critical) {
                    insight = searchInsight(project, *calculation.summary.critical, records.path(),
                                            writeMinimum);
                }
                result = computed(calculation, insight, nullptr);
            }
            writer.close();
            if (settings.plannedFs) {
                const auto force =
                    restraintForceOfResults(project, records.path(), *settings.plannedFs);
                if (force) {
                    result["restraint"] =
                        restraintForceJson(force.value(), forcePerMetreUnit(project));
                } else {
                    messages.report(force.error());
                }
            }
        } else if (run) {
            messages.report(literalMessage("interrupted"));
            result = {{"status", "failed"}};
        } else {
            result = {{"status", input ? "failed" : "refused"}};
        }
    }
    result["file"] = file.string();
    result["messages"] = messages.texts;
    writeMembers(writer, result);
    writer.close();
    return result["status"] == "completed";
}

}  // namespace

int runCalcJson(const std::vector<std::filesystem::path>& projects, const CalcRequest& settings,
                std::ostream& out) {
    JsonStreamWriter writer(out);
    writer.openObject();
    writer.key("projects");
    writer.openArray();
    bool allComputed = true;
    for (const std::filesystem::path& file : projects) {
        allComputed = writeProjectResult(writer, file, settings) && allComputed;
    }
    writer.close();
    writer.close();
    out << "\n";
    out.flush();
    return allComputed && out ? 0 : 1;
}

}  // namespace dorvo::cli
