// SPDX-License-Identifier: GPL-3.0-or-later
// The command line end to end: calc with its records and save, render to files, and the exit
// statuses a script relies on.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "calc_json.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = 0;
    std::string output;
};

class CommandLine : public ::testing::Test {
  protected:
    CommandLine() {
        fs::copy_file(DORVO_EXAMPLES_DIR "/embankment.slw", project());
        // An installation of its own, so the user's settings play no part.
        environment = "XDG_CONFIG_HOME=" + (folder.path() / "config").string() +
                      " XDG_DATA_HOME=" + (folder.path() / "data").string() + " ";
    }

    fs::path project() const { return folder.path() / "embankment.slw"; }

    CliRun run(const std::string& arguments, bool withStderr = true) {
        const std::string command = environment + DORVO_CLI_PATH + " " + arguments +
                                    (withStderr ? " 2>&1" : " 2>/dev/null");
        FILE* pipe = ::popen(command.c_str(), "r");
        CliRun result;
        char buffer[4096];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
            result.output.append(buffer, got);
        }
        result.status = WEXITSTATUS(::pclose(pipe));
        return result;
    }

    /// Starts dorvo-cli with the temporary folder in the test's folder, its standard output
    /// on a pipe whose reading end `out` gets, its standard error thrown away.
    pid_t start(const std::vector<std::string>& arguments, int& out) {
        fs::create_directories(temporaryFolder());
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return -1;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(pipeEnds[1], 1);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 2);
            ::close(pipeEnds[0]);
            ::setenv("TMPDIR", temporaryFolder().c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (folder.path() / "config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", (folder.path() / "data").c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(DORVO_CLI_PATH)};
            for (const std::string& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(DORVO_CLI_PATH, argv.data());
            ::_exit(127);
        }
        ::close(pipeEnds[1]);
        out = pipeEnds[0];
        return pid;
    }

    fs::path temporaryFolder() const { return folder.path() / "tmp"; }

    /// Waits up to twenty seconds for a file whose name holds `part` in the temporary folder.
    bool awaitTemporaryFile(std::string_view part) const {
        return awaitFileIn(temporaryFolder(), part);
    }

    /// Waits up to twenty seconds for a file whose name holds `part` in `where`.
    bool awaitFileIn(const fs::path& where, std::string_view part) const {
        for (int waited = 0; waited < 2000; ++waited) {
            for (const auto& entry : fs::directory_iterator(where)) {
                if (entry.path().filename().string().find(part) != std::string::npos) return true;
            }
            ::usleep(10'000);
        }
        return false;
    }

    std::vector<std::string> filesIn(const fs::path& path) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    /// The example with a finer centre grid: a search of many minutes.
    void makeTheSearchFiner(std::string_view step) {
        std::string text = test::readBytes(project());
        const std::string grid = "$$R\r\n40\r\n14\r\n54\r\n28\r\n1\r\n1\r\n";
        ASSERT_NE(text.find(grid), std::string::npos);
        text.replace(text.find(grid), grid.size(),
                     "$$R\r\n40\r\n14\r\n54\r\n28\r\n" + std::string(step) + "\r\n" +
                         std::string(step) + "\r\n");
        test::writeBytes(project(), text);
    }

    test::TempFolder folder;
    std::string environment;
};

/// The exit status of a finished child, or -1 when a signal ended it.
/// Waits up to twenty seconds until the process catches the signal, as the command line does
/// once it runs a command.
bool awaitCaught(pid_t pid, int signal) {
    for (int waited = 0; waited < 2000; ++waited) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (!line.starts_with("SigCgt:")) continue;
            const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
            if (caught >> (signal - 1) & 1u) return true;
        }
        ::usleep(10'000);
    }
    return false;
}

