// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/project_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/calculation_job.h"
#include "app/probability_inputs.h"
#include "model/project_file.h"
#include "support/example_project.h"
#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

/// Never chooses a file: every save here goes to the document's own name.
class NoChooser : public FileChooser {
  public:
    std::optional<fs::path> chooseFileToOpen(const fs::path&) override { return std::nullopt; }
    std::optional<fs::path> chooseFileToSave(const fs::path&) override { return std::nullopt; }
};

/// A session on a working folder of its own, with the example as a project just opened.
struct SessionFixture {
    SessionFixture()
        : session(messages, {folder.path() / "config", folder.path() / "data", folder.path()}) {
        session.document.project = test::exampleProject();
        session.document.pathName = folder.path() / "p.slw";
        session.showAfresh();
        session.onChange([this](ProjectChange change) { changes.push_back(change); });
    }

    void editLayerName(const std::string& name) {
        ProjectSession::Edit edit = session.beginEdit();
        edit.project().layer(1).layerNo = name;
        edit.commit();
    }
    FileCommandContext context() { return {session.installation, chooser, messages}; }

    test::TempFolder folder;
    test::MemoryMessageSink messages;
    NoChooser chooser;
    ProjectSession session;
    std::vector<ProjectChange> changes;
};

TEST(ProjectSession, UndoBackToTheSavedStateClearsTheModifiedMark) {
    SessionFixture f;
    const std::string original = f.session.document.project.layer(1).layerNo;
    f.editLayerName("7");
    f.editLayerName("8");
    EXPECT_TRUE(f.session.document.modified);
    f.session.undo();
    EXPECT_TRUE(f.session.document.modified);
    f.session.undo();
    EXPECT_EQ(f.session.document.project.layer(1).layerNo, original);
    EXPECT_FALSE(f.session.document.modified);
    f.session.redo();
    EXPECT_TRUE(f.session.document.modified);
}

TEST(ProjectSession, SavingMovesTheCleanStateAndANewChangeAfterUndoLosesItForGood) {
    SessionFixture f;
    f.editLayerName("7");
    ASSERT_TRUE(f.session.save(f.context()));
    EXPECT_FALSE(f.session.document.modified);
    f.session.undo();
    EXPECT_TRUE(f.session.document.modified);
    f.session.redo();
    EXPECT_FALSE(f.session.document.modified);

    f.session.undo();
    f.editLayerName("9");  // the saved state was the redo step this change forgets
    f.session.undo();
    EXPECT_TRUE(f.session.document.modified);
    EXPECT_FALSE(f.session.canUndo());
}

TEST(ProjectSession, AnEditThatChangesNothingRecordsNoStepAndLeavesTheProjectUnmodified) {
    SessionFixture f;
    {
        ProjectSession::Edit edit = f.session.beginEdit();
        const std::string typed = edit.project().layer(1).layerNo;
        edit.project().layer(1).layerNo = "7";
        edit.project().layer(1).layerNo = typed;
        EXPECT_FALSE(edit.commit());
    }
    {
        ProjectSession::Edit edit = f.session.beginEdit();
        edit.project().circleSearch.line(1) = edit.project().circleSearch.line(1);
        EXPECT_FALSE(edit.commit());
    }
    EXPECT_FALSE(f.session.canUndo());
    EXPECT_FALSE(f.session.document.modified);
    // The view still follows: a dialog may have shown its text while it was open.
    EXPECT_EQ(f.changes, (std::vector{ProjectChange::Edited, ProjectChange::Edited}));
}

TEST(ProjectSession, AnEditLeftWithoutACommitPutsTheProjectBack) {
    SessionFixture f;
    const Project before = f.session.document.project;
    {
        ProjectSession::Edit edit = f.session.beginEdit();
        edit.project().block(1).x = "999";
    }
    EXPECT_EQ(f.session.document.project, before);
    EXPECT_FALSE(f.session.canUndo());
    EXPECT_TRUE(f.changes.empty());
}

