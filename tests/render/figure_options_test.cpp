#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/calculation.h"
#include "model/project_file.h"
#include "render/figure_page.h"
#include "settings/working_files.h"
#include "support/memory_message_sink.h"
#include "support/recording_canvas.h"
#include "support/render_fixture.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

/// The example computed, on A3 landscape at its own scale, as `dorvo-cli render` lays it out.
struct ComputedExample : test::RenderFixture {
    ComputedExample() {
        std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
        std::ostringstream oldResults;
        test::MemoryMessageSink messages;
        loaded = readProjectLines(project, in, oldResults, "example", messages) &&
                 calculateInto(resultsFile, project, {}, nullptr, messages).outcome ==
                     CalculationOutcome::Completed;
        setup = makePageSetup(figureWindowWithDefaults(project), settings, 420, 297);
        state.view.figurePageLeftX = setup.figureLeftX;
        applyPaperDefaults(setup, state.view);
    }

    test::RecordingCanvas draw(bool printing, int page) {
        state.view.printing = printing;
        state.view.currentPage = page;
        test::RecordingCanvas canvas(600);
        drawFigurePage(canvas, inputs(), state);
        return canvas;
    }

    bool loaded = false;
};

TEST(FigureOptions, OffDrawTheFigureExactlyAsBefore) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    const std::string drawn = example.draw(false, 1).transcript() +
                              example.draw(true, 1).transcript() +
                              example.draw(true, 2).transcript();
    const std::string golden = test::readBytes(DORVO_TEST_DATA_DIR "/embankment-figure.recording");
    if (drawn != golden) {
        const std::string actual = testing::TempDir() + "embankment-figure.recording";
        test::writeBytes(actual, drawn);
        std::istringstream a(drawn);
        std::istringstream b(golden);
        std::string lineA;
        std::string lineB;
        int line = 1;
        while (std::getline(a, lineA) && std::getline(b, lineB) && lineA == lineB) ++line;
        FAIL() << "the drawing differs from line " << line << ":\n  now    " << lineA
               << "\n  before " << lineB << "\nthe whole drawing is in " << actual;
    }
}

}  // namespace
}  // namespace dorvo
