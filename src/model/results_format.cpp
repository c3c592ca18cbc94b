// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/results_format.h"

namespace dorvo {

ResultsLine classifyResultsLine(std::string_view line) {
    if (line.find("$$") == line.npos) return ResultsLine::Record;
    const auto holds = [line](std::string_view marker) { return line.find(marker) != line.npos; };
    // The end wins over the others, as the readers have always stopped at it first.
    if (holds(results_marker::kEnd)) return ResultsLine::End;
    if (holds(results_marker::kSlipEnds)) return ResultsLine::SlipEnds;
    if (holds(results_marker::kAnswer)) return ResultsLine::Answer;
    if (holds(results_marker::kOlderStart)) return ResultsLine::OlderStart;
    if (holds(results_marker::kStart)) return ResultsLine::Start;
    return ResultsLine::Record;
}

}  // namespace dorvo
