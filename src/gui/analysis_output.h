// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/design_tables.h"
#include "app/document.h"
#include "gui/desktop_session.h"
#include "render/analysis_page.h"
#include "render/canvas.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace dorvo {

class BackgroundJob;
class UserInteraction;

/// A page of an analysis drawn to fit the widget, as it prints.
class PagePreview : public QWidget {
    Q_OBJECT

  public:
    using Drawing = std::function<void(Canvas& canvas, DeviceRect page)>;

    PagePreview(QSize pagePixels, QWidget* parent = nullptr);
    /// Shows this drawing from now on; an empty one leaves the preview blank.
    void setDrawing(Drawing drawing);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSize page_;
    Drawing drawing_;
};

/// The session's paper in pixels of the screen.
QSize screenPageSize(const Paper& paper);

/// Draws an analysis page as the session would print it.
PagePreview::Drawing analysisPageDrawing(DesktopSession& session,
                                         std::shared_ptr<const AnalysisPage> page);

/// What every design-analysis dialog shows of its result: a few lines, the table, the page
/// with its chart, and buttons that copy the table, save it as CSV and save the page as a
/// PDF, PNG or SVG file (never over the open project).
class AnalysisOutput : public QWidget {
    Q_OBJECT

  public:
    /// `fileStem` names the files the choosers suggest.
    AnalysisOutput(const Document& document, UserInteraction& user, const Paper& paper,
                   QString fileStem, QWidget* parent = nullptr);

    /// Shows a result: its lines, its table and its page.
    void show(const std::string& summary, AnalysisTable table, PagePreview::Drawing page);
    /// Shows why there is no result, and no table.
    void showProblem(const QString& problem);

    QLabel* summary() const { return summary_; }
    QTableWidget* table() const { return tableWidget_; }
    PagePreview* preview() const { return preview_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* savePageButton() const { return savePage_; }

  private:
    void showSummary(const QString& text);
    void copy();
    void save();
    void savePage();

    const Document& document_;
    UserInteraction& user_;
    Paper paper_;
    QString fileStem_;
    AnalysisTable shown_;
    PagePreview::Drawing page_;
    QLabel* summary_;
    QTableWidget* tableWidget_;
    PagePreview* preview_;
    QPushButton* copy_;
    QPushButton* save_;
    QPushButton* savePage_;
};

/// The progress of a background job with its stop button: polls the job and calls `finished`
/// on the window's thread once it has ended.
class JobMonitor : public QWidget {
    Q_OBJECT

  public:
    explicit JobMonitor(QWidget* parent = nullptr);

    /// Watches `job` until it ends; the job must outlive the watch.
    void watch(BackgroundJob& job, std::function<void()> finished);
    bool watching() const { return job_ != nullptr; }
    /// Asks the job to stop; it keeps what it has done.
    void stop();

    QProgressBar* bar() const { return bar_; }
    QPushButton* stopButton() const { return stop_; }

  private:
    void poll();

    BackgroundJob* job_ = nullptr;
    std::function<void()> finished_;
    QTimer* timer_;
    QProgressBar* bar_;
    QPushButton* stop_;
};

}  // namespace dorvo