TEST(ProjectSession, EveryChangeOfDataOrPaperDropsTheResultPagesLaidOutBefore) {
    SessionFixture f;
    auto laidOut = [&] {
        f.session.pages.resultPages.pageCount = 3;
        f.session.pages.resultPages.starts.resize(2);
    };
    laidOut();
    f.editLayerName("7");
    EXPECT_EQ(f.session.pages.resultPages.pageCount, 0);
    EXPECT_TRUE(f.session.pages.resultPages.starts.empty());
    laidOut();
    f.session.undo();
    EXPECT_EQ(f.session.pages.resultPages.pageCount, 0);
    laidOut();
    f.session.repaged();
    EXPECT_EQ(f.session.pages.resultPages.pageCount, 0);
    laidOut();
    f.session.keepCalculation({1.0, 2.0, 3.0});
    EXPECT_EQ(f.session.pages.resultPages.pageCount, 0);
}

TEST(ProjectSession, ACalculationIsNoUndoStepAndUndoKeepsItsCriticalCircle) {
    SessionFixture f;
    f.editLayerName("7");
    f.session.keepCalculation({46.0, 24.0, 22.6});
    EXPECT_TRUE(f.session.document.modified);
    f.session.undo();
    EXPECT_EQ(f.session.document.project.critical.radius, 22.6);
    EXPECT_FALSE(f.session.canUndo());
    // Back at the saved data, but the new results are still to be saved.
    EXPECT_TRUE(f.session.document.modified);
    ASSERT_TRUE(f.session.save(f.context()));
    EXPECT_FALSE(f.session.document.modified);
}

// The inputs beside the project are no undo step, but unsaved: an undo back to the saved data
// must not take the mark away and let a close lose them.
TEST(ProjectSession, KeptProbabilityInputsStayUnsavedThroughUndoUntilTheProjectIsSaved) {
    SessionFixture f;
    f.editLayerName("7");
    ProbabilitySpec spec;
    spec.realisations = 250;
    f.session.keepProbabilityInputs(spec);
    f.session.undo();
    EXPECT_TRUE(f.session.document.modified);
    ASSERT_TRUE(f.session.save(f.context()));
    EXPECT_FALSE(f.session.document.modified);
    EXPECT_TRUE(fs::exists(f.folder.path() / "p.prob.json"));
    f.session.keepProbabilityInputs(spec);  // the same inputs again: nothing to save
    EXPECT_FALSE(f.session.document.modified);
}

/// Reports progress like any other, and then fails as a fault deep in a search would.
class FailingProgress : public SearchProgress {
  public:
    void report(int, std::string_view) override { throw std::runtime_error("out of memory"); }
};

class CountingProgress : public SearchProgress {
  public:
    void report(int, std::string_view) override { ++reports; }
    std::atomic<int> reports = 0;
};

TEST(CalculationJob, RunsTheSearchOnItsWorkerAndLeavesTheCalculatedProject) {
    test::TempFolder folder;
    const fs::path results = folder.path() / "results";
    CalculationJob job(test::exampleProject(), results, {}, SearchMethod::Bishop);
    CountingProgress progress;
    std::atomic<bool> finished = false;
    job.start(&progress, [&] { finished = true; });
    const CalculationRun run = job.take();
    EXPECT_TRUE(finished);
    ASSERT_TRUE(run.calculation);
    EXPECT_NEAR(run.project.critical.radius, 16.6, 1e-9);
    ASSERT_TRUE(run.bishop);
    EXPECT_GT(progress.reports, 0);
    EXPECT_GT(fs::file_size(results), 0u);
}

TEST(CalculationJob, AFailureOnTheWorkerIsAFailedRunWithItsReasonAndTheOldResultsStay) {
    test::TempFolder folder;
    const fs::path results = folder.path() / "results";
    std::ofstream(results) << "old";
    CalculationJob job(test::exampleProject(), results, {}, SearchMethod::Ordinary);
    FailingProgress progress;
    bool finished = false;
    job.start(&progress, [&] { finished = true; });
    const CalculationRun run = job.take();
    EXPECT_TRUE(finished);
    EXPECT_FALSE(run.calculation);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, "計算できませんでした\nout of memory");
    EXPECT_EQ(fs::file_size(results), 3u);
}

TEST(CalculationJob, ACancelledRunLeavesNoCalculation) {
    test::TempFolder folder;
    CalculationJob job(test::exampleProject(), folder.path() / "results", {},
                       SearchMethod::Ordinary);
    job.cancel();
    job.start(nullptr, {});
    EXPECT_FALSE(job.take().calculation);
}

}  // namespace
}  // namespace dorvo
