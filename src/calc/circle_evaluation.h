#pragma once

#include <string>
#include <vector>

#include "calc/section.h"

namespace dorvo {

/// The value that stands for "no factor of safety".
inline constexpr double kNoSolutionFs = 9999.99;

struct ArcPoint {
    double x = 0.0;
    double y = 0.0;
    int block = 0;  // index into Section::blocks of the segment that ends here
};

struct CircleResult {
    double rx = 0.0;
    double ry = 0.0;
    double r = 0.0;
    double md = 0.0;
    double mc = 0.0;
    double mtMe = 0.0;
    double mr = 0.0;
    double fs = kNoSolutionFs;
    double p1x = 0.0;
    double p1y = 0.0;
    double p2x = 0.0;
    double p2y = 0.0;
};

enum class OutcomeKind { Result, Skipped, MissingLayer, Abandoned };

struct CircleOutcome {
    OutcomeKind kind = OutcomeKind::Skipped;
    CircleResult result;
    int missingLayerNo = 0;
};

/// Receives the diagnostic records an evaluation writes into the result stream.
class RecordWriter {
  public:
    virtual ~RecordWriter() = default;
    virtual void writeRecord(std::string_view record) = 0;
};

/// Working memory of one evaluating thread, reused from circle to circle.
struct EvaluationScratch {
    std::vector<ArcPoint> points;
    EvaluationScratch() { points.reserve(4096); }
};

/// Evaluates one trial circle by moment equilibrium about its centre.
CircleOutcome evaluateCircle(const Section& section, double rx, double ry, double r,
                             RecordWriter& records, EvaluationScratch& scratch);

}  // namespace dorvo
