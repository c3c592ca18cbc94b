// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace dorvo {

/// The markers that divide a results file, in the results working file and in the results
/// part of a project file: the calculation writes them, and every reader finds them here.
namespace results_marker {
inline constexpr std::string_view kStart = "$$CSV";
inline constexpr std::string_view kOlderStart = "$$RSLT";  // written by the first versions
inline constexpr std::string_view kAnswer = "$$ANS";       // the critical circle's line follows
inline constexpr std::string_view kSlipEnds = "$$XY";      // the critical slip surface's ends
inline constexpr std::string_view kEnd = "$$END";
}  // namespace results_marker

/// What a line of a results file is to its readers.
enum class ResultsLine { Start, OlderStart, Answer, SlipEnds, End, Record };

/// Reads a line's marker. A marker counts anywhere in its line, as files written by hand or
/// by the first versions have them.
ResultsLine classifyResultsLine(std::string_view line);

/// Whether the line starts the results of a project file, "$$CSV" or the older "$$RSLT".
inline bool startsResults(std::string_view line) {
    const ResultsLine kind = classifyResultsLine(line);
    return kind == ResultsLine::Start || kind == ResultsLine::OlderStart;
}

}  // namespace dorvo
