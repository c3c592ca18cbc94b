// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/calculation_job.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace dorvo {

/// "計算": runs the circle search as a calculation job when the user presses OK, showing the
/// circle being tried and the rows done; Cancel stops a run, and the old results stay. The
/// dialog closes by itself when the last record is written.
class CalculationDialog : public QDialog {
    Q_OBJECT

  public:
    CalculationDialog(const Project& project, std::filesystem::path resultsFile,
                      SearchOptions options, MessageSink& messages, QWidget* parent = nullptr);
    ~CalculationDialog() override;

    /// The completed run, once the dialog closed after it.
    const std::optional<Calculation>& calculation() const { return run_.calculation; }
    /// The search by the simplified Bishop method, when that method was chosen and its search
    /// completed after the records.
    const std::optional<BishopSearch>& bishopSearch() const { return run_.bishop; }
    /// The project as the completed run left it (its critical circle stored).
    const Project& calculatedProject() const { return run_.project; }
    bool running() const { return job_ && job_->running(); }

    QLineEdit* statusLine() const { return status_; }
    /// 計算方法: the ordinary method (0) or the simplified Bishop method (1).
    QComboBox* methodChoice() const { return method_; }
    QProgressBar* progressBar() const { return bar_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    /// Starts the run.
    void accept() override;
    /// Before a run, closes the dialog; during one, stops it and closes when it has stopped.
    void reject() override;
    /// Stops a run and waits for it, as closing the program does.
    void stopAndWait();

  private:
    void showProgress(int position, const QString& status);
    void finishRun();

    Project project_;
    std::filesystem::path resultsFile_;
    SearchOptions options_;
    MessageSink& messages_;
    std::unique_ptr<SearchProgress> progress_;
    std::unique_ptr<CalculationJob> job_;
    CalculationRun run_;
    QComboBox* method_;
    QLineEdit* status_;
    QProgressBar* bar_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace dorvo
