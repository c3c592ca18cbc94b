// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_tables.h"

#include "model/number_text.h"

namespace dorvo {

namespace {

std::string fixed(double value, int places) {
    return formatC("%.*f", places, value + 0.0);  // + 0.0: no "-0.00"
}

std::string csvCell(const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string joined(const AnalysisTable& table, std::string_view separator,
                   std::string (*cellText)(const std::string&)) {
    std::string out;
    for (const auto& row : table) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) out += separator;
            out += cellText(row[i]);
        }
        out += "\r\n";
    }
    return out;
}

std::string variedFs(const VariedSearch& varied) {
    if (varied.refused) return "計算不可";
    if (!varied.critical) return "解なし";
    return fixed(varied.critical->fs, 3);
}

std::string movedCircle(const std::optional<CircleResult>& plain, const VariedSearch& varied) {
    if (!varied.critical || !criticalCircleMoved(plain, varied)) return "";
    const CircleResult& c = *varied.critical;
    return formatC("(%.2f, %.2f) R %.2f", c.rx, c.ry, c.r);
}

}  // namespace

AnalysisTable restraintTable(const RestraintForce& force, std::string_view unit) {
    AnalysisTable table = {{"Rx", "Ry", "R", "Fs", "MD", "MR", "P (" + std::string(unit) + ")"}};
    for (const RestraintCircle& c : force.centreMaxima) {
        table.push_back({fixed(c.rx, 2), fixed(c.ry, 2), fixed(c.r, 2), fixed(c.fs, 3),
                         fixed(c.md, 2), fixed(c.mr, 2), fixed(c.force, 2)});
    }
    return table;
}

AnalysisTable backAnalysisTable(const BackAnalysis& analysis) {
    AnalysisTable table = {{"φ (°)", "Co"}};
    for (const StrengthPair& pair : analysis.table) {
        table.push_back({fixed(pair.phiDegrees, 0), fixed(pair.co, 2)});
    }
    return table;
}

AnalysisTable sensitivityTable(const Sensitivity& sensitivity, const Project& project) {
    AnalysisTable table = {
        {"パラメータ", "元の値", "下限", "Fs", "臨界円", "上限", "Fs", "臨界円", "幅"}};
    for (const SensitivityRow* row : sensitivity.bySwing()) {
        table.push_back({describeParameter(project, row->parameter, WarningLanguage::Japanese),
                         formatC("%g", row->base), formatC("%g", row->lower.value),
                         variedFs(row->lower), movedCircle(sensitivity.plain, row->lower),
                         formatC("%g", row->upper.value), variedFs(row->upper),
                         movedCircle(sensitivity.plain, row->upper), fixed(row->swing(), 3)});
    }
    return table;
}

std::string tableAsCsv(const AnalysisTable& table) {
    return joined(table, ",", csvCell);
}

std::string tableAsTabs(const AnalysisTable& table) {
    return joined(table, "\t", [](const std::string& cell) { return cell; });
}

}  // namespace dorvo
