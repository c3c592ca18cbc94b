// The search steps the element angles of an arc by rotation; its records must be byte for byte
// those of the evaluation that calls sine and cosine for every element, kept as the oracle.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

#include "calc/circle_evaluation.h"
#include "calc/oracle/direct_circle_evaluation.h"
#include "calc/result_records.h"
#include "model/project_file.h"
#include "support/memory_message_sink.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

class Records : public RecordWriter {
  public:
    void writeRecord(std::string_view record) override {
        text.append(record);
        text += '\n';
    }
    std::string text;
};

/// Everything the search writes or decides from one circle's outcome.
std::string printed(const CircleOutcome& outcome, const std::string& records) {
    std::string out = records;
    out += std::to_string(static_cast<int>(outcome.kind)) + ' ' +
           std::to_string(outcome.missingLayerNo) + '\n';
    if (outcome.kind != OutcomeKind::Result) return out;
    const CircleResult& c = outcome.result;
    for (int decimals = 2; decimals <= 4; ++decimals) {
        out += firstCircleRecord(c.rx, c.ry, c.r, c.md, c.mc, c.mtMe, c.mr, c.fs, decimals) + '\n';
    }
    return out + endPointsRecord(c.p1x, c.p1y, c.p2x, c.p2y) + '\n';
}

struct Comparison {
    long circles = 0;
    long results = 0;
    long unsettled = 0;
    long directDiffering = 0;
    long outsideBounds = 0;
    double largestShareOfBound = 0.0;
    std::string firstDifference;
    std::string largest;
};

bool sameResult(const CircleOutcome& a, const CircleOutcome& b) {
    const CircleResult& x = a.result;
    const CircleResult& y = b.result;
    return a.kind == b.kind && a.missingLayerNo == b.missingLayerNo &&
           std::tie(x.rx, x.ry, x.r, x.md, x.mc, x.mtMe, x.mr, x.fs, x.p1x, x.p1y, x.p2x, x.p2y) ==
               std::tie(y.rx, y.ry, y.r, y.md, y.mc, y.mtMe, y.mr, y.fs, y.p1x, y.p1y, y.p2x,
                        y.p2y);
}

void compareCircle(const Section& section, double rx, double ry, double r, Comparison& seen) {
    EvaluationScratch scratch;
    Records mine;
    Records oracle;
    const CircleOutcome direct = evaluateCircle(section, rx, ry, r, mine, scratch);
    const CircleOutcome old = oracle::evaluateCircleDirectly(section, rx, ry, r, oracle, scratch);
    const SteppedOutcome stepped =
        evaluateCircleStepped(section, sectionSizes(section), rx, ry, r, scratch);
    ++seen.circles;
    if (old.kind == OutcomeKind::Result) ++seen.results;
    auto note = [&](long& count, const std::string& what) {
        if (count++ > 0 || !seen.firstDifference.empty()) return;
        std::ostringstream text;
        text.precision(17);
        text << what << " at circle (" << rx << ", " << ry << ", " << r << ")\n"
             << printed(direct, mine.text) << "oracle:\n"
             << printed(old, oracle.text) << "stepped:\n"
             << printed(stepped.outcome, "");
        seen.firstDifference = text.str();
    };
    if (!sameResult(direct, old) || mine.text != oracle.text) note(seen.directDiffering, "direct");
    if (!stepped.settled) {
        ++seen.unsettled;
        return;
    }
    if (stepped.outcome.kind != old.kind || stepped.outcome.missingLayerNo != old.missingLayerNo) {
        note(seen.outsideBounds, "kind");
        return;
    }
    if (old.kind != OutcomeKind::Result) return;
    const CircleResult& a = stepped.outcome.result;
    const CircleResult& b = old.result;
    const OutcomeBounds& bounds = stepped.bounds;
    for (auto [x, y, bound] : {std::tuple{a.md, b.md, bounds.md},
                               {a.mc, b.mc, bounds.mc},
                               {a.mtMe, b.mtMe, bounds.mtMe},
                               {a.mr, b.mr, bounds.mr},
                               {a.fs, b.fs, bounds.fs}}) {
        const double gap = std::fabs(x - y);
        if (gap == 0.0) continue;
        if (!(gap <= bound)) {
            note(seen.outsideBounds, "bound");
            return;
        }
        if (gap / bound > seen.largestShareOfBound) {
            std::ostringstream text;
            text.precision(17);
            text << "(" << rx << ", " << ry << ", " << r << ") " << x << " " << y << " " << bound
                 << " md " << b.md << " mr " << b.mr;
            seen.largest = text.str();
        }
        seen.largestShareOfBound = std::max(seen.largestShareOfBound, gap / bound);
    }
}

/// A section of up to five blocks of one to four lines, sloping and crossing at random, with
/// layers, loads, Kh, Yc and a distributed-load layer drawn at random.
Project randomProject(std::mt19937& random, int round) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    test::ProjectBuilder builder;
    double x = 0.0;
    const int blocks = 1 + round % 5;
    for (int b = 0; b < blocks; ++b) {
        x += round % 11 == 0 && b == 1 ? 0.0 : 1.0 + 25.0 * unit(random);
        std::vector<test::LineSpec> lines;
        const int count = 1 + (round + b) % 4;
        double left = 0.0;
        double right = 0.0;
        for (int line = 0; line < count; ++line) {
            left += 1.0 + 8.0 * unit(random);
            right += round % 3 == 0 ? 8.0 * unit(random) - 1.0 : 1.0 + 8.0 * unit(random);
            lines.push_back({left, right, 1 + (line + round) % 3});
        }
        builder.block(x, lines);
    }
    builder.layer(1, 18, 35.0 * unit(random), 20 * unit(random), unit(random));
    builder.layer2(2, 19, 17, 30.0 * unit(random), 10 * unit(random), 0.0);
    builder.layer(3, 16 + 4 * unit(random), 40.0 * unit(random), 0.0);
    builder.loadLayer(round % 4).kh(round % 2 == 0 ? 0.0 : 0.3 * unit(random));
    if (round % 3 != 0) builder.yc(30 * unit(random));
    builder.load(x * unit(random), 100 * unit(random) - 20).load(x * unit(random), 40);
    return builder.project();
}

TEST(AngleStepping, RecordsOfRandomProjectsAreThoseOfTheDirectEvaluation) {
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Comparison seen;
    for (int round = 0; round < 400; ++round) {
        const Project project = randomProject(random, round);
        const PreparedSection prepared = prepareSection(project);
        ASSERT_TRUE(prepared.section.has_value()) << prepared.error.text;
        const double width = prepared.section->blocks.back().xr;
        for (int circle = 0; circle < 2500; ++circle) {
            const double rx = width * (1.4 * unit(random) - 0.2);
            const double ry = 5.0 + 50.0 * unit(random);
            compareCircle(*prepared.section, rx, ry, ry * (0.2 + unit(random)), seen);
        }
    }
    EXPECT_EQ(seen.directDiffering, 0) << seen.firstDifference;
    EXPECT_EQ(seen.outsideBounds, 0) << seen.firstDifference;
    EXPECT_GT(seen.results, seen.circles / 4);
    std::cout << seen.circles << " circles, " << seen.results << " results, " << seen.unsettled
              << " unsettled, largest share of bound " << seen.largestShareOfBound << seen.largest
              << '\n';
}

}  // namespace
}  // namespace dorvo
