// SPDX-License-Identifier: GPL-3.0-or-later
// The search evaluates its circles with the element angles stepped by rotation; its records
// must be byte for byte those of the evaluation that calls sine and cosine for every element,
// kept frozen here as the oracle.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

#include "calc/best_circle.h"
#include "calc/circle_evaluation.h"
#include "calc/circle_search_run.h"
#include "calc/oracle/direct_circle_evaluation.h"
#include "calc/result_records.h"
#include "calc/search_tasks.h"
#include "support/project_builder.h"
#include "support/sanitizers.h"

namespace dorvo {
namespace {

class RecordText : public RecordWriter {
  public:
    void writeRecord(std::string_view record) override {
        text.append(record);
        text += '\n';
    }
    std::string text;
};

/// What the search writes of one circle's outcome with `decimals` Fs decimals.
std::string printed(const CircleOutcome& outcome, int decimals) {
    std::string out = std::to_string(static_cast<int>(outcome.kind)) + ' ' +
                      std::to_string(outcome.missingLayerNo) + '\n';
    if (outcome.kind != OutcomeKind::Result) return out;
    const CircleResult& c = outcome.result;
    out += firstCircleRecord(c.rx, c.ry, c.r, c.md, c.mc, c.mtMe, c.mr, c.fs, decimals) + '\n';
    out += minimumRecord(c.rx, c.ry, c.r, c.fs, decimals) + '\n';
    out += c.fs < 9999.0 ? "written\n" : "not written\n";
    return out + endPointsRecord(c.p1x, c.p1y, c.p2x, c.p2y) + '\n';
}

bool sameResult(const CircleOutcome& a, const CircleOutcome& b) {
    const CircleResult& x = a.result;
    const CircleResult& y = b.result;
    return a.kind == b.kind && a.missingLayerNo == b.missingLayerNo &&
           std::tie(x.rx, x.ry, x.r, x.md, x.mc, x.mtMe, x.mr, x.fs, x.p1x, x.p1y, x.p2x, x.p2y) ==
               std::tie(y.rx, y.ry, y.r, y.md, y.mc, y.mtMe, y.mr, y.fs, y.p1x, y.p1y, y.p2x,
                        y.p2y);
}

/// What the evaluations of many circles showed, with the first circle that went wrong.
struct Comparison {
    long circles = 0;
    long results = 0;
    long unsettled = 0;
    long stoodFor = 0;  // stepped outcomes the search would take for the direct ones
    long directDiffering = 0;
    long outsideBounds = 0;
    long printedDiffering = 0;
    double largestShareOfBound = 0.0;
    std::string firstFault;
};

void compareCircle(const Section& section, const SectionSizes& sizes, double rx, double ry,
                   double r, Comparison& seen) {
    EvaluationScratch scratch;
    RecordText mine;
    RecordText frozen;
    const CircleOutcome direct = evaluateCircle(section, rx, ry, r, mine, scratch);
    const CircleOutcome old = oracle::evaluateCircleDirectly(section, rx, ry, r, frozen, scratch);
    const SteppedOutcome stepped = evaluateCircleStepped(section, sizes, rx, ry, r, scratch);
    ++seen.circles;
    if (old.kind == OutcomeKind::Result) ++seen.results;
    auto fault = [&](long& count, const char* what) {
        if (count++ > 0 || !seen.firstFault.empty()) return;
        std::ostringstream text;
        text.precision(17);
        text << what << " at circle (" << rx << ", " << ry << ", " << r << ")\noracle:\n"
             << frozen.text << printed(old, 3) << "direct:\n"
             << mine.text << printed(direct, 3) << "stepped:\n"
             << printed(stepped.outcome, 3);
        seen.firstFault = text.str();
    };
    if (!sameResult(direct, old) || mine.text != frozen.text) fault(seen.directDiffering, "direct");
    if (!stepped.settled) {
        ++seen.unsettled;
        return;
    }
    if (stepped.outcome.kind != old.kind || stepped.outcome.missingLayerNo != old.missingLayerNo) {
        fault(seen.outsideBounds, "kind");
        return;
    }
    for (int decimals = 2; decimals <= 4; ++decimals) {
        if (!standsForDirect(stepped, decimals)) continue;
        ++seen.stoodFor;
        if (printed(stepped.outcome, decimals) != printed(old, decimals) || !frozen.text.empty()) {
            fault(seen.printedDiffering, "printed");
        }
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
            fault(seen.outsideBounds, "bound");
            return;
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
        const int count = round % 17 == 5 && b == 1 ? 0 : 1 + (round + b) % 4;
        double left = 0.0;
        double right = 0.0;
        for (int line = 0; line < count; ++line) {
            left += 1.0 + 8.0 * unit(random);
            right += round % 3 == 0 ? 8.0 * unit(random) - 1.0 : 1.0 + 8.0 * unit(random);
            lines.push_back({left, right, 1 + (line + round) % (round % 13 == 0 ? 4 : 3)});
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

Comparison compareRandomProjects(int projects, int circlesEach) {
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Comparison seen;
    for (int round = 0; round < projects; ++round) {
        const Project project = randomProject(random, round);
        const Result<Section> prepared = prepareSection(project);
        EXPECT_TRUE(prepared.ok()) << prepared.error().text;
        if (!prepared) continue;
        const Section& section = *prepared;
        const SectionSizes sizes = sectionSizes(section);
        const double width = section.blocks.back().xr;
        for (int circle = 0; circle < circlesEach; ++circle) {
            const double rx = width * (1.4 * unit(random) - 0.2);
            const double ry = 5.0 + 50.0 * unit(random);
            compareCircle(section, sizes, rx, ry, ry * (0.2 + unit(random)), seen);
        }
    }
    return seen;
}

// Some 600,000 circles over 400 sections: cut and uncut circles, crossing lines, blocks
// without lines, layers without a row, distributed-load layers, R-Over and abandoned circles
// among them.
TEST(AngleStepping, OnRandomProjectsTheSearchPrintsWhatTheFrozenEvaluationPrints) {
    // Unoptimised sanitizer builds run ten times slower: a quarter of the projects there.
    const bool sanitized = test::kAddressSanitizer || test::kThreadSanitizer;
    const Comparison seen = compareRandomProjects(sanitized ? 100 : 400, 1500);
    EXPECT_EQ(seen.directDiffering, 0) << seen.firstFault;
    EXPECT_EQ(seen.outsideBounds, 0) << seen.firstFault;
    EXPECT_EQ(seen.printedDiffering, 0) << seen.firstFault;
    EXPECT_GT(seen.results, seen.circles / 4);
    // The stepped evaluation is the rule and the direct one the exception.
    EXPECT_LT(seen.unsettled, seen.circles / 100);
    EXPECT_GT(seen.stoodFor, 3 * seen.results * 95 / 100);
    // The bounds keep a wide margin over the differences seen.
    EXPECT_LT(seen.largestShareOfBound, 0.01);
}

TEST(AngleStepping, EveryCircleOfTheExampleSearchPrintsWhatTheFrozenEvaluationPrints) {
    test::ProjectBuilder builder;
    builder.block(40, {{6, 6, 3}, {10, 10, 2}})
        .block(50.8, {{6, 6, 3}, {10, 10, 2}, {10, 16, 1}})
        .block(62.8, {{6, 6, 3}, {10, 10, 2}, {16, 16, 1}})
        .block(73.6, {{6, 6, 3}, {10, 10, 2}, {16, 10, 1}})
        .block(100, {{6, 6, 3}, {10, 10, 2}})
        .layer(1, 19, 30, 5)
        .layer(2, 18, 30, 15)
        .layer(3, 17, 0, 30, 2)
        .load(54, 30)
        .kh(0.15)
        .yc(10);
    const Section section = prepareSection(builder.project()).value();
    const SectionSizes sizes = sectionSizes(section);
    Comparison seen;
    for (double ry = 14; ry <= 40; ry += 0.7) {
        for (double rx = 36; rx <= 70; rx += 0.9) {
            for (double r = ry - 9; r <= ry - 0.4; r += 0.35)
                compareCircle(section, sizes, rx, ry, r, seen);
        }
    }
    EXPECT_EQ(seen.directDiffering, 0) << seen.firstFault;
    EXPECT_EQ(seen.outsideBounds, 0) << seen.firstFault;
    EXPECT_EQ(seen.printedDiffering, 0) << seen.firstFault;
    EXPECT_GT(seen.results, seen.circles / 2);
}

// Forty narrow blocks of the same layers: every block side starts a one-layer segment, and
// each segment starts from the angle the last one turned to, so the rounding of the rotation
// runs on through the whole arc, the longest chain a section allows.
TEST(AngleStepping, BoundsHoldWhereTheTurnedAngleRunsOnThroughFortyBlocks) {
    test::ProjectBuilder builder;
    for (int b = 1; b <= kMaxBlocks; ++b) {
        const double left = 0.05 * (b - 1);
        builder.block(2.5 * b, {{4.0 + left, 4.05 + left, 3},
                                {9.0 + 2 * left, 9.1 + 2 * left, 2},
                                {12.0 + 3 * left, 12.15 + 3 * left, 1}});
    }
    builder.layer(1, 18, 30, 10, 0.5).layer(2, 19, 25, 20).layer(3, 20, 35, 5).kh(0.2).yc(8);
    const Section section = prepareSection(builder.project()).value();
    const SectionSizes sizes = sectionSizes(section);
    Comparison seen;
    for (double rx = 30; rx <= 70; rx += 2.3) {
        for (double ry = 40; ry <= 120; ry += 7.9) {
            for (double r = ry - 11.5; r <= ry - 4.5; r += 0.61)
                compareCircle(section, sizes, rx, ry, r, seen);
        }
    }
    EXPECT_EQ(seen.directDiffering, 0) << seen.firstFault;
    EXPECT_EQ(seen.outsideBounds, 0) << seen.firstFault;
    EXPECT_EQ(seen.printedDiffering, 0) << seen.firstFault;
    EXPECT_GT(seen.results, seen.circles / 2);
    EXPECT_LT(seen.unsettled, seen.circles / 10);
    EXPECT_LT(seen.largestShareOfBound, 0.01);
}

/// The critical circle as the frozen evaluation finds it: the first with the lowest Fs, in the
/// search's order of rows, centres and radii.
CircleResult frozenCritical(const Project& project) {
    const Section section = prepareSection(project).value();
    const SearchGrid grid(*validCircleSearch(project.circleSearch));
    EvaluationScratch scratch;
    RecordText records;
    CircleResult best;
    best.fs = kNoSolutionFs;
    for (std::int64_t row = 0; row < grid.rows(); ++row) {
        const double ry = grid.centreY(row);
        for (std::int64_t column = 0; column < grid.columns(); ++column) {
            const double rx = grid.centreX(column);
            const double limit = grid.radiusLimit(ry);
            for (double r = grid.firstRadius(ry), previous = std::nan("");
                 grid.radiusInRange(r, previous, limit); previous = r, r += grid.values().stepR()) {
                if (r < kEpsilon || ry - r < kEpsilon) continue;
                const CircleOutcome outcome =
                    oracle::evaluateCircleDirectly(section, rx, ry, r, records, scratch);
                if (outcome.kind == OutcomeKind::Result && outcome.result.fs < best.fs) {
                    best = outcome.result;
                }
            }
        }
    }
    return best;
}

TEST(AngleStepping, CirclesOfEqualFsAreOrderedByTheDirectEvaluation) {
    // Level ground and level layers shaken sideways: circles of one radius and height along a
    // row differ only in the last bits of their Fs, and the first lowest of the direct
    // evaluation wins.
    test::ProjectBuilder builder;
    builder.block(60, {{4, 4, 2}, {10, 10, 1}})
        .layer(1, 18, 25, 8)
        .layer(2, 19, 30, 12)
        .kh(0.2)
        .search(14, 12, 46, 14, 0.8, 1, 9, 2, 0.5);
    const CircleResult expected = frozenCritical(builder.project());
    ASSERT_LT(expected.fs, 9999.0);
    for (int threads : {1, 2}) {
        const Section section = prepareSection(builder.project()).value();
        std::ostringstream out;
        SearchOptions options;
        options.threads = threads;
        const SearchSummary summary = runCircleSearch(
            section, *validCircleSearch(builder.project().circleSearch), options, out, nullptr);
        ASSERT_TRUE(summary.critical.has_value());
        const CircleResult& found = *summary.critical;
        EXPECT_EQ(
            std::tie(found.rx, found.ry, found.r, found.fs, found.md, found.mr),
            std::tie(expected.rx, expected.ry, expected.r, expected.fs, expected.md, expected.mr));
    }
}

TEST(CircleJudge, SettlesFsTooCloseToCallByTheDirectEvaluation) {
    test::ProjectBuilder builder;
    builder.block(60, {{4, 4, 2}, {10, 10, 1}}).layer(1, 18, 25, 8).layer(2, 19, 30, 12).kh(0.2);
    const Section section = prepareSection(builder.project()).value();
    EvaluationScratch scratch;
    RecordText records;
    const CircleResult a = evaluateCircle(section, 20, 14, 9, records, scratch).result;
    const CircleResult b = evaluateCircle(section, 30, 14, 9, records, scratch).result;
    ASSERT_NEAR(a.fs, b.fs, 1e-9);
    CircleJudge judge(section, scratch);
    // Stepped values a little off, with bounds that overlap: the judge evaluates both anew.
    BestCircle candidate{b, 1e-9};
    candidate.circle.fs = a.fs - 1e-10;
    BestCircle best{a, 1e-9};
    best.circle.fs = a.fs + 1e-10;
    EXPECT_EQ(judge.lower(candidate, best), b.fs < a.fs);
    EXPECT_EQ(candidate.circle.fs, b.fs);
    EXPECT_EQ(best.circle.fs, a.fs);
    EXPECT_EQ(candidate.fsBound, 0.0);
    // Far apart, no evaluation is needed: the values stay as they were.
    BestCircle low{a, 1e-9};
    low.circle.fs = 1.0;
    BestCircle high{b, 1e-9};
    high.circle.fs = 2.0;
    EXPECT_TRUE(judge.lower(low, high));
    EXPECT_EQ(low.circle.fs, 1.0);
    EXPECT_EQ(high.fsBound, 1e-9);
}

TEST(StandsForDirect, RefusesAValueWhoseBoundReachesARoundingEdgeOrNineThousandNineHundred) {
    SteppedOutcome stepped;
    stepped.settled = true;
    stepped.outcome.kind = OutcomeKind::Result;
    CircleResult& c = stepped.outcome.result;
    c = {10, 20, 15, 1000.004, 200, 800, 1000, 1.00045, 1, 2, 3, 4};
    stepped.bounds = {1e-6, 1e-6, 1e-6, 1e-6, 1e-6};
    EXPECT_TRUE(standsForDirect(stepped, 3));
    EXPECT_FALSE(standsForDirect(stepped, 4));  // 1.00045 ± 1e-6: 1.0004 or 1.0005
    c.md = 1000.005;                            // half a hundredth: prints either way
    EXPECT_FALSE(standsForDirect(stepped, 3));
    c.md = 1000.004;
    c.mc = -1e-7;  // "-0.00" or "0.00"
    EXPECT_FALSE(standsForDirect(stepped, 3));
    c.mc = 200;
    c.fs = 9999.0000001;  // written or not
    EXPECT_FALSE(standsForDirect(stepped, 3));
    stepped.bounds = {};
    c.mc = -1e-7;
    EXPECT_TRUE(standsForDirect(stepped, 3));  // no bound: exactly the direct values
    stepped.settled = false;
    EXPECT_FALSE(standsForDirect(stepped, 3));
}

}  // namespace
}  // namespace dorvo
