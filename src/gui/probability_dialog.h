// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/probability_analysis.h"
#include "app/probability_editing.h"
#include "gui/desktop_session.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace dorvo {

class AnalysisOutput;
class BackgroundJob;
class JobMonitor;

/// Draws circles thin under the critical circle on the main window's figure.
using FigureCircles = std::function<void(std::vector<CriticalCircle>)>;

/// "確率解析": edits the inputs of the probabilistic analysis that go beside the project as
/// NAME.prob.json (kept on OK, saved with the project; ｷｬﾝｾﾙ forgets the edits) and runs it on
/// a background thread with progress and a stop that keeps the realisations done: the
/// statistics, the histogram as a table, the page of the histogram and cumulative curve, the
/// result document of the command line's --json, and the critical circles of the failing
/// realisations on the figure.
class ProbabilityDialog : public QDialog {
    Q_OBJECT

  public:
    ProbabilityDialog(DesktopSession& session, FigureCircles circles, QWidget* parent = nullptr);
    ~ProbabilityDialog() override;

    QLineEdit* realisationsField() const { return realisations_; }
    QLineEdit* seedField() const { return seed_; }
    QComboBox* samplingChoice() const { return sampling_; }
    QComboBox* modeChoice() const { return mode_; }
    QPlainTextEdit* uncertaintiesText() const { return uncertainties_; }
    QPushButton* runButton() const { return run_; }
    QPushButton* drawButton() const { return draw_; }
    QPushButton* saveJsonButton() const { return saveJson_; }
    JobMonitor* monitor() const { return monitor_; }
    AnalysisOutput* output() const { return output_; }
    bool running() const;
    /// The realisations of the last run, those done when it was stopped.
    const std::vector<RealisationFs>& realisations() const { return realisationsDone_; }

    /// Keeps the edited inputs for the project; refuses inputs that do not read.
    void accept() override;
    /// Stops a run and closes once it has stopped, forgetting the edits.
    void reject() override;

  private:
    struct Run {
        Project project;
        ProbabilitySpec spec;
        std::optional<ProbabilityAnalysis> analysis;
        std::optional<Message> refused;
        ProbabilityRun run;
        double seconds = 0.0;
    };

    /// The inputs as the fields hold them; nothing, with the failure reported, when a field
    /// does not read.
    std::optional<ProbabilitySpec> editedSpec();
    void showSpec(const ProbabilitySpec& spec);
    void start();
    void finish();
    /// Writes the result document of the last run, as the command line's --json gives it.
    void saveJson();

    DesktopSession& session_;
    FigureCircles circles_;
    std::shared_ptr<Run> runState_;
    std::unique_ptr<BackgroundJob> job_;
    std::vector<RealisationFs> realisationsDone_;
    std::optional<int> closeWith_;  // the result to close with once a run has stopped
    QLineEdit* realisations_;
    QLineEdit* seed_;
    QComboBox* sampling_;
    QComboBox* mode_;
    QPlainTextEdit* uncertainties_;
    QPushButton* run_;
    QPushButton* draw_;
    QPushButton* saveJson_;
    JobMonitor* monitor_;
    AnalysisOutput* output_;
};

/// Shows the dialog for the session's project and the inputs its document keeps.
void openProbabilityDialog(QWidget* parent, DesktopSession& session, FigureCircles circles);

}  // namespace dorvo
