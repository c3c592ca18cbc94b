// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_exports.h"

#include "calc/circle_search.h"
#include "model/atomic_write.h"
#include "model/encoding.h"
#include "render/result_overlay.h"

namespace dorvo {

Status writeTableCsv(const std::filesystem::path& file, const AnalysisTable& table,
                     const Document& document) {
    if (auto refused = exportOverProject(file, document)) return Failure{*refused};
    const std::string csv = tableAsCsv(table);
    const std::optional<std::string> stored = toStoredText(csv);
    if (!stored) {
        for (const auto& row : table) {
            for (const std::string& cell : row) {
                if (!toStoredText(cell)) return Failure{literalMessage(notEncodableMessage(cell))};
            }
        }
        return Failure{literalMessage(notEncodableMessage(csv))};
    }
    return writeFileAtomically(file, [&](std::ostream& out) {
        out << *stored;
        return static_cast<bool>(out);
    });
}

bool calculationResultsExist(const std::filesystem::path& resultsFile) {
    std::error_code error;
    const auto size = std::filesystem::file_size(resultsFile, error);
    return !error && size > 0;
}

bool projectCanBeCalculated(const Project& project) {
    return validCircleSearch(project.circleSearch, nullptr).has_value() &&
           prepareSection(project).section.has_value();
}

std::optional<TrialCircle> lastCriticalCircle(const Project& project,
                                              const std::filesystem::path& resultsFile) {
    CriticalCircle critical = project.critical;
    if (!(critical.radius > 0.0)) readResultOverlay(resultsFile, critical);
    if (!(critical.radius > 0.0)) return std::nullopt;
    return TrialCircle{critical.centreX, critical.centreY, critical.radius};
}

}  // namespace dorvo
