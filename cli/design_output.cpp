// SPDX-License-Identifier: GPL-3.0-or-later
#include "design_output.h"

#include "model/number_text.h"

namespace dorvo::cli {

namespace {

using nlohmann::json;

json circleJson(const RestraintCircle& c) {
    return {{"rx", c.rx}, {"ry", c.ry}, {"r", c.r},    {"fs", c.fs},
            {"md", c.md}, {"mr", c.mr}, {"p", c.force}};
}

std::string circleLine(const RestraintCircle& c, std::string_view unit) {
    return formatC("centre (%.2f, %.2f), radius %.2f, Fs %.3f, MD %.2f, MR %.2f, P %.2f %.*s", c.rx,
                   c.ry, c.r, c.fs, c.md, c.mr, c.force, int(unit.size()), unit.data());
}

json criticalJson(const std::optional<CircleResult>& c) {
    if (!c) return nullptr;
    return {{"rx", c->rx}, {"ry", c->ry}, {"r", c->r}, {"fs", c->fs}};
}

json variedJson(const VariedSearch& varied, const std::optional<CircleResult>& plain) {
    return {{"value", varied.value},
            {"refused", varied.refused},
            {"critical", criticalJson(varied.critical)},
            {"moved", criticalCircleMoved(plain, varied)}};
}

std::string variedText(const VariedSearch& varied, const std::optional<CircleResult>& plain) {
    if (varied.refused) return "refused";
    if (!varied.critical) return "no Fs";
    return formatC("%.3f%s", varied.critical->fs, criticalCircleMoved(plain, varied) ? " *" : "");
}

}  // namespace

void printRestraintForce(const RestraintForce& force, std::string_view unit, std::ostream& out) {
    out << formatC("planned Fs         %.2f (P = (Fsp*MD - MR) / R)\n", force.plannedFs);
    if (force.governing) {
        out << "governing circle   " << circleLine(*force.governing, unit) << "\n";
        if (force.governingEnds) {
            const CircleResult& e = *force.governingEnds;
            out << formatC("  slip surface     P1 (%.2f, %.2f), P2 (%.2f, %.2f)\n", e.p1x, e.p1y,
                           e.p2x, e.p2y);
        }
    } else {
        out << "governing circle   none: every circle reaches the planned Fs (P = 0)\n";
    }
    if (force.critical) out << "critical circle    " << circleLine(*force.critical, unit) << "\n";
    out << "centres            " << force.centreMaxima.size()
        << " (the largest P of each: --json)\n";
}

json restraintForceJson(const RestraintForce& force, std::string_view unit) {
    json result = {{"plannedFs", force.plannedFs},
                   {"unit", std::string(unit)},
                   {"governing", nullptr},
                   {"critical", nullptr}};
    if (force.governing) {
        result["governing"] = circleJson(*force.governing);
        if (force.governingEnds) {
            const CircleResult& e = *force.governingEnds;
            result["governing"]["p1"] = {e.p1x, e.p1y};
            result["governing"]["p2"] = {e.p2x, e.p2y};
        }
    }
    if (force.critical) result["critical"] = circleJson(*force.critical);
    json maxima = json::array();
    for (const RestraintCircle& c : force.centreMaxima) maxima.push_back(circleJson(c));
    result["centreMaxima"] = std::move(maxima);
    return result;
}

std::string_view backAnalysisProblem(BackAnalysisStatus status) {
    switch (status) {
        case BackAnalysisStatus::Found:
            return {};
        case BackAnalysisStatus::NoSuchLayer:
            return "no layer row has this layer number";
        case BackAnalysisStatus::NotEvaluated:
            return "the circle has no factor of safety: it does not cut the ground as a slip "
                   "circle must, or a line names a layer without data";
        case BackAnalysisStatus::NotThroughLayer:
            return "the slip surface does not pass through this layer";
        case BackAnalysisStatus::NoDrivingMoment:
            return "the circle has no driving moment";
    }
    return {};
}

void printBackAnalysis(const BackAnalysis& a, const std::optional<StrengthPair>& chosen,
                       std::ostream& out) {
    out << formatC("circle             centre (%.2f, %.2f), radius %.2f\n", a.circle.rx,
                   a.circle.ry, a.circle.r);
    out << formatC("layer              %d: Co %.2f, phi %.2f deg; the circle's Fs now %.3f\n",
                   a.layerNo, a.currentCo, a.currentPhiDegrees, a.current.fs);
    out << formatC("target Fs          %.3f\n", a.targetFs);
    out << formatC("share of MR        %.1f %% (the layer's part of the resisting moment)\n",
                   a.share * 100.0);
    if (a.shareTooSmall()) {
        out << "warning            the layer carries under 10 % of the resisting moment: its "
               "strength cannot be decided from this circle\n";
    }
    out << "  phi (deg)        Co\n";
    for (const StrengthPair& pair : a.table) {
        out << formatC("  %9.0f  %10.2f%s\n", pair.phiDegrees, pair.co + 0.0,
                       pair.co < 0.0 ? "  (negative)" : "");
    }
    out << formatC("%-19s%.2f\n", formatC("Co at phi %.2f", a.currentPhiDegrees).c_str(),
                   a.coAtCurrentPhi + 0.0);
    const std::string phiAtCo = formatC("phi at Co %.2f", a.currentCo);
    if (a.phiAtCurrentCo) {
        out << formatC("%-19s%.2f deg\n", phiAtCo.c_str(), *a.phiAtCurrentCo);
    } else {
        out << formatC("%-19snone (no angle from 0 to 90 deg gives the target)\n", phiAtCo.c_str());
    }
    if (chosen) {
        out << formatC("chosen pair        Co %.2f, phi %.2f deg\n", chosen->co + 0.0,
                       chosen->phiDegrees);
    }
}

json backAnalysisJson(const BackAnalysis& a, const std::optional<StrengthPair>& chosen) {
    json table = json::array();
    for (const StrengthPair& pair : a.table) {
        table.push_back({{"phi", pair.phiDegrees}, {"co", pair.co}});
    }
    return {
        {"circle", {{"rx", a.circle.rx}, {"ry", a.circle.ry}, {"r", a.circle.r}}},
        {"layer", a.layerNo},
        {"targetFs", a.targetFs},
        {"currentFs", a.current.fs},
        {"current", {{"co", a.currentCo}, {"phi", a.currentPhiDegrees}}},
        {"share", a.share},
        {"shareTooSmall", a.shareTooSmall()},
        {"line", {{"md", a.md}, {"base", a.base}, {"perCo", a.perCo}, {"perTanPhi", a.perTanPhi}}},
        {"table", std::move(table)},
        {"coAtCurrentPhi", a.coAtCurrentPhi},
        {"phiAtCurrentCo", a.phiAtCurrentCo ? json(*a.phiAtCurrentCo) : json()},
        {"chosen", chosen ? json{{"co", chosen->co}, {"phi", chosen->phiDegrees}} : json()},
    };
}

void printSensitivity(const Sensitivity& s, const SensitivityLimits& limits, const Project& project,
                      std::ostream& out) {
    if (s.plain) {
        out << formatC("plain search       Fs %.3f at centre (%.2f, %.2f), radius %.2f\n",
                       s.plain->fs, s.plain->rx, s.plain->ry, s.plain->r);
    } else {
        out << "plain search       no circle has a factor of safety\n";
    }
    out << formatC("%-16s %11s %11s %9s %11s %9s %7s\n", "parameter", "value",
                   formatC("%+g %%", limits.lowerPercent).c_str(), "Fs",
                   formatC("%+g %%", limits.upperPercent).c_str(), "Fs", "swing");
    for (const SensitivityRow* row : s.bySwing()) {
        out << formatC("%-16s %11.4g %11.4g %9s %11.4g %9s %7.3f\n",
                       describeParameter(project, row->parameter, WarningLanguage::English).c_str(),
                       row->base, row->lower.value, variedText(row->lower, s.plain).c_str(),
                       row->upper.value, variedText(row->upper, s.plain).c_str(), row->swing());
    }
    out << "* the critical circle moved:";
    bool anyMoved = false;
    for (const SensitivityRow& row : s.rows) {
        for (const VariedSearch* v : {&row.lower, &row.upper}) {
            if (!v->critical || !criticalCircleMoved(s.plain, *v)) continue;
            anyMoved = true;
            out << formatC(
                "\n  %-16s %11.4g  centre (%.2f, %.2f), radius %.2f",
                describeParameter(project, row.parameter, WarningLanguage::English).c_str(),
                v->value, v->critical->rx, v->critical->ry, v->critical->r);
        }
    }
    out << (anyMoved ? "\n" : " none\n");
    if (!s.completed) out << "stopped before every variation was searched\n";
}

json sensitivityJson(const Sensitivity& s, const SensitivityLimits& limits,
                     const Project& project) {
    json rows = json::array();
    for (const SensitivityRow* row : s.bySwing()) {
        rows.push_back(
            {{"parameter", describeParameter(project, row->parameter, WarningLanguage::English)},
             {"base", row->base},
             {"lower", variedJson(row->lower, s.plain)},
             {"upper", variedJson(row->upper, s.plain)},
             {"swing", row->swing()}});
    }
    return {
        {"completed", s.completed},
        {"limits", {{"lowerPercent", limits.lowerPercent}, {"upperPercent", limits.upperPercent}}},
        {"plain", criticalJson(s.plain)},
        {"parameters", std::move(rows)}};
}

}  // namespace dorvo::cli