int exitStatusOf(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST_F(CommandLine, WorkingFolderWithoutItsSettingsFilesSaysSoAndGoesOn) {
    const fs::path work = folder.path() / "data" / "Quenvar" / "Dorvo5";
    fs::create_directories(work);
    CliRun calc = run("calc " + project().string());
    EXPECT_EQ(calc.status, 0) << calc.output;
    EXPECT_NE(calc.output.find((work / "Sys.ndx").string()), std::string::npos) << calc.output;
    EXPECT_NE(calc.output.find((work / "Font1.ndx").string()), std::string::npos);
    EXPECT_NE(calc.output.find("minimum Fs         1.013"), std::string::npos);  // 3 decimals
    EXPECT_NE(calc.output.find("Bishop Fs          1.331 (smallest mα 0.134)"), std::string::npos);
    EXPECT_NE(calc.output.find("warning            smallest mα 0.134 is below 0.2"),
              std::string::npos);
}

TEST_F(CommandLine, ProjectThatCannotBeReadIsNamedInTheMessage) {
    CliRun show = run("show " + (folder.path() / "missing.slw").string());
    EXPECT_EQ(show.status, 1);
    EXPECT_NE(show.output.find("ファイルが見つかりません"), std::string::npos) << show.output;
    EXPECT_NE(show.output.find("missing.slw"), std::string::npos);
}

TEST_F(CommandLine, FileThatIsNoProjectIsRefusedByEveryCommand) {
    const fs::path empty = folder.path() / "empty.slw";
    const fs::path noise = folder.path() / "noise.slw";
    test::writeBytes(empty, "");
    test::writeBytes(noise, std::string("\x7f"
                                        "ELF\x02\x01\x01\0\0\0",
                                        10));
    for (const fs::path& file : {empty, noise}) {
        for (const std::string& command :
             {"show " + file.string(), "calc " + file.string() + " --save",
              "render " + file.string() + " -o " + (folder.path() / "out.pdf").string()}) {
            CliRun run = this->run(command);
            EXPECT_EQ(run.status, 1) << command << "\n" << run.output;
            EXPECT_NE(run.output.find("プロジェクトファイルではありません"), std::string::npos)
                << run.output;
        }
    }
    EXPECT_EQ(test::readBytes(empty), "");
    EXPECT_FALSE(fs::exists(folder.path() / "out.pdf"));
}

TEST_F(CommandLine, ExplainListsElementsWhoseSumsAreTheRecordOfTheCriticalCircle) {
    CliRun explain = run("explain " + project().string());
    ASSERT_EQ(explain.status, 0) << explain.output;
    EXPECT_NE(explain.output.find("centre (47.00, 18.00), radius 16.60"), std::string::npos);
    // Each sum stands beside the record's value, equal to the last printed digit.
    for (const char* name : {"MD = Md + Me + Mf", "MC   ", "MT - ME   ", "MR = MT - ME + MC"}) {
        const std::size_t at = explain.output.find(name);
        ASSERT_NE(at, std::string::npos) << name;
        const std::string line = explain.output.substr(at, explain.output.find('\n', at) - at);
        const std::string sum = line.substr(22, 11);
        const std::string record = line.substr(line.find("record") + 7, 11);
        EXPECT_EQ(sum, record) << line;
    }
    // The example's critical circle has a steep passive toe: its smallest mα is 0.134.
    EXPECT_NE(explain.output.find("Bishop Fs (simplified)     1.3313 (smallest mα 0.134)"),
              std::string::npos)
        << explain.output;
    EXPECT_NE(explain.output.find("warning                smallest mα 0.134 is below 0.2"),
              std::string::npos);

    CliRun csv = run("explain " + project().string() + " --circle 47 18 16.6 --csv");
    ASSERT_EQ(csv.status, 0);
    EXPECT_TRUE(csv.output.starts_with("No,x1,y1,x2,y2,theta_deg"));
    EXPECT_NE(csv.output.find("\nsum,"), std::string::npos);
}

TEST_F(CommandLine, ExplainOfTheCriticalCircleStopsOnSigintAndSigterm) {
    makeTheSearchFiner("0.05");  // a search of minutes
    for (int signal : {SIGINT, SIGTERM}) {
        int out = -1;
        const pid_t pid = start({"explain", project().string()}, out);
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(awaitCaught(pid, signal));
        ::usleep(300'000);  // into the search
        ::kill(pid, signal);
        int status = 0;
        pid_t ended = 0;
        for (int waited = 0; waited < 1000 && ended == 0; ++waited) {
            ended = ::waitpid(pid, &status, WNOHANG);
            if (ended == 0) ::usleep(10'000);
        }
        if (ended == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "explain ran on ten seconds after signal " << signal;
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + signal);
        }
        ::close(out);
    }
}

TEST_F(CommandLine, FullStandardOutputFailsEveryCommand) {
    ASSERT_EQ(run("calc " + project().string() + " --save").status, 0);
    for (const std::string& command :
         {"show " + project().string(), "explain " + project().string() + " --circle 47 18 16.6",
          "explain " + project().string(), "calc " + project().string()}) {
        EXPECT_EQ(run(command + " >/dev/full", false).status, 1) << command;
    }
}

TEST_F(CommandLine, CommandLineMistakesAreRefusedNamingThem) {
    CliRun huge = run("explain " + project().string() + " --circle 47 18 1e308");
    EXPECT_EQ(huge.status, 2);
    EXPECT_NE(huge.output.find("--circle takes values from -10000000 to 10000000"),
              std::string::npos)
        << huge.output;
    EXPECT_EQ(huge.output.find("00000000000000000000"), std::string::npos) << huge.output;

    for (const char* option : {" --save", " --records x.txt"}) {
        CliRun json = run("calc --json " + project().string() + option);
        EXPECT_EQ(json.status, 2) << option;
        EXPECT_NE(json.output.find("--json"), std::string::npos) << json.output;
    }
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"embankment.slw"});
}

TEST_F(CommandLine, RecordsIntoAPipeThatHeadClosesReportNothing) {
    makeTheSearchFiner("0.25");
    const fs::path errors = folder.path() / "errors.txt";
    CliRun piped = run("calc " + project().string() + " --records - 2>" + errors.string() +
                       " | head -c 100 >/dev/null");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(test::readBytes(errors), "");
}

TEST_F(CommandLine, JsonOfAnInterruptedRunSaysWhichProjectsWereNeverStarted) {
    std::stop_source stop;
    stop.request_stop();
    cli::CalcRequest settings;
    settings.stop = stop.get_token();
    std::ostringstream out;
    EXPECT_EQ(cli::runCalcJson({project(), project()}, settings, out), 1);
    const nlohmann::json document = nlohmann::json::parse(out.str());
    ASSERT_EQ(document["projects"].size(), 2u);
    for (const auto& result : document["projects"]) {
        EXPECT_EQ(result["status"], "not run");
        EXPECT_EQ(result["messages"], nlohmann::json::array({"not run: interrupted"}));
    }
}

