// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/restraint_force.h"

#include <array>
#include <string>
#include <string_view>

#include "calc/unrecorded_runs.h"
#include "model/line_io.h"
#include "model/number_text.h"
#include "model/results_format.h"

namespace dorvo {

namespace {

constexpr std::size_t kRecordFields = 9;

/// The comma fields of a record; fields beyond the ninth stay empty.
std::array<std::string_view, kRecordFields> recordFields(std::string_view line) {
    std::array<std::string_view, kRecordFields> fields{};
    for (std::size_t i = 0; i < kRecordFields; ++i) {
        const std::size_t comma = line.find(',');
        fields[i] = line.substr(0, comma);
        if (comma == line.npos) break;
        line.remove_prefix(comma + 1);
    }
    return fields;
}

/// The number after `marker` in `text`, or nothing.
std::optional<double> numberAfter(std::string_view text, std::string_view marker) {
    const std::size_t at = text.find(marker);
    if (at == text.npos) return std::nullopt;
    return readReal(text.substr(at + marker.size()));
}

struct AnswerCircle {
    double rx = 0.0;
    double ry = 0.0;
    double r = 0.0;
};

/// Rx, Ry and R of a 055 record.
std::optional<AnswerCircle> answerOf(std::string_view line) {
    auto rx = numberAfter(line, "Rx:");
    auto ry = numberAfter(line, "Ry:");
    auto r = numberAfter(line, "R:");
    if (!rx || !ry || !r) return std::nullopt;
    return AnswerCircle{*rx, *ry, *r};
}

bool sameCircle(const RestraintCircle& circle, const AnswerCircle& answer) {
    return circle.rx == answer.rx && circle.ry == answer.ry && circle.r == answer.r;
}

}  // namespace

double requiredRestraintForce(double plannedFs, double md, double mr, double r) {
    if (r <= 0.0) return 0.0;
    const double force = (plannedFs * md - mr) / r;
    return force > 0.0 ? force : 0.0;
}

RestraintForce restraintForceFromRecords(std::istream& records, double plannedFs,
                                         const Section& section) {
    RestraintForce result;
    result.plannedFs = plannedFs;
    // The circles whose printed Fs is the lowest so far: the answer is one of them.
    std::vector<RestraintCircle> lowest;
    std::optional<RestraintCircle> centre;
    double rx = 0.0;
    double ry = 0.0;
    bool answerNext = false;
    std::optional<AnswerCircle> answer;

    const auto closeCentre = [&] {
        if (centre) result.centreMaxima.push_back(*centre);
        centre.reset();
    };
    std::string raw;
    while (readRawLine(records, raw)) {
        const std::string_view line = withoutLineEnd(raw);
        const ResultsLine kind = classifyResultsLine(line);
        if (kind == ResultsLine::End) break;
        if (kind == ResultsLine::Answer) {
            answerNext = true;
            continue;
        }
        if (line.starts_with("055,")) {
            if (answerNext) answer = answerOf(line);
            closeCentre();
            continue;
        }
        const bool first = line.starts_with("028,");
        if (!first && !line.starts_with("038,")) continue;
        const auto fields = recordFields(line);
        if (first) {
            rx = readReal(fields[1]);
            ry = readReal(fields[2]);
        }
        RestraintCircle circle{rx,
                               ry,
                               readReal(fields[3]),
                               readReal(fields[4]),
                               readReal(fields[7]),
                               readReal(fields[8]),
                               0.0};
        circle.force = requiredRestraintForce(plannedFs, circle.md, circle.mr, circle.r);
        // A centre none of whose circles needs a force shows its lowest Fs.
        if (!centre || circle.force > centre->force ||
            (circle.force == 0.0 && centre->force == 0.0 && circle.fs < centre->fs)) {
            centre = circle;
        }
        if (circle.force > 0.0 && (!result.governing || circle.force > result.governing->force)) {
            result.governing = circle;
        }
        if (lowest.empty() || circle.fs < lowest.front().fs) lowest.clear();
        if (lowest.empty() || circle.fs == lowest.front().fs) lowest.push_back(circle);
    }
    closeCentre();

    if (answer) {
        for (const RestraintCircle& circle : lowest) {
            if (sameCircle(circle, *answer)) {
                result.critical = circle;
                break;
            }
        }
    }
    if (result.governing) {
        const RestraintCircle& g = *result.governing;
        result.governingEnds = evaluateUnrecorded(section, g.rx, g.ry, g.r);
    }
    return result;
}

std::string_view forcePerMetreUnit(const Project& project) {
    return readInteger(project.settings.line(settings_line::kUnitDisplay)) == 2 ? "tf/m" : "kN/m";
}

}  // namespace dorvo
