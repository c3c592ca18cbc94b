// SPDX-License-Identifier: GPL-3.0-or-later
// The analyses an engineer runs after the search: the restraint force a countermeasure must
// supply, the back-analysis of a layer's strength and the sensitivity of the minimum Fs.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <stop_token>

#include "calc/back_analysis.h"
#include "calc/restraint_force.h"
#include "calc/sensitivity.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "model/text_cell.h"
#include "support/example_project.h"
#include "support/memory_message_sink.h"
#include "support/project_builder.h"

namespace dorvo {
namespace {

Section sectionOf(const Project& project) {
    Result<Section> prepared = prepareSection(project);
    EXPECT_TRUE(prepared.ok());
    return *prepared;
}

struct Search {
    SearchSummary summary;
    std::string records;
};

Search searchOf(const Project& project) {
    auto valid = validCircleSearch(project.circleSearch);
    EXPECT_TRUE(valid.ok());
    std::ostringstream out;
    Search run;
    run.summary = runCircleSearch(sectionOf(project), *valid, {}, out, nullptr);
    run.records = out.str();
    return run;
}

/// Every circle record of a stream as (Rx, Ry, R, MD, MR), read field by field.
struct RecordedCircle {
    double rx, ry, r, md, mr;
};

std::vector<RecordedCircle> recordedCircles(const std::string& records) {
    std::vector<RecordedCircle> circles;
    std::istringstream in(records);
    std::string line;
    double rx = 0.0, ry = 0.0;
    while (std::getline(in, line)) {
        if (!line.starts_with("028") && !line.starts_with("038")) continue;
        if (line.starts_with("028")) {
            rx = readReal(csvField(line, 2).text);
            ry = readReal(csvField(line, 3).text);
        }
        circles.push_back({rx, ry, readReal(csvField(line, 4).text),
                           readReal(csvField(line, 5).text), readReal(csvField(line, 8).text)});
    }
    return circles;
}

TEST(RestraintForce, IsZeroWhereTheCircleAlreadyReachesThePlannedFs) {
    EXPECT_DOUBLE_EQ(requiredRestraintForce(1.2, 1000.0, 1000.0, 10.0), 20.0);
    EXPECT_DOUBLE_EQ(requiredRestraintForce(1.2, 1000.0, 1200.0, 10.0), 0.0);
    EXPECT_DOUBLE_EQ(requiredRestraintForce(1.2, 1000.0, 1500.0, 10.0), 0.0);
}

TEST(RestraintForce, GoverningCircleIsTheLargestForceRecomputedFromTheRecordsMdAndMr) {
    const Project project = test::exampleProject();
    const Search run = searchOf(project);
    const double fsp = 1.5;
    std::istringstream in(run.records);
    const RestraintForce force = restraintForceFromRecords(in, fsp, sectionOf(project));

    double largest = 0.0;
    RecordedCircle expected{};
    for (const RecordedCircle& c : recordedCircles(run.records)) {
        const double p = (fsp * c.md - c.mr) / c.r;
        if (p > largest) {
            largest = p;
            expected = c;
        }
    }
    ASSERT_GT(largest, 0.0);
    ASSERT_TRUE(force.governing.has_value());
    EXPECT_NEAR(force.governing->force, largest, 1e-9);
    EXPECT_EQ(force.governing->rx, expected.rx);
    EXPECT_EQ(force.governing->ry, expected.ry);
    EXPECT_EQ(force.governing->r, expected.r);
    // The ends come from evaluating the circle again.
    ASSERT_TRUE(force.governingEnds.has_value());
    EXPECT_LT(force.governingEnds->p1x, force.governingEnds->p2x);

    // The critical circle is the answer's, with its own (smaller or equal) force.
    ASSERT_TRUE(force.critical.has_value());
    const CircleResult& critical = *run.summary.critical;
    EXPECT_NEAR(force.critical->rx, critical.rx, 0.005);
    EXPECT_NEAR(force.critical->r, critical.r, 0.005);
    EXPECT_NEAR(force.critical->force, (fsp * critical.md - critical.mr) / critical.r, 0.01);
    EXPECT_LE(force.critical->force, force.governing->force);

    // One maximum per centre with a written circle, and the overall one among them.
    double largestOfCentres = 0.0;
    for (const RestraintCircle& c : force.centreMaxima) {
        largestOfCentres = std::max(largestOfCentres, c.force);
    }
    EXPECT_EQ(largestOfCentres, force.governing->force);
    EXPECT_GT(force.centreMaxima.size(), 100u);
}

TEST(RestraintForce, NoCircleGovernsWhenEveryFsReachesThePlannedFs) {
    const Project project = test::exampleProject();
    const Search run = searchOf(project);
    std::istringstream in(run.records);
    const RestraintForce force = restraintForceFromRecords(in, 0.5, sectionOf(project));
    EXPECT_FALSE(force.governing.has_value());
    ASSERT_TRUE(force.critical.has_value());
    EXPECT_EQ(force.critical->force, 0.0);
}

TEST(BackAnalysis, CircleThroughTwoEndsAndADepth) {
    const auto circle = circleThroughEnds(0.0, 10.0, 20.0, 0.0, 3.0);
    ASSERT_TRUE(circle.has_value());
    for (auto [x, y] : {std::pair{0.0, 10.0}, std::pair{20.0, 0.0}, std::pair{10.0, 2.0}}) {
        EXPECT_NEAR(std::hypot(x - circle->rx, y - circle->ry), circle->r, 1e-9);
    }
    EXPECT_FALSE(circleThroughEnds(0, 0, 0, 0, 1).has_value());
    EXPECT_FALSE(circleThroughEnds(0, 0, 10, 0, 0).has_value());
}

TEST(BackAnalysis, TwoPairsOnTheLineGiveTheTargetFsWhenTheCircleIsEvaluatedAgain) {
    const Project project = test::exampleProject();
    const Section section = sectionOf(project);
    const Search run = searchOf(project);
    const CircleResult& c = *run.summary.critical;
    const TrialCircle circle{c.rx, c.ry, c.r};
    for (int layerNo : {2, 3}) {
        const BackAnalysis analysis = backAnalyse(section, circle, layerNo, 1.0);
        ASSERT_EQ(analysis.status, BackAnalysisStatus::Found) << "layer " << layerNo;
        for (double phi : {5.0, 20.0}) {
            const double co = analysis.coAt(phi);
            if (co < 0.0) continue;
            EvaluationScratch scratch;
            struct : RecordWriter {
                void writeRecord(std::string_view) override {}
            } none;
            const CircleOutcome outcome = evaluateCircle(
                withLayerStrength(section, layerNo, co, phi), c.rx, c.ry, c.r, none, scratch);
            ASSERT_EQ(outcome.kind, OutcomeKind::Result);
            EXPECT_NEAR(outcome.result.fs, 1.0, 1e-4) << "layer " << layerNo << ", φ " << phi;
        }
        // The layer's current strength lies on the line of the circle's current Fs.
        const BackAnalysis same = backAnalyse(section, circle, layerNo, c.fs);
        EXPECT_NEAR(same.coAtCurrentPhi, same.currentCo, 1e-6);
    }
}

TEST(BackAnalysis, PhiAtTheCurrentCohesionLiesOnTheLine) {
    const Project project = test::exampleProject();
    const Search run = searchOf(project);
    const CircleResult& c = *run.summary.critical;
    const BackAnalysis analysis = backAnalyse(sectionOf(project), {c.rx, c.ry, c.r}, 2, 0.9 * c.fs);
    ASSERT_EQ(analysis.status, BackAnalysisStatus::Found);
    ASSERT_TRUE(analysis.phiAtCurrentCo.has_value());
    EXPECT_NEAR(analysis.coAt(*analysis.phiAtCurrentCo), analysis.currentCo, 1e-6);
    EXPECT_LT(*analysis.phiAtCurrentCo, analysis.currentPhiDegrees);
    EXPECT_EQ(analysis.table.size(), 10u);
    EXPECT_EQ(analysis.table.back().phiDegrees, 45.0);
}

TEST(BackAnalysis, SaysWhenTheCircleMissesTheLayerOrTheLayerCarriesLittle) {
    test::ProjectBuilder builder;
    // A deep soft layer 1 under a stiff layer 2; a shallow circle stays in layer 2.
    builder.block(20, {{5, 5, 1}, {10, 10, 2}})
        .block(40, {{5, 5, 1}, {10, 20, 2}})
        .block(80, {{5, 5, 1}, {20, 20, 2}});
    builder.layer(1, 18, 0, 20).layer(2, 19, 30, 5);
    const Section section = sectionOf(builder.project());
    EXPECT_EQ(backAnalyse(section, {30, 30, 21}, 1, 1.0).status,
              BackAnalysisStatus::NotThroughLayer);
    EXPECT_EQ(backAnalyse(section, {30, 30, 21}, 7, 1.0).status, BackAnalysisStatus::NoSuchLayer);
    EXPECT_EQ(backAnalyse(section, {30, 300, 2}, 2, 1.0).status, BackAnalysisStatus::NotEvaluated);
    // A circle that dips just into layer 1: found, but layer 1 decides little.
    const BackAnalysis dip = backAnalyse(section, {30, 30, 25.2}, 1, 1.0);
    ASSERT_EQ(dip.status, BackAnalysisStatus::Found);
    EXPECT_TRUE(dip.shareTooSmall());
    EXPECT_FALSE(backAnalyse(section, {30, 30, 25.2}, 2, 1.0).shareTooSmall());
}

TEST(Sensitivity, AZeroPercentVariationEqualsThePlainSearch) {
    const Project project = test::exampleProject();
    const auto valid = validCircleSearch(project.circleSearch);
    const Sensitivity result = analyseSensitivity(project, *valid, {0.0, 0.0}, {});
    ASSERT_TRUE(result.completed);
    const Search plain = searchOf(project);
    ASSERT_TRUE(result.plain.has_value());
    EXPECT_EQ(result.plain->fs, plain.summary.critical->fs);
    // Three layers of five parameters, Kh and the one load.
    ASSERT_EQ(result.rows.size(), 17u);
    for (const SensitivityRow& row : result.rows) {
        for (const VariedSearch* varied : {&row.lower, &row.upper}) {
            ASSERT_TRUE(varied->critical.has_value());
            EXPECT_EQ(varied->critical->fs, plain.summary.critical->fs);
            EXPECT_FALSE(criticalCircleMoved(result.plain, *varied));
        }
    }
}

TEST(Sensitivity, CountsItsSearchesAndAStopKeepsTheParametersFinishedByThen) {
    const Project project = test::exampleProject();
    const auto valid = validCircleSearch(project.circleSearch);
    std::stop_source stop;
    SearchOptions options;
    options.stop = stop.get_token();
    std::vector<std::pair<std::size_t, std::size_t>> reported;
    const Sensitivity stopped =
        analyseSensitivity(project, *valid, {}, options, [&](std::size_t done, std::size_t total) {
            reported.emplace_back(done, total);
            if (done == 6) stop.request_stop();  // the plain search and two and a half rows
        });
    EXPECT_FALSE(stopped.completed);
    ASSERT_EQ(stopped.rows.size(), 2u);
    ASSERT_TRUE(stopped.plain.has_value());
    ASSERT_EQ(reported.size(), 6u);
    EXPECT_EQ(reported.front(), (std::pair<std::size_t, std::size_t>{1, 35}));
    EXPECT_EQ(reported.back().first, 6u);
}

TEST(Sensitivity, TenPercentVariationsMoveFsTheWayTheParameterActs) {
    const Project project = test::exampleProject();
    const auto valid = validCircleSearch(project.circleSearch);
    const Sensitivity result = analyseSensitivity(project, *valid, {}, {});
    ASSERT_TRUE(result.completed);
    const double plain = result.plain->fs;
    for (const SensitivityRow& row : result.rows) {
        const double lower = row.lower.critical->fs;
        const double upper = row.upper.critical->fs;
        switch (row.parameter.kind) {
            case ParameterKind::Co:
            case ParameterKind::Gamma2:
                // More strength, never less resistance (a layer the circle misses changes
                // nothing).
                EXPECT_GE(upper, lower);
                break;
            case ParameterKind::SeismicCoefficient:
            case ParameterKind::LoadForce:
                EXPECT_LT(upper, lower);
                break;
            default:
                break;
        }
        if (row.base == 0.0) {
            EXPECT_EQ(lower, plain);
            EXPECT_EQ(upper, plain);
        }
    }
    const auto ordered = result.bySwing();
    ASSERT_EQ(ordered.size(), result.rows.size());
    for (std::size_t i = 1; i < ordered.size(); ++i) {
        EXPECT_GE(ordered[i - 1]->swing(), ordered[i]->swing());
    }
}

TEST(ParameterChange, ACopyWithOneCellChangedReadsBackTheExactValue) {
    const Project project = test::exampleProject();
    const ProjectParameter phi{ParameterKind::Phi, 2};
    const double value = parameterValue(project, phi) * 1.1;
    const Project changed = withParameterValue(project, phi, value);
    EXPECT_EQ(parameterValue(changed, phi), value);
    EXPECT_EQ(project.layer(2).phi, test::exampleProject().layer(2).phi);
    EXPECT_EQ(changed.layer(2).gamma1, project.layer(2).gamma1);
    EXPECT_EQ(parameterLayerNo(project, phi), 2);
    const ProjectParameter kh{ParameterKind::SeismicCoefficient, 0};
    EXPECT_EQ(parameterValue(withParameterValue(project, kh, 0.2), kh), 0.2);
}

}  // namespace
}  // namespace dorvo
