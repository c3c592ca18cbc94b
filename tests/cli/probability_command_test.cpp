// SPDX-License-Identifier: GPL-3.0-or-later
// dorvo-cli probability and probability-merge as a script calls them: their outputs, their
// refusals and exit statuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "probability_command.h"
#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

class ProbabilityCommand : public ::testing::Test {
  protected:
    ProbabilityCommand() {
        fs::copy_file(DORVO_EXAMPLES_DIR "/embankment.slw", project());
        fs::copy_file(DORVO_EXAMPLES_DIR "/embankment.prob.json",
                      folder.path() / "embankment.prob.json");
        request.project = project();
        request.realisations = "200";
    }

    fs::path project() const { return folder.path() / "embankment.slw"; }

    int run() {
        out.str("");
        messages.messages.clear();
        return cli::runProbability(request, out, messages);
    }

    std::string firstMessage() const {
        return messages.messages.empty() ? "" : messages.messages.front().text;
    }

    test::TempFolder folder;
    cli::ProbabilityRequest request;
    std::ostringstream out;
    test::MemoryMessageSink messages;
};

TEST_F(ProbabilityCommand, PrintsTheStatisticsOfTheSideFileBesideTheProject) {
    ASSERT_EQ(run(), 0) << firstMessage();
    EXPECT_NE(out.str().find("realisations       200 (latin-hypercube, seed 20261208)"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("P(Fs < 1)"), std::string::npos);
}

TEST_F(ProbabilityCommand, JsonHoldsTheRunTheStatisticsAndTheConvergence) {
    request.json = true;
    request.mode = "circle";
    request.sampling = "monte-carlo";
    request.seed = "5";
    ASSERT_EQ(run(), 0) << firstMessage();
    const auto document = nlohmann::json::parse(out.str());
    EXPECT_EQ(document["run"]["realisations"], 200);
    EXPECT_EQ(document["run"]["seed"], 5);
    EXPECT_EQ(document["run"]["sampling"], "monte-carlo");
    EXPECT_EQ(document["run"]["parameters"].size(), 5u);
    EXPECT_EQ(document["run"]["parameters"][0]["name"], "layer 1 co");
    EXPECT_EQ(document["results"]["realisations"], 200);
    EXPECT_EQ(document["results"]["convergence"].back()["realisations"], 200);
    const double p = document["results"]["probabilityOfFailure"];
    EXPECT_LE(document["results"]["confidenceInterval95"][0].get<double>(), p);
    EXPECT_GE(document["results"]["confidenceInterval95"][1].get<double>(), p);
}

TEST_F(ProbabilityCommand, RefusesOptionsNamingThem) {
    request.realisations = "0";
    EXPECT_EQ(run(), 2);
    EXPECT_EQ(firstMessage(), "--n takes a whole number from 1 to 100000000");
    request.realisations = "10";
    request.seed = "-3";
    EXPECT_EQ(run(), 2);
    EXPECT_EQ(firstMessage(), "--seed takes a whole number from 0 to 2^64 - 1");
    request.seed.reset();
    for (const char* shard : {"3/3", "1", "a/2", "0/0"}) {
        request.shard = shard;
        EXPECT_EQ(run(), 2) << shard;
        EXPECT_EQ(firstMessage(), "--shard takes I/K: a part I of K, 0 <= I < K <= 1000000");
    }
}

TEST_F(ProbabilityCommand, AMissingOrFaultySideFileIsNamed) {
    request.spec = folder.path() / "none.prob.json";
    EXPECT_EQ(run(), 1);
    EXPECT_NE(firstMessage().find("none.prob.json"), std::string::npos);
    const fs::path faulty = folder.path() / "faulty.prob.json";
    std::ofstream(faulty) << R"({"format": "dorvo-probability", "version": 1,
        "parameters": [{"layer": 9, "property": "co", "sd": 1}]})";
    request.spec = faulty;
    EXPECT_EQ(run(), 2);
    EXPECT_EQ(firstMessage(), "parameters[0].layer: the project has no layer No. 9");
}

TEST_F(ProbabilityCommand, ShardsWrittenToFilesMergeIntoTheSingleRun) {
    request.json = true;
    request.mode = "circle";
    ASSERT_EQ(run(), 0);
    const std::string whole = out.str();
    cli::ProbabilityMergeRequest merge;
    for (int i = 0; i < 2; ++i) {
        request.shard = std::to_string(i) + "/2";
        request.output = (folder.path() / ("part-" + std::to_string(i) + ".json")).string();
        ASSERT_EQ(run(), 0) << firstMessage();
        EXPECT_TRUE(out.str().empty());
        merge.parts.push_back(request.output);
    }
    merge.json = true;
    std::ostringstream merged;
    ASSERT_EQ(cli::runProbabilityMerge(merge, merged, messages), 0);
    auto a = nlohmann::json::parse(whole);
    auto b = nlohmann::json::parse(merged.str());
    a.erase("timing");
    b.erase("timing");
    EXPECT_EQ(a, b);
    merge.parts.pop_back();
    EXPECT_EQ(cli::runProbabilityMerge(merge, merged, messages), 2);
}

}  // namespace
}  // namespace dorvo
