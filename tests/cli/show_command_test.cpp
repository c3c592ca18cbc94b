// SPDX-License-Identifier: GPL-3.0-or-later
#include "show_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo::cli {
namespace {

std::string runCli(const std::string& arguments, int& status) {
    std::string command = std::string(DORVO_CLI_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
    status = ::pclose(pipe);
    return output;
}

TEST(ShowCommand, PrintsTheTablesInUtf8) {
    Project project;
    project.block(1).x = "10";
    project.block(1).lines = "5,5,1,8,9,2";
    project.layer(1).layerNo = "1";
    project.layer(1).gamma1 = "18";
    project.load(3).x = "4";
    project.load(3).force = "20";
    project.settings.line(settings_line::kKh) = "0.15";
    project.circleSearch.line(9) = "\x82\x50";  // a full-width digit one
    std::ostringstream out;
    printProject(project, 0, out);
    const std::string text = out.str();
    EXPECT_NE(text.find("Blocks (1)"), std::string::npos);
    EXPECT_NE(text.find("line 2: yLeft 8, yRight 9, layer 2"), std::string::npos);
    EXPECT_NE(text.find("3: X 4, F 20"), std::string::npos);
    EXPECT_NE(text.find("stepR １"), std::string::npos);
    EXPECT_NE(text.find("Kh 0.15"), std::string::npos);
}

TEST(ShowCommand, ControlCharactersFromAFileAreShownAsEscapesNotSentToTheTerminal) {
    Project project;
    project.block(1).x = "1\x1b]0;owned\x07";
    project.block(1).lines = "0,0,1";
    project.settings.line(settings_line::kKh) = "\x1b[2J";
    std::ostringstream out;
    printProject(project, 0, out);
    const std::string text = out.str();
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_EQ(text.find('\x07'), std::string::npos);
    EXPECT_NE(text.find("1: X 1\\x1b]0;owned\\x07"), std::string::npos) << text;
    EXPECT_NE(text.find("Kh \\x1b[2J"), std::string::npos);
}

TEST(ShowCommand, MissingFileExitsNonZeroNamingThePath) {
    int status = 0;
    std::string output = runCli("show /nonexistent/x.slw", status);
    EXPECT_NE(status, 0);
    EXPECT_NE(output.find("/nonexistent/x.slw"), std::string::npos);
}

TEST(ShowCommand, FolderInsteadOfAFileIsAnError) {
    test::TempFolder folder;
    int status = 0;
    runCli("show " + folder.path().string(), status);
    EXPECT_NE(status, 0);
}

TEST(ShowCommand, ExampleExitsWithZero) {
    int status = 0;
    std::string output =
        runCli(std::string("show ") + DORVO_EXAMPLES_DIR "/embankment.slw", status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("Layers (3)"), std::string::npos);
}

}  // namespace
}  // namespace dorvo::cli
