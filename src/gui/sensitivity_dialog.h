// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "calc/sensitivity.h"
#include "gui/desktop_session.h"

class QLineEdit;
class QPushButton;

namespace dorvo {

class AnalysisOutput;
class BackgroundJob;
class JobMonitor;

/// "感度解析": varies each parameter of the project by the lower and upper percentages and runs
/// the whole search for each on a background thread, with progress and a stop that keeps the
/// parameters done; the table and the tornado chart order them by the swing of Fs.
class SensitivityDialog : public QDialog {
    Q_OBJECT

  public:
    SensitivityDialog(DesktopSession& session, QWidget* parent = nullptr);
    ~SensitivityDialog() override;

    QLineEdit* lowerField() const { return lower_; }
    QLineEdit* upperField() const { return upper_; }
    QPushButton* runButton() const { return run_; }
    JobMonitor* monitor() const { return monitor_; }
    AnalysisOutput* output() const { return output_; }
    bool running() const;
    const std::optional<Sensitivity>& sensitivity() const { return sensitivity_; }

    /// Stops a run and closes once it has stopped.
    void reject() override;

  private:
    /// What the run writes on its thread and the dialog reads once it has finished.
    struct Run {
        Project project;
        ValidCircleSearch search;
        SensitivityLimits limits;
        Sensitivity sensitivity;
    };

    void start();
    void finish();

    DesktopSession& session_;
    std::shared_ptr<Run> runState_;
    std::unique_ptr<BackgroundJob> job_;
    std::optional<Sensitivity> sensitivity_;
    bool closeWhenStopped_ = false;
    QLineEdit* lower_;
    QLineEdit* upper_;
    QPushButton* run_;
    JobMonitor* monitor_;
    AnalysisOutput* output_;
};

/// Shows the dialog for the session's project.
void openSensitivityDialog(QWidget* parent, DesktopSession& session);

}  // namespace dorvo
