// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/example_project.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "model/project_file.h"
#include "support/memory_message_sink.h"

namespace dorvo::test {

Project exampleProject() {
    std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
    std::ostringstream results;
    MemoryMessageSink messages;
    Project project;
    EXPECT_TRUE(readProjectLines(project, in, results, "example", messages));
    return project;
}

}  // namespace dorvo::test
