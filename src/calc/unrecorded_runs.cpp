// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/unrecorded_runs.h"

#include <ostream>
#include <streambuf>

namespace dorvo {

namespace {

class NoRecords : public RecordWriter {
  public:
    void writeRecord(std::string_view) override {}
};

class DiscardedBytes : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace

std::optional<CircleResult> evaluateUnrecorded(const Section& section, double rx, double ry,
                                               double r) {
    NoRecords records;
    EvaluationScratch scratch;
    const CircleOutcome outcome = evaluateCircle(section, rx, ry, r, records, scratch);
    if (outcome.kind != OutcomeKind::Result) return std::nullopt;
    return outcome.result;
}

SearchSummary searchUnrecorded(const Section& section, const ValidCircleSearch& search,
                               const SearchOptions& options) {
    DiscardedBytes discarded;
    std::ostream nowhere(&discarded);
    return runCircleSearch(section, search, options, nowhere, nullptr);
}

}  // namespace dorvo