TEST_F(CommandLine, JsonDescribesEveryProjectAndFailsWhenOneFails) {
    const fs::path missing = folder.path() / "missing.slw";
    CliRun calc = run("calc " + project().string() + " " + missing.string() + " --json", false);
    EXPECT_EQ(calc.status, 1);
    const nlohmann::json document = nlohmann::json::parse(calc.output);
    ASSERT_EQ(document["projects"].size(), 2u);
    const auto& first = document["projects"][0];
    EXPECT_EQ(first["status"], "completed");
    EXPECT_NEAR(first["critical"]["fs"].get<double>(), 1.013, 0.0005);
    EXPECT_GT(first["critical"]["bishopFs"].get<double>(), 1.013);
    EXPECT_EQ(first["circles"]["tried"], 4500);
    EXPECT_EQ(first["centreMinima"].size(), 225u);
    EXPECT_EQ(first["warnings"][0]["kind"], "lastRadius");
    EXPECT_NEAR(first["critical"]["bishopMinMAlpha"].get<double>(), 0.134, 0.0005);
    EXPECT_TRUE(first["critical"]["bishopNoSolution"].is_null());
    EXPECT_EQ(first["warnings"].back()["kind"], "lowMAlpha");
    EXPECT_EQ(document["projects"][1]["status"], "failed");
    EXPECT_FALSE(document["projects"][1]["messages"].empty());
}

