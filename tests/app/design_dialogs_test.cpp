// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "app/analysis_availability.h"
#include "app/background_job.h"
#include "app/design_dialog_fields.h"
#include "app/design_exports.h"
#include "app/design_summaries.h"
#include "app/probability_editing.h"
#include "model/project_file.h"
#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(BackgroundJob, AnExceptionOfTheWorkEndsTheJobAsFailedNotTheProgram) {
    BackgroundJob job([](const std::stop_token&, JobProgress&) {
        throw std::runtime_error("out of memory in the search");
    });
    job.wait();
    EXPECT_TRUE(job.finished());
    ASSERT_TRUE(job.failure().has_value());
    EXPECT_EQ(*job.failure(), "out of memory in the search");
}

TEST(BackgroundJob, StopKeepsWhatWasDoneAndDestroyingARunningJobStopsIt) {
    int done = 0;
    {
        BackgroundJob job([&](const std::stop_token& stop, JobProgress& progress) {
            while (!stop.stop_requested()) {
                ++done;
                progress.report(done, 1'000'000'000);
                std::this_thread::yield();
            }
        });
        while (job.progress().done() == 0) std::this_thread::yield();
        EXPECT_FALSE(job.finished());
        EXPECT_EQ(job.progress().total(), 1'000'000'000);
    }  // would never end without the stop of the destructor
    EXPECT_GT(done, 0);

    BackgroundJob stopped([](const std::stop_token& stop, JobProgress& progress) {
        while (!stop.stop_requested()) std::this_thread::yield();
        progress.report(7, 10);
    });
    stopped.requestStop();
    stopped.wait();
    EXPECT_FALSE(stopped.failure().has_value());
    EXPECT_EQ(stopped.progress().done(), 7);
}

TEST(TableCsv, IsWrittenInCodePage932WithCrLfAndNeverOverTheOpenProject) {
    test::TempFolder folder;
    Document document;
    document.pathName = folder.path() / "slope.slw";
    std::ofstream(document.pathName) << "project";
    const AnalysisTable table = {{"φ (°)", "Co"}, {"0", "12.50"}, {"5", "1,000"}};

    const fs::path csv = folder.path() / "line.csv";
    ASSERT_TRUE(writeTableCsv(csv, table, document).ok());
    EXPECT_EQ(bytesOf(csv), "\x83\xD3 (\x81\x8B),Co\r\n0,12.50\r\n5,\"1,000\"\r\n");

    const Status overProject = writeTableCsv(folder.path() / "." / "slope.slw", table, document);
    ASSERT_FALSE(overProject.ok());
    EXPECT_EQ(bytesOf(document.pathName), "project");

    const Status unstorable = writeTableCsv(csv, {{"Fs", "\xF0\x9F\x98\x80"}}, document);
    ASSERT_FALSE(unstorable.ok());
    EXPECT_NE(unstorable.error().text.find("\xF0\x9F\x98\x80"), std::string::npos);
    EXPECT_EQ(bytesOf(csv).substr(0, 2), "\x83\xD3");  // the earlier file stays
}

TEST(LastCalculation, ResultsExistOnlyWhenTheFileHoldsSomethingAndTheProjectsCircleComesFirst) {
    test::TempFolder folder;
    const fs::path results = folder.path() / "Tmp1.tmp";
    EXPECT_FALSE(calculationResultsExist(results));
    std::ofstream(results).close();
    EXPECT_FALSE(calculationResultsExist(results));
    std::ofstream(results) << "$$CSV\r\n";
    EXPECT_TRUE(calculationResultsExist(results));

    Project project;
    EXPECT_FALSE(lastCriticalCircle(project, results).has_value());
    project.critical.centreX = 3.5;
    project.critical.centreY = 12.0;
    project.critical.radius = 9.25;
    const auto circle = lastCriticalCircle(project, results);
    ASSERT_TRUE(circle.has_value());
    EXPECT_EQ(circle->rx, 3.5);
    EXPECT_EQ(circle->ry, 12.0);
    EXPECT_EQ(circle->r, 9.25);
}

TEST(LastCalculation, OnlyAProjectWithASectionAndASearchCanBeCalculated) {
    Project project;
    EXPECT_FALSE(projectCanBeCalculated(project));
    std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
    std::ostringstream results;
    test::MemoryMessageSink messages;
    ASSERT_TRUE(readProjectLines(project, in, results, "example", messages));
    EXPECT_TRUE(projectCanBeCalculated(project));
    project.circleSearch.lines[0].clear();  // no centre grid
    EXPECT_FALSE(projectCanBeCalculated(project));
}

TEST(DesignSummaries, RestraintNamesTheGoverningAndTheCriticalForceOrSaysNoneIsNeeded) {
    RestraintForce force;
    force.plannedFs = 1.3;
    EXPECT_NE(restraintSummary(force, "kN/m").find("P = 0"), std::string::npos);
    force.governing = RestraintCircle{1.0, 2.0, 3.0, 100.0, 110.0, 1.1, 6.6667};
    force.critical = RestraintCircle{4.0, 5.0, 6.0, 200.0, 200.0, 1.0, 1.5};
    const std::string text = restraintSummary(force, "tf/m");
    EXPECT_NE(text.find("Fsp 1.30"), std::string::npos);
    EXPECT_NE(text.find("P 6.67 tf/m"), std::string::npos);
    EXPECT_NE(text.find("P 1.50 tf/m"), std::string::npos);
    EXPECT_EQ(text.find("P = 0）"), std::string::npos);
}

TEST(DesignSummaries, AStoppedRunSaysHowFarItCame) {
    Sensitivity sensitivity;
    sensitivity.rows.resize(3);
    EXPECT_NE(sensitivitySummary(sensitivity, 11).find("11 個のうち 3 個"), std::string::npos);
    ProbabilitySummary summary;
    summary.realisations = 250;
    EXPECT_NE(probabilitySummary(summary, 1000).find("1000 回のうち 250 回"), std::string::npos);
    summary.realisations = 1000;
    EXPECT_EQ(probabilitySummary(summary, 1000).find("中止"), std::string::npos);
}

TEST(DesignDialogFields, RefuseWhatIsNoUsableValueNamingTheFieldAndAPairWithNegativeCohesion) {
    const auto circle = typedTrialCircle("10", "20", "0");
    ASSERT_FALSE(circle.ok());
    EXPECT_NE(circle.error().text.find("半径 R"), std::string::npos);
    const auto typed = typedCircleThroughEnds("0", "10", "20", "0", "3");
    const auto direct = circleThroughEnds(0, 10, 20, 0, 3);
    ASSERT_TRUE(typed.ok() && direct.has_value());
    EXPECT_EQ(typed->rx, direct->rx);
    EXPECT_EQ(typed->r, direct->r);
    EXPECT_FALSE(typedCircleThroughEnds("5", "5", "5", "5", "1").ok());  // one point twice
    EXPECT_NE(typedCircleThroughEnds("0", "1,5", "2", "0", "1").error().text.find("端点1 Y"),
              std::string::npos);

    BackAnalysis line;
    line.base = 0.0;
    line.md = 100.0;
    line.targetFs = 1.0;
    line.perCo = 10.0;
    line.perTanPhi = 100.0;  // Co = 10 − 10·tanφ: negative beyond 45°
    const auto chosen = typedChosenPair(line, "30");
    ASSERT_TRUE(chosen.ok());
    EXPECT_DOUBLE_EQ(chosen->co, line.coAt(30.0));
    const auto negative = typedChosenPair(line, "50");
    ASSERT_FALSE(negative.ok());
    EXPECT_NE(negative.error().text.find("Co が負"), std::string::npos);
    EXPECT_FALSE(typedChosenPair(line, "90").ok());

    EXPECT_FALSE(typedRealisations("0").ok());
    EXPECT_FALSE(typedRealisations("1e3").ok());
    EXPECT_EQ(typedRealisations(" 1000 ").value(), 1000);
    EXPECT_EQ(typedSeed("18446744073709551615").value(), UINT64_MAX);
    EXPECT_NE(typedSeed("-1").error().text.find("乱数の種"), std::string::npos);
}

TEST(ProbabilityEditing, TheUncertaintiesTextReadsBackAsTheSpecAndRefusesOtherFields) {
    ProbabilitySpec spec;
    spec.realisations = 500;
    spec.seed = 9;
    spec.mode = ProbabilityMode::FullSearch;
    UncertainParameterSpec co;
    co.parameter = {VariedQuantity::Co, 2};
    co.spreadKind = SpreadKind::CoefficientOfVariation;
    co.spread = 0.3;
    co.min = 0.0;
    UncertainParameterSpec phi;
    phi.parameter = {VariedQuantity::Phi, 2};
    phi.distribution = DistributionKind::Lognormal;
    phi.mean = 28.0;
    phi.spread = 2.0;
    spec.parameters = {co, phi};
    spec.correlations = {{2, -0.5}};

    ProbabilitySpec run = spec;
    run.parameters.clear();
    run.correlations.clear();
    const auto read = withUncertainties(run, uncertaintiesJson(spec));
    ASSERT_TRUE(read.ok()) << read.error().text;
    EXPECT_EQ(read.value(), spec);

    const auto wrongType =
        withUncertainties(run, R"({"parameters": [{"layer": 2, "property": "co", "sd": "high"}]})");
    ASSERT_FALSE(wrongType.ok());
    EXPECT_NE(wrongType.error().text.find("parameters[0].sd"), std::string::npos);
    const auto otherField = withUncertainties(run, R"({"parameters": [], "seed": 4})");
    ASSERT_FALSE(otherField.ok());
    EXPECT_EQ(otherField.error().text.rfind("seed", 0), 0u);
    EXPECT_FALSE(withUncertainties(run, "[1, 2]").ok());
    EXPECT_FALSE(withUncertainties(run, "{").ok());
}

TEST(ProbabilityEditing, TheHistogramTableCountsEveryRealisationWithAnFs) {
    ProbabilitySummary summary;
    summary.withFs = 4;
    summary.histogram = {0.9, 0.1, {1, 0, 3}};
    const AnalysisTable table = probabilityTable(summary);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[1], (std::vector<std::string>{"0.900", "1.000", "1", "25.0"}));
    EXPECT_EQ(table[3], (std::vector<std::string>{"1.100", "1.200", "3", "100.0"}));
}

}  // namespace
}  // namespace dorvo
