// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>

#include "app/document.h"
#include "app/project_history.h"
#include "app/save_prompt.h"
#include "render/render_inputs.h"
#include "settings/working_files.h"

namespace dorvo {

struct ProbabilitySpec;

/// What happened to the open project, for whoever shows it.
enum class ProjectChange {
    Edited,      // its data or settings changed, by a dialog, undo or redo
    Calculated,  // a calculation replaced its results
    Replaced,    // New or Open put another project in its place
    Saved,       // only its file name and modified mark may have changed
    Repaged,     // the paper, margins or fonts changed: the same project paged anew
};

/// The one owner of the open project while the desktop program runs: every change goes
/// through it, so that undo, the modified mark and the page caches follow each change the
/// same way. "Modified" is not set by anyone: it is whether undo and redo left the project
/// where the file on disk has it, and whether a calculation's results are still unsaved.
class ProjectSession {
  public:
    ProjectSession(MessageSink& messages, Environment environment);

    Installation installation;
    Document document;
    PageState pages;
    FigureWindow window;  // the figure window as the view scrolls it

    /// A change in progress. Its owner changes `project()` as it likes; `commit` keeps the
    /// change as one step of undo when anything differs, and an edit that ends without a
    /// commit puts the project back as it was.
    class Edit {
      public:
        explicit Edit(ProjectSession& session);
        Edit(const Edit&) = delete;
        Edit& operator=(const Edit&) = delete;
        ~Edit();

        Project& project() { return session_.document.project; }
        const Project& before() const { return before_; }
        /// Keeps the change; returns whether anything changed.
        bool commit();

      private:
        ProjectSession& session_;
        Project before_;
        bool ended_ = false;
    };

    [[nodiscard]] Edit beginEdit() { return Edit(*this); }

    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    /// Undo and redo step through the data; the results stay those of the last calculation.
    void undo();
    void redo();

    /// The probability analysis's inputs as its dialog keeps them, to be saved beside the
    /// project: a change to save, but no step of undo.
    void keepProbabilityInputs(const ProbabilitySpec& spec);

    /// A calculation completed: its critical circle goes into the project, which now has
    /// results to save. Not a step of undo: the results file cannot go back.
    void keepCalculation(const CriticalCircle& critical);
    /// The paper, the margins, the fonts or the working folder changed.
    void repaged();

    /// Whether a command that replaces or closes the project may go on, asking first
    /// whether to save its changes.
    bool mayReplace(SaveQuestion& question, const FileCommandContext& context);

    /// The file commands on the open project.
    void newProject(const FileCommandContext& context);
    bool open(const FileCommandContext& context);
    Status load(const std::filesystem::path& file, OpenPath path,
                const FileCommandContext& context);
    bool save(const FileCommandContext& context);
    bool saveAs(const FileCommandContext& context);

    /// Runs the working-file set-up, as every update of the view does.
    void setUp();
    /// Shows the document as a project just opened: the figure window from its settings, the
    /// page kind it was saved with, from its first page, nothing to undo.
    void showAfresh();

    /// Told of every change, after the session has dropped what the change made stale.
    void onChange(std::function<void(ProjectChange)> listener) { listener_ = std::move(listener); }

  private:
    void changed(ProjectChange change);
    /// What the figure drew from the last results: contours, another method's critical circle
    /// and the analyses' circles.
    void forgetFigureMarks();
    /// The file on disk now holds the project as it is.
    void saved();

    MessageSink& messages_;
    ProjectHistory history_;
    bool unsavedResults_ = false;
    bool unsavedInputs_ = false;  // the probability inputs beside the project
    std::function<void(ProjectChange)> listener_;
};

}  // namespace dorvo