TEST_F(CommandLine, JsonWrittenAsItGoesIsTheDocumentAWholeDumpWrites) {
    // A second copy, a missing file and a name that is not UTF-8: members, nesting, empty
    // lists and replaced text all come out as the document dumped at once would have them.
    const fs::path second = folder.path() / "second.slw";
    fs::copy_file(project(), second);
    const fs::path notUtf8 = folder.path() / "\xff.slw";
    CliRun calc = run("calc " + project().string() + " " + second.string() + " '" +
                          notUtf8.string() + "' --json --threads 2",
                      false);
    EXPECT_EQ(calc.status, 1);
    const nlohmann::json document = nlohmann::json::parse(calc.output);
    ASSERT_EQ(document["projects"].size(), 3u);
    EXPECT_EQ(document["projects"][1]["centreMinima"].size(), 225u);
    EXPECT_EQ(calc.output,
              document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
}

TEST_F(CommandLine, CalcSavesTheProjectWithTheRecordsItWrote) {
    const fs::path records = folder.path() / "records.txt";
    CliRun calc =
        run("calc " + project().string() + " --save --threads 2 --records " + records.string());
    ASSERT_EQ(calc.status, 0) << calc.output;
    EXPECT_NE(calc.output.find("minimum Fs         1.013"), std::string::npos) << calc.output;
    EXPECT_NE(calc.output.find("circles tried      4500"), std::string::npos);
    const std::string stream = test::readBytes(records);
    const std::string saved = test::readBytes(project());
    ASSERT_TRUE(stream.starts_with("$$CSV\r\n"));
    EXPECT_TRUE(saved.ends_with(stream));
    EXPECT_EQ(test::readBytes(DORVO_EXAMPLES_DIR "/embankment.slw"),
              saved.substr(0, saved.size() - stream.size()));
}

// Searching by Bishop changes what the summary reports, never the records or the saved project.
TEST_F(CommandLine, ABishopSearchReportsItsOwnCriticalCircleAndLeavesRecordsAndProjectAsTheyWere) {
    const fs::path records = folder.path() / "records.txt";
    const fs::path minima = folder.path() / "bishop.csv";
    CliRun calc = run("calc " + project().string() + " --method bishop --save --records " +
                      records.string() + " --bishop-csv " + minima.string());
    ASSERT_EQ(calc.status, 0) << calc.output;
    EXPECT_EQ(test::readBytes(records),
              test::readBytes(DORVO_TEST_DATA_DIR "/embankment-records.golden"));
    const std::string saved = test::readBytes(project());
    EXPECT_EQ(saved,
              test::readBytes(DORVO_EXAMPLES_DIR "/embankment.slw") + test::readBytes(records));
    for (const char* line : {"critical circle    centre (46.00, 24.00), radius 22.60",
                             "minimum Fs         1.275 (smallest mα 0.294), simplified Bishop",
                             "ordinary minimum   1.013 at centre (47.00, 18.00), radius 16.60"}) {
        EXPECT_NE(calc.output.find(line), std::string::npos) << line << "\n" << calc.output;
    }
    const std::string csv = test::readBytes(minima);
    EXPECT_TRUE(csv.starts_with("Rx,Ry,R,BishopFs\r\n40.00,14.00,12.60,1.8434\r\n")) << csv;
    EXPECT_NE(csv.find("\r\n46.00,24.00,22.60,1.2746\r\n"), std::string::npos);

    CliRun json = run("calc " + project().string() + " --method bishop --json", false);
    const nlohmann::json document = nlohmann::json::parse(json.output);
    const auto& result = document["projects"][0];
    EXPECT_EQ(result["method"], "bishop");
    EXPECT_EQ(result["critical"]["rx"], 46.0);
    EXPECT_NEAR(result["critical"]["fs"].get<double>(), 1.2746, 0.0001);
    EXPECT_EQ(result["critical"]["fs"], result["critical"]["bishopFs"]);
    EXPECT_NEAR(result["critical"]["ordinaryFs"].get<double>(), 1.072, 0.0005);
    EXPECT_EQ(result["ordinaryCritical"]["rx"], 47.0);
    EXPECT_EQ(result["centreMinima"].size(), 225u);

    // The contours follow the method's per-centre minima.
    const fs::path ordinary = folder.path() / "ordinary.svg";
    const fs::path byBishop = folder.path() / "bishop.svg";
    ASSERT_EQ(run("render " + project().string() + " --contours -o " + ordinary.string()).status,
              0);
    ASSERT_EQ(
        run("render " + project().string() + " --contours --method bishop -o " + byBishop.string())
            .status,
        0);
    EXPECT_NE(test::readBytes(ordinary), test::readBytes(byBishop));
    // So do the critical circle and its label.
    const fs::path annotated = folder.path() / "annotated.svg";
    ASSERT_EQ(
        run("render " + project().string() + " --annotate --method bishop -o " + annotated.string())
            .status,
        0);
    const std::string label = test::readBytes(annotated);
    // The SVG writes the text in runs of one font each.
    EXPECT_NE(label.find(">ビショップ<"), std::string::npos);
    EXPECT_NE(label.find(">Fs = 1.275<"), std::string::npos);
    EXPECT_NE(label.find(">中心 (46.00, 24.00)<"), std::string::npos);
    EXPECT_EQ(label.find(">Fs = 1.013<"), std::string::npos);

    CliRun explain = run("explain " + project().string() + " --method bishop");
    EXPECT_TRUE(
        explain.output.starts_with("circle             centre (46.00, 24.00), radius 22.60"))
        << explain.output;
}

TEST_F(CommandLine, OutputsThatCannotBeWrittenAreRefusedBeforeTheSearch) {
    const std::string before = test::readBytes(project());
    fs::create_symlink(project(), folder.path() / "alias.slw");
    fs::create_directory(folder.path() / "a-folder");
    for (const fs::path& records :
         {project(), folder.path() / "alias.slw", folder.path() / "a-folder",
          folder.path() / "missing" / "records.txt"}) {
        CliRun calc = run("calc " + project().string() + " --records " + records.string());
        EXPECT_EQ(calc.status, 1) << records;
        EXPECT_EQ(calc.output.find("circles tried"), std::string::npos) << calc.output;
        EXPECT_EQ(test::readBytes(project()), before);
    }
    CliRun itself = run("calc " + project().string() + " --records " + project().string());
    EXPECT_NE(itself.output.find("would overwrite the project file"), std::string::npos);
}

TEST_F(CommandLine, RecordsIntoAPipeReachTheReaderAndThePipeStays) {
    const fs::path fifo = folder.path() / "records.pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string command = environment + DORVO_CLI_PATH + " calc " + project().string() +
                                " --records " + fifo.string() + " >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string stream = test::readBytes(fifo);
    EXPECT_TRUE(stream.starts_with("$$CSV\r\n"));
    EXPECT_TRUE(stream.ends_with("$$END\r\n"));
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(CommandLine, RecordsToStandardOutputKeepTheSummaryOnStandardError) {
    CliRun calc = run("calc " + project().string() + " --records - --decimals 4", false);
    ASSERT_EQ(calc.status, 0);
    EXPECT_TRUE(calc.output.starts_with("$$CSV\r\n018,"));
    EXPECT_TRUE(calc.output.ends_with("$$END\r\n"));
    EXPECT_NE(calc.output.find("),=  1.0135\r\n"), std::string::npos);  // four decimals
    EXPECT_EQ(calc.output.find("circles tried"), std::string::npos);
}

TEST_F(CommandLine, InterruptedCalcLeavesNoTemporaryFileAndKeepsTheOldOutputs) {
    makeTheSearchFiner("0.05");
    const fs::path records = folder.path() / "records.txt";
    test::writeBytes(records, "old records");
    const std::string before = test::readBytes(project());
    for (int signal : {SIGINT, SIGTERM}) {
        int out = -1;
        const pid_t pid =
            start({"calc", project().string(), "--save", "--records", records.string()}, out);
        ASSERT_GT(pid, 0);
        // The search writes the records straight into their file's temporary.
        ASSERT_TRUE(awaitFileIn(folder.path(), ".saving-"));
        ::kill(pid, signal);
        EXPECT_EQ(exitStatusOf(pid), 128 + signal) << "signal " << signal;
        ::close(out);
        EXPECT_TRUE(filesIn(temporaryFolder()).empty()) << filesIn(temporaryFolder()).front();
        EXPECT_EQ(filesIn(folder.path()),
                  (std::vector<std::string>{"embankment.slw", "records.txt", "tmp"}));
        EXPECT_EQ(test::readBytes(project()), before);
        EXPECT_EQ(test::readBytes(records), "old records");
    }
}

TEST_F(CommandLine, RecordsIntoAPipeClosedByItsReaderEndTheCalcWithoutLeftovers) {
    int out = -1;
    const pid_t pid = start({"calc", project().string(), "--records", "-"}, out);
    ASSERT_GT(pid, 0);
    char head[100];
    ASSERT_EQ(::read(out, head, sizeof head), ssize_t(sizeof head));
    EXPECT_EQ(std::string_view(head, 7), "$$CSV\r\n");
    ::close(out);  // as `head` does once it has its lines
    EXPECT_EQ(exitStatusOf(pid), 128 + SIGPIPE);
    EXPECT_TRUE(filesIn(temporaryFolder()).empty());
    EXPECT_EQ(filesIn(folder.path()), (std::vector<std::string>{"embankment.slw", "tmp"}));
}

TEST_F(CommandLine, InterruptedRenderLeavesNoTemporaryFileAndKeepsTheOldPdf) {
    makeTheSearchFiner("0.25");  // some 2,000 pages of results
    ASSERT_EQ(run("calc " + project().string() + " --save").status, 0);
    const fs::path pdf = folder.path() / "results.pdf";
    test::writeBytes(pdf, "old pdf");
    int out = -1;
    const pid_t pid =
        start({"render", project().string(), "--page", "results", "-o", pdf.string()}, out);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(awaitTemporaryFile("dorvo-results"));
    ::usleep(200'000);  // well into the drawing
    ::kill(pid, SIGINT);
    EXPECT_EQ(exitStatusOf(pid), 128 + SIGINT);
    ::close(out);
    EXPECT_TRUE(filesIn(temporaryFolder()).empty());
    EXPECT_EQ(filesIn(folder.path()),
              (std::vector<std::string>{"embankment.slw", "results.pdf", "tmp"}));
    EXPECT_EQ(test::readBytes(pdf), "old pdf");
}

TEST_F(CommandLine, DecimalsOrThreadsOutsideTheirRangeAreRefusedInOneLineNamingIt) {
    const std::string manyDigits(300, '9');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--decimals 7", "--decimals takes 2, 3 or 4"},
        {"--decimals 1", "--decimals takes 2, 3 or 4"},
        {"--decimals=-3", "--decimals takes 2, 3 or 4"},
        {"--decimals 3.5", "--decimals takes 2, 3 or 4"},
        {"--decimals " + manyDigits, "--decimals takes 2, 3 or 4"},
        {"--threads=-1", "--threads takes a whole number from 0 (one per core) to 1024"},
        {"--threads " + manyDigits, "--threads takes a whole number from 0 (one per core) to 1024"},
        {"--threads two", "--threads takes a whole number from 0 (one per core) to 1024"},
    };
    for (const auto& [option, message] : cases) {
        CliRun calc = run("calc " + project().string() + " --save " + option);
        EXPECT_EQ(calc.status, 2) << option;
        EXPECT_EQ(calc.output, "dorvo-cli: " + message + "\n") << option;
    }
    EXPECT_EQ(test::readBytes(project()), test::readBytes(DORVO_EXAMPLES_DIR "/embankment.slw"));
}

TEST_F(CommandLine, DpiOutsideItsRangeIsRefusedInTheProgramsOwnWordsAndWritesNothing) {
    const fs::path png = folder.path() / "figure.png";
    for (const char* dpi : {"35", "2401", "-1", "72.5", "high"}) {
        CliRun render =
            run("render " + project().string() + " --dpi=" + dpi + " -o " + png.string());
        EXPECT_EQ(render.status, 2) << dpi;
        EXPECT_EQ(render.output, "dorvo-cli: --dpi takes a whole number from 36 to 2400\n") << dpi;
    }
    EXPECT_FALSE(fs::exists(png));
}

TEST_F(CommandLine, ThreadsBeyondFourPerCoreAreReducedWithANote) {
    const int most = 4 * static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (most >= 1000) GTEST_SKIP() << "a machine of 250 cores or more";
    CliRun calc = run("calc " + project().string() + " --threads 1000");
    EXPECT_EQ(calc.status, 0) << calc.output;
    EXPECT_TRUE(calc.output.starts_with(
        "dorvo-cli: --threads 1000 is more than 4 per core; using " + std::to_string(most) + "\n"))
        << calc.output;
    EXPECT_NE(calc.output.find("minimum Fs         1.013"), std::string::npos);
}

TEST_F(CommandLine, RefusedInputExitsWithTwoAndSaysWhy) {
    std::string text = test::readBytes(project());
    const std::string grid = "$$R\r\n40\r\n14\r\n54\r\n28\r\n1\r\n";
    ASSERT_NE(text.find(grid), std::string::npos);
    text.replace(text.find(grid), grid.size(), "$$R\r\n40\r\n14\r\n54\r\n28\r\n0\r\n");
    test::writeBytes(project(), text);
    CliRun calc = run("calc " + project().string() + " --save");
    EXPECT_EQ(calc.status, 2);
    EXPECT_NE(calc.output.find("中心点のデータが不適当です"), std::string::npos);
    EXPECT_EQ(test::readBytes(project()), text);  // nothing saved
}

TEST_F(CommandLine, JsonCallsInputThatCannotRunRefusedAndGivesItsMessageOnce) {
    std::string text = test::readBytes(project());
    const std::string grid = "$$R\r\n40\r\n14\r\n54\r\n28\r\n1\r\n";
    ASSERT_NE(text.find(grid), std::string::npos);
    text.replace(text.find(grid), grid.size(), "$$R\r\n40\r\n14\r\n54\r\n28\r\n0\r\n");
    test::writeBytes(project(), text);
    CliRun calc = run("calc " + project().string() + " --json", false);
    EXPECT_EQ(calc.status, 1);
    const nlohmann::json result = nlohmann::json::parse(calc.output)["projects"][0];
    EXPECT_EQ(result["status"], "refused");
    EXPECT_EQ(result["messages"], nlohmann::json::array({"中心点のデータが不適当です"}));
}

TEST_F(CommandLine, SectionThatCalcRefusesIsRefusedByRenderWithTheSameMessage) {
    const std::string original = test::readBytes(project());
    const std::string firstBlock = "$$B\r\n";
    const std::size_t at = original.find(firstBlock) + firstBlock.size();
    for (const char* x : {"1e999", "1e308"}) {
        std::string text = original;
        text.replace(at, text.find(',', at) - at, x);
        test::writeBytes(project(), text);
        CliRun calc = run("calc " + project().string());
        EXPECT_EQ(calc.status, 2) << x;
        EXPECT_NE(calc.output.find("ブロック1の座標が不適当です"), std::string::npos)
            << calc.output;
        const fs::path pdf = folder.path() / "figure.pdf";
        CliRun render = run("render " + project().string() + " -o " + pdf.string());
        EXPECT_EQ(render.status, 2) << x;
        EXPECT_NE(render.output.find("ブロック1の座標が不適当です"), std::string::npos)
            << render.output;
        EXPECT_FALSE(fs::exists(pdf));
    }
}

TEST_F(CommandLine, RenderWritesEachFormatAndRefusesAMissingPage) {
    ASSERT_EQ(run("calc " + project().string() + " --save").status, 0);
    CliRun pdf = run("render " + project().string() + " --page data --paper A4 -o " +
                     (folder.path() / "data.pdf").string());
    EXPECT_EQ(pdf.status, 0) << pdf.output;
    EXPECT_NE(pdf.output.find("3 page(s)"), std::string::npos) << pdf.output;
    CliRun png = run("render " + project().string() + " --page figure --dpi 72 -o " +
                     (folder.path() / "figure.png").string());
    EXPECT_EQ(png.status, 0) << png.output;
    EXPECT_TRUE(test::readBytes(folder.path() / "figure.png").starts_with("\x89PNG"));
    CliRun svg = run("render " + project().string() + " --page results -o " +
                     (folder.path() / "results.svg").string());
    EXPECT_EQ(svg.status, 0) << svg.output;

    CliRun missing = run("render " + project().string() + " --page figure --page-number 9 -o " +
                         (folder.path() / "nine.png").string());
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("page 9 does not exist (1 to 2)"), std::string::npos)
        << missing.output;
    CliRun wrongKind =
        run("render " + project().string() + " -o " + (folder.path() / "figure.txt").string());
    EXPECT_NE(wrongKind.status, 0);
}

TEST_F(CommandLine, RenderDrawsContoursAndAnnotationsOnTheFigureOnlyWhenAsked) {
    ASSERT_EQ(run("calc " + project().string() + " --save").status, 0);
    const std::string render = "render " + project().string() + " --page figure ";
    auto svgWith = [&](const std::string& options) {
        const fs::path svg = folder.path() / "figure.svg";
        CliRun drawn = run(render + options + " -o " + svg.string());
        EXPECT_EQ(drawn.status, 0) << drawn.output;
        return test::readBytes(svg);
    };
    const std::string contourLegend = ">1.45 以上<";
    const std::string loadValue = ">30.0 kN/m<";
    const std::string plain = svgWith("");
    EXPECT_EQ(plain.find(contourLegend), std::string::npos);
    EXPECT_EQ(plain.find(loadValue), std::string::npos);
    const std::string contours = svgWith("--contours");
    EXPECT_NE(contours.find(contourLegend), std::string::npos);
    EXPECT_EQ(contours.find(loadValue), std::string::npos);
    const std::string annotated = svgWith("--annotate");
    EXPECT_EQ(annotated.find(contourLegend), std::string::npos);
    EXPECT_NE(annotated.find(loadValue), std::string::npos);
}

TEST_F(CommandLine, RenderWritesTheFiguresSectionToDxf) {
    ASSERT_EQ(run("calc " + project().string() + " --save").status, 0);
    const fs::path dxf = folder.path() / "section.dxf";
    CliRun section = run("render " + project().string() + " --page figure -o " + dxf.string());
    EXPECT_EQ(section.status, 0) << section.output;
    const std::string text = test::readBytes(dxf);
    EXPECT_NE(text.find("CRITICAL-CIRCLE"), std::string::npos);
    EXPECT_TRUE(text.ends_with("EOF\n")) << text.substr(text.size() - 20);

    CliRun data = run("render " + project().string() + " --page data -o " +
                      (folder.path() / "data.dxf").string());
    EXPECT_EQ(data.status, 1);
    EXPECT_NE(data.output.find("a DXF holds the figure's section"), std::string::npos)
        << data.output;
    EXPECT_FALSE(fs::exists(folder.path() / "data.dxf"));

    // Under Bishop the centres' minima and the critical circle are the Bishop search's, and
    // the circle's Fs says so; the ordinary drawing says no method.
    const fs::path bishop = folder.path() / "bishop.dxf";
    CliRun byBishop =
        run("render " + project().string() + " --method bishop -o " + bishop.string());
    EXPECT_EQ(byBishop.status, 0) << byBishop.output;
    const std::string bishopText = test::readBytes(bishop);
    EXPECT_NE(bishopText.find("Fs = 1.2746 (simplified Bishop)  R = 22.60"), std::string::npos);
    EXPECT_EQ(text.find("simplified Bishop"), std::string::npos);
    EXPECT_NE(text.find("Fs = 1.013  R = "), std::string::npos);
}

TEST_F(CommandLine, DxfOfResultsWithHugeNumbersIsRefusedAndLeavesNoTemporaryFile) {
    ASSERT_EQ(run("calc " + project().string() + " --save").status, 0);
    const std::string calculated = test::readBytes(project());
    fs::create_directories(temporaryFolder());
    environment += "TMPDIR=" + temporaryFolder().string() + " ";
    const fs::path dxf = folder.path() / "section.dxf";
    for (auto [from, to] : {std::pair{"R:   16.60 ),", "R: 1e300 ),"},
                            {"P1( 32.4549", "P1( 1e300"},
                            {"Rx:   54.00,Ry:   28.00", "Rx: 1e300,Ry:   28.00"}}) {
        // The last of each: the answer, its points, and the minimum of the last centre.
        std::string hostile = calculated;
        ASSERT_NE(hostile.rfind(from), std::string::npos) << from;
        hostile.replace(hostile.rfind(from), std::string_view(from).size(), to);
        test::writeBytes(project(), hostile);
        CliRun section = run("render " + project().string() + " --page figure -o " + dxf.string());
        EXPECT_EQ(section.status, 1) << to << "\n" << section.output;
        EXPECT_NE(section.output.find("結果の値が範囲外です"), std::string::npos) << section.output;
        EXPECT_NE(section.output.find("= 1e+300"), std::string::npos) << section.output;
        EXPECT_FALSE(fs::exists(dxf));
        EXPECT_TRUE(filesIn(temporaryFolder()).empty());
    }
}

TEST_F(CommandLine, PngOfMoreThan200MegapixelsIsRefusedNamingItsSize) {
    const fs::path png = folder.path() / "huge.png";
    CliRun huge = run("render " + project().string() + " --paper A3 --landscape --dpi 2400 -o " +
                      png.string());
    EXPECT_EQ(huge.status, 1);
    EXPECT_NE(huge.output.find("a PNG of 39685 × 28063 pixels (1114 megapixels) is larger than "
                               "the 200 megapixels allowed"),
              std::string::npos)
        << huge.output;
    EXPECT_FALSE(fs::exists(png));
    CliRun pdf = run("render " + project().string() + " --paper A3 --landscape --dpi 2400 -o " +
                     (folder.path() / "fine.pdf").string());
    EXPECT_EQ(pdf.status, 0) << pdf.output;  // a PDF holds no pixels
}

TEST_F(CommandLine, OutputNamesThatAreNotUtf8AreWrittenUnderTheirOwnBytes) {
    const fs::path named = folder.path() / "named \xff\xfe.slw";
    fs::copy_file(project(), named);
    for (const char* extension : {".pdf", ".png", ".svg"}) {
        const fs::path output = folder.path() / (std::string("figure-\xff") + extension);
        CliRun render =
            run("render '" + named.string() + "' --dpi 72 -o '" + output.string() + "'");
        EXPECT_EQ(render.status, 0) << render.output;
        EXPECT_GT(fs::file_size(output), 100u) << extension;
    }
    EXPECT_EQ(filesIn(folder.path()),
              (std::vector<std::string>{"embankment.slw", "figure-\xff.pdf", "figure-\xff.png",
                                        "figure-\xff.svg", "named \xff\xfe.slw"}));
}

TEST_F(CommandLine, ResultTableHasTheSamePagesInEveryFormat) {
    ASSERT_EQ(run("calc " + project().string() + " --save").status, 0);
    const std::string render = "render " + project().string() + " --page results --paper A4 ";
    CliRun pdf = run(render + "-o " + (folder.path() / "results.pdf").string());
    ASSERT_EQ(pdf.status, 0) << pdf.output;
    std::smatch pdfPages;
    ASSERT_TRUE(std::regex_search(pdf.output, pdfPages, std::regex(R"(: (\d+) page\(s\))")))
        << pdf.output;
    const std::string lastPage = pdfPages[1];

    CliRun png = run(render + "--dpi 150 --page-number " + lastPage + " -o " +
                     (folder.path() / "last.png").string());
    EXPECT_EQ(png.status, 0) << png.output;
    EXPECT_NE(png.output.find("page " + lastPage + " of " + lastPage), std::string::npos)
        << png.output;
    CliRun svg = run(render + "-o " + (folder.path() / "first.svg").string());
    EXPECT_NE(svg.output.find("page 1 of " + lastPage), std::string::npos) << svg.output;
}

TEST_F(CommandLine, RestraintForceLeavesTheRecordsAsTheyWereAndReportsTheGoverningCircle) {
    const fs::path plain = folder.path() / "plain.txt";
    const fs::path restrained = folder.path() / "restrained.txt";
    ASSERT_EQ(run("calc " + project().string() + " --records " + plain.string()).status, 0);
    CliRun text =
        run("calc " + project().string() + " --restraint --records " + restrained.string());
    ASSERT_EQ(text.status, 0) << text.output;
    EXPECT_EQ(test::readBytes(plain), test::readBytes(restrained));
    EXPECT_NE(text.output.find("planned Fs         1.20"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("critical circle    centre (47.00, 18.00)"), std::string::npos)
        << text.output;
    EXPECT_EQ(run("calc " + project().string()).output.find("planned Fs"), std::string::npos);

    CliRun json = run("calc " + project().string() + " --restraint 1.5 --json", false);
    ASSERT_EQ(json.status, 0) << json.output;
    const nlohmann::json restraint = nlohmann::json::parse(json.output)["projects"][0]["restraint"];
    EXPECT_EQ(restraint["plannedFs"], 1.5);
    EXPECT_EQ(restraint["unit"], "kN/m");
    const nlohmann::json& governing = restraint["governing"];
    EXPECT_NEAR(governing["p"].get<double>(),
                (1.5 * governing["md"].get<double>() - governing["mr"].get<double>()) /
                    governing["r"].get<double>(),
                1e-9);
    EXPECT_GE(governing["p"].get<double>(), restraint["critical"]["p"].get<double>());

    CliRun refused = run("calc " + project().string() + " --restraint 1,2");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.output.find("計画安全率 Fsp"), std::string::npos) << refused.output;
}

TEST_F(CommandLine, BackAnalysisGivesTheLineOfTheLayerAndSaysWhenItCannot) {
    CliRun json =
        run("backanalyse " + project().string() + " --fs 1.0 --layer 3 --phi 10 --json", false);
    ASSERT_EQ(json.status, 0) << json.output;
    const nlohmann::json result = nlohmann::json::parse(json.output);
    EXPECT_EQ(result["table"].size(), 10u);
    EXPECT_EQ(result["circle"]["rx"], 47.0);
    EXPECT_EQ(result["chosen"]["phi"], 10.0);
    EXPECT_EQ(result["table"][2]["co"], result["chosen"]["co"]);

    CliRun text = run("backanalyse " + project().string() + " --layer 3 --circle 47 18 16.6");
    ASSERT_EQ(text.status, 0) << text.output;
    EXPECT_NE(text.output.find("target Fs          1.000"), std::string::npos) << text.output;

    CliRun missing = run("backanalyse " + project().string() + " --layer 9");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("layer 9: no layer row"), std::string::npos) << missing.output;
}

