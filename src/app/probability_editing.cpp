// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/probability_editing.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/probability_file.h"
#include "model/atomic_write.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

using nlohmann::ordered_json;

constexpr std::string_view kUncertainties[] = {"parameters", "correlations"};

}  // namespace

Result<ProbabilitySpec> startingProbabilitySpec(const Document& document) {
    if (document.probabilityInputs) return parseProbabilitySpec(*document.probabilityInputs);
    if (document.stamp) {  // a project that has a file
        const auto side = probabilitySpecPath(document.pathName);
        std::error_code error;
        if (std::filesystem::exists(side, error)) return readProbabilitySpec(side);
    }
    return ProbabilitySpec{};
}

bool keepProbabilityInputs(Document& document, const ProbabilitySpec& spec) {
    std::string text = probabilitySpecJson(spec);
    if (document.probabilityInputs == text) return false;
    document.probabilityInputs = std::move(text);
    document.modified = true;
    return true;
}

void takeProbabilityInputsAlong(Document& document) {
    if (document.probabilityInputs || !document.stamp) return;
    std::ifstream side(probabilitySpecPath(document.pathName), std::ios::binary);
    if (!side) return;
    std::ostringstream text;
    text << side.rdbuf();
    if (side.bad()) return;
    document.probabilityInputs = std::move(text).str();
}

Status saveProbabilityInputs(const Document& document) {
    if (!document.probabilityInputs) return Done{};
    const std::string& text = *document.probabilityInputs;
    const auto file = probabilitySpecPath(document.pathName);
    const Status written = writeFileAtomically(file, [&](std::ostream& out) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(out);
    });
    if (!written) return Failure{cannotWriteMessage(file, written.error().text)};
    return Done{};
}

std::string uncertaintiesJson(const ProbabilitySpec& spec) {
    const ordered_json file = ordered_json::parse(probabilitySpecJson(spec));
    ordered_json shown = ordered_json::object();
    for (std::string_view field : kUncertainties) shown[std::string(field)] = file[field];
    return shown.dump(2) + "\n";
}

Result<ProbabilitySpec> withUncertainties(ProbabilitySpec run, std::string_view text) {
    const ordered_json edited = ordered_json::parse(text, nullptr, false);
    if (edited.is_discarded() || !edited.is_object()) {
        return Failure{literalMessage(
            "不確かなパラメータ：{ \"parameters\": […], \"correlations\": […] } の形の JSON "
            "を入力してください。")};
    }
    run.parameters.clear();
    run.correlations.clear();
    ordered_json file = ordered_json::parse(probabilitySpecJson(run));
    for (const auto& [key, value] : edited.items()) {
        if (std::find(std::begin(kUncertainties), std::end(kUncertainties), key) ==
            std::end(kUncertainties)) {
            return Failure{literalMessage(key + ": 不確かなパラメータの欄では parameters と "
                                                "correlations だけを入力します")};
        }
        file[key] = value;
    }
    return parseProbabilitySpec(file.dump());
}

AnalysisTable probabilityTable(const ProbabilitySummary& summary) {
    AnalysisTable table = {{"Fs 以上", "Fs 未満", "度数", "累積 %"}};
    const FsHistogram& h = summary.histogram;
    std::int64_t cumulative = 0;
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        cumulative += h.counts[i];
        const double from = h.start + h.width * double(i);
        table.push_back({formatC("%.3f", from), formatC("%.3f", from + h.width),
                         std::to_string(h.counts[i]),
                         formatC("%.1f", summary.withFs > 0
                                             ? 100.0 * double(cumulative) / double(summary.withFs)
                                             : 0.0)});
    }
    return table;
}

}  // namespace dorvo
