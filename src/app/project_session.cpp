// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/project_session.h"

#include "app/probability_editing.h"
#include "model/number_text.h"
#include "settings/program_settings.h"

namespace dorvo {

ProjectSession::ProjectSession(MessageSink& messages, Environment environment)
    : messages_(messages) {
    installation.environment = std::move(environment);
}

ProjectSession::Edit::Edit(ProjectSession& session)
    : session_(session), before_(session.document.project) {}

ProjectSession::Edit::~Edit() {
    if (!ended_) session_.document.project = std::move(before_);
}

bool ProjectSession::Edit::commit() {
    ended_ = true;
    if (session_.document.project == before_) {
        // A dialog may have shown its changes while it was open; the view follows them back.
        session_.changed(ProjectChange::Edited);
        return false;
    }
    session_.history_.recordBefore(before_);
    session_.changed(ProjectChange::Edited);
    return true;
}

void ProjectSession::undo() {
    if (!history_.canUndo()) return;
    const CriticalCircle results = document.project.critical;
    document.project = history_.undo(document.project);
    document.project.critical = results;
    changed(ProjectChange::Edited);
}

void ProjectSession::redo() {
    if (!history_.canRedo()) return;
    const CriticalCircle results = document.project.critical;
    document.project = history_.redo(document.project);
    document.project.critical = results;
    changed(ProjectChange::Edited);
}

void ProjectSession::keepCalculation(const CriticalCircle& critical) {
    document.project.critical = critical;
    markCalculationRun(installation.settings);
    unsavedResults_ = true;
    forgetFigureMarks();
    changed(ProjectChange::Calculated);
}

void ProjectSession::keepProbabilityInputs(const ProbabilitySpec& spec) {
    if (!dorvo::keepProbabilityInputs(document, spec)) return;
    unsavedInputs_ = true;
    changed(ProjectChange::Edited);
}

void ProjectSession::repaged() {
    changed(ProjectChange::Repaged);
}

void ProjectSession::newProject(const FileCommandContext& context) {
    newDocument(document, context);
    showAfresh();
}

bool ProjectSession::open(const FileCommandContext& context) {
    if (!openCommand(document, context)) return false;
    showAfresh();
    return true;
}

Status ProjectSession::load(const std::filesystem::path& file, OpenPath path,
                            const FileCommandContext& context) {
    Status loaded = loadDocument(document, file, path, context);
    if (loaded) showAfresh();
    return loaded;
}

bool ProjectSession::mayReplace(SaveQuestion& question, const FileCommandContext& context) {
    const bool wasModified = document.modified;
    const bool mayGoOn = mayReplaceProject(document, question, context);
    if (wasModified && !document.modified) saved();
    return mayGoOn;
}

bool ProjectSession::save(const FileCommandContext& context) {
    if (!saveCommand(document, context)) return false;
    saved();
    return true;
}

bool ProjectSession::saveAs(const FileCommandContext& context) {
    if (!saveAsCommand(document, context)) return false;
    saved();
    return true;
}

void ProjectSession::saved() {
    history_.markClean();
    unsavedResults_ = false;
    unsavedInputs_ = false;
    changed(ProjectChange::Saved);
}

void ProjectSession::setUp() {
    setUpWorkingFiles(installation, document.project, Reload::No, messages_);
}

void ProjectSession::showAfresh() {
    history_.clear();
    unsavedResults_ = false;
    unsavedInputs_ = false;
    forgetFigureMarks();
    setUp();
    window = figureWindowWithDefaults(document.project);
    const int page = readInteger(document.project.settings.line(settings_line::kViewPage));
    pages.view.page = page == 1 ? ViewPage::Data : page == 2 ? ViewPage::Results : ViewPage::Figure;
    pages.view.currentPage = 1;
    pages.view.figurePageLeftX = window.figureLeftX;
    pages.critical = {};
    pages.overlay = {};
    changed(ProjectChange::Replaced);
}

void ProjectSession::forgetFigureMarks() {
    pages.figure.contourMinima.reset();
    pages.figure.methodCritical.reset();
    pages.figure.restraint.reset();
    pages.figure.failingCircles.clear();
}

void ProjectSession::changed(ProjectChange change) {
    if (change != ProjectChange::Saved) pages.resultPages = {};
    document.modified = !history_.atClean() || unsavedResults_ || unsavedInputs_;
    if (listener_) listener_(change);
}

}  // namespace dorvo
