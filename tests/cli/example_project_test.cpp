// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "model/number_text.h"
#include "model/project_file.h"
#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

const char* const kExample = DORVO_EXAMPLES_DIR "/embankment.slw";

TEST(ExampleProject, IsExactlyWhatTheWriterWrites) {
    std::string bytes = test::readBytes(kExample);
    std::istringstream in(bytes);
    std::ostringstream results;
    Project project;
    test::MemoryMessageSink messages;
    ASSERT_TRUE(readProjectLines(project, in, results, "example", messages));
    std::istringstream resultsIn(results.str());
    std::ostringstream out;
    ASSERT_TRUE(writeProject(project, out, results.str().empty() ? nullptr : &resultsIn));
    EXPECT_EQ(out.str(), bytes);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(ExampleProject, DescribesAnEmbankmentOnThreeLayers) {
    std::ifstream in(kExample, std::ios::binary);
    std::ostringstream results;
    Project project;
    test::MemoryMessageSink messages;
    ASSERT_TRUE(readProjectLines(project, in, results, "example", messages));
    EXPECT_EQ(blockCount(project), 5);
    EXPECT_EQ(layerCount(project), 3);
    EXPECT_DOUBLE_EQ(readReal(project.settings.line(settings_line::kKh)), 0.15);
    // Every line names a layer that exists, and the ground never dips below the layers.
    for (int row = 1; row <= blockCount(project); ++row) {
        double previous = 0.0;
        for (const BlockLine& line :
             splitBlockLines(project.block(row).lines, BlockLineEnd::EitherAbsent)) {
            EXPECT_TRUE(findLayerRow(project, readInteger(line.layerNo)).has_value());
            EXPECT_GE(readReal(line.yLeft), previous - 1e-9);
            previous = std::min(readReal(line.yLeft), readReal(line.yRight));
        }
    }
    // The smallest circle of the lowest centres still has a radius, reaching below the ground.
    EXPECT_GT(readReal(project.circleSearch.line(2)), readReal(project.circleSearch.line(7)));
    EXPECT_LT(readReal(project.circleSearch.line(7)), 10.0);
    EXPECT_GT(readReal(project.circleSearch.line(8)), 0.0);  // never below the base
}

}  // namespace
}  // namespace dorvo