TEST_F(CommandLine, SensitivityOfZeroPercentGivesThePlainFsForEveryParameter) {
    CliRun json = run("sensitivity " + project().string() + " --percent 0 --json", false);
    ASSERT_EQ(json.status, 0) << json.output;
    const nlohmann::json result = nlohmann::json::parse(json.output);
    const double plain = result["plain"]["fs"];
    ASSERT_EQ(result["parameters"].size(), 17u);
    for (const nlohmann::json& row : result["parameters"]) {
        EXPECT_EQ(row["lower"]["critical"]["fs"], plain) << row["parameter"];
        EXPECT_EQ(row["upper"]["critical"]["fs"], plain) << row["parameter"];
    }
}

TEST_F(CommandLine, EachAnalysisPrintsAPageOfItsOwn) {
    ASSERT_EQ(run("calc " + project().string() + " --save").status, 0);
    const fs::path restraint = folder.path() / "restraint.pdf";
    CliRun page = run("render " + project().string() + " --page restraint --restraint 1.5 -o " +
                      restraint.string());
    ASSERT_EQ(page.status, 0) << page.output;
    EXPECT_TRUE(test::readBytes(restraint).starts_with("%PDF"));
    const fs::path marked = folder.path() / "marked.svg";
    ASSERT_EQ(run("render " + project().string() + " --restraint -o " + marked.string()).status, 0);
    EXPECT_NE(test::readBytes(marked).find("<svg"), std::string::npos);

    const fs::path back = folder.path() / "back.png";
    CliRun backPage =
        run("backanalyse " + project().string() + " --layer 3 --print " + back.string());
    ASSERT_EQ(backPage.status, 0) << backPage.output;
    EXPECT_TRUE(test::readBytes(back).starts_with("\x89PNG"));
    const fs::path tornado = folder.path() / "tornado.pdf";
    CliRun sensitivityPage =
        run("sensitivity " + project().string() + " --print " + tornado.string());
    ASSERT_EQ(sensitivityPage.status, 0) << sensitivityPage.output;
    EXPECT_NE(sensitivityPage.output.find("wrote " + tornado.string()), std::string::npos);
}

}  // namespace
}  // namespace dorvo
