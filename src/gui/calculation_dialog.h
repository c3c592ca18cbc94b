// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "app/calculation.h"
#include "app/search_insight.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace dorvo {

/// "計算": runs the circle search on a worker thread when the user presses OK, showing the
/// circle being tried and the rows done; Cancel stops a run, and the old results stay. The
/// dialog closes by itself when the last record is written.
class CalculationDialog : public QDialog {
    Q_OBJECT

  public:
    CalculationDialog(const Project& project, std::filesystem::path resultsFile,
                      SearchOptions options, MessageSink& messages, QWidget* parent = nullptr);
    ~CalculationDialog() override;

    /// The completed run, once the dialog closed after it.
    const std::optional<Calculation>& calculation() const { return calculation_; }
    /// The search by the simplified Bishop method, when that method was chosen and its search
    /// completed after the records.
    const std::optional<BishopSearch>& bishopSearch() const { return bishop_; }
    /// The project as the completed run left it (its critical circle stored).
    const Project& calculatedProject() const { return project_; }
    bool running() const { return worker_.joinable(); }

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
    /// Collects the run's messages on the worker thread for the dialog's thread to show.
    class CollectedMessages : public MessageSink {
      public:
        void report(const Message& message) override;
        std::vector<Message> take();

      private:
        std::mutex mutex_;
        std::vector<Message> messages_;
    };

    void showProgress(int position, const QString& status);
    void finishRun();

    Project project_;
    std::filesystem::path resultsFile_;
    SearchOptions options_;
    MessageSink& messages_;
    CollectedMessages runMessages_;
    std::stop_source stop_;
    std::thread worker_;
    std::optional<Calculation> calculation_;
    std::optional<BishopSearch> bishop_;
    bool stopping_ = false;
    QComboBox* method_;
    QLineEdit* status_;
    QProgressBar* bar_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace dorvo
