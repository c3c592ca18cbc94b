// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/analysis_output.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "app/background_job.h"
#include "app/design_exports.h"
#include "canvas_qt/page_export.h"
#include "canvas_qt/qpainter_canvas.h"
#include "gui/path_text.h"
#include "gui/user_interaction.h"
#include "render/pages.h"

namespace dorvo {

namespace {

constexpr double kPreviewDpi = 96.0;

}  // namespace

QSize screenPageSize(const Paper& paper) {
    return {int(std::lround(paper.widthMm() / 25.4 * kPreviewDpi)),
            int(std::lround(paper.heightMm() / 25.4 * kPreviewDpi))};
}

PagePreview::Drawing analysisPageDrawing(DesktopSession& session,
                                         std::shared_ptr<const AnalysisPage> page) {
    return [&session, page = std::move(page)](Canvas& canvas, DeviceRect) {
        const PageSetup setup = session.pageSetup();
        PageState state;
        state.analysis = page.get();
        drawPage(canvas, session.inputs(setup), state);
    };
}

PagePreview::PagePreview(QSize pagePixels, QWidget* parent) : QWidget(parent), page_(pagePixels) {
    setMinimumSize(360, 360 * page_.height() / std::max(1, page_.width()));
    setAccessibleName(QStringLiteral("図"));
}

void PagePreview::setDrawing(Drawing drawing) {
    drawing_ = std::move(drawing);
    update();
}

void PagePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!drawing_ || page_.isEmpty()) return;
    const double scale =
        std::min(double(width()) / page_.width(), double(height()) / page_.height());
    painter.scale(scale, scale);
    QPainterCanvas canvas(painter, kPreviewDpi);
    drawing_(canvas, {0, 0, page_.width(), page_.height()});
}

AnalysisOutput::AnalysisOutput(const Document& document, UserInteraction& user, const Paper& paper,
                               QString fileStem, QWidget* parent)
    : QWidget(parent),
      document_(document),
      user_(user),
      paper_(paper),
      fileStem_(std::move(fileStem)) {
    summary_ = new QLabel(this);
    summary_->setAccessibleName(QStringLiteral("結果"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setWordWrap(true);
    tableWidget_ = new QTableWidget(this);
    tableWidget_->setAccessibleName(QStringLiteral("表"));
    tableWidget_->verticalHeader()->hide();
    tableWidget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableWidget_->setMinimumSize(420, 240);
    preview_ = new PagePreview(screenPageSize(paper_), this);
    copy_ = new QPushButton(QStringLiteral("コピー"), this);
    save_ = new QPushButton(QStringLiteral("CSVで保存"), this);
    savePage_ = new QPushButton(QStringLiteral("ページを保存"), this);
    savePage_->setToolTip(QStringLiteral("表と図のページを PDF、PNG または SVG で保存します"));
    for (QPushButton* button : {copy_, save_, savePage_}) button->setEnabled(false);
    connect(copy_, &QPushButton::clicked, this, &AnalysisOutput::copy);
    connect(save_, &QPushButton::clicked, this, &AnalysisOutput::save);
    connect(savePage_, &QPushButton::clicked, this, &AnalysisOutput::savePage);

    auto* panes = new QHBoxLayout;
    panes->addWidget(tableWidget_, 1);
    panes->addWidget(preview_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy_);
    buttons->addWidget(save_);
    buttons->addWidget(savePage_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(summary_);
    layout->addLayout(panes, 1);
    layout->addLayout(buttons);
}

void AnalysisOutput::show(const std::string& summary, AnalysisTable table,
                          PagePreview::Drawing page) {
    showSummary(QString::fromStdString(summary).trimmed());
    shown_ = std::move(table);
    tableWidget_->clear();
    const int rows = shown_.empty() ? 0 : int(shown_.size()) - 1;
    const int columns = shown_.empty() ? 0 : int(shown_.front().size());
    tableWidget_->setRowCount(rows);
    tableWidget_->setColumnCount(columns);
    QStringList headings;
    if (!shown_.empty()) {
        for (const std::string& heading : shown_.front())
            headings << QString::fromStdString(heading);
    }
    tableWidget_->setHorizontalHeaderLabels(headings);
    for (int row = 0; row < rows; ++row) {
        const auto& cells = shown_[std::size_t(row) + 1];
        for (int column = 0; column < columns && column < int(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells[std::size_t(column)]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tableWidget_->setItem(row, column, item);
        }
    }
    tableWidget_->resizeColumnsToContents();
    page_ = std::move(page);
    preview_->setDrawing(page_);
    copy_->setEnabled(!shown_.empty());
    save_->setEnabled(!shown_.empty());
    savePage_->setEnabled(bool(page_));
}

void AnalysisOutput::showProblem(const QString& problem) {
    show({}, {}, {});
    showSummary(problem);
}

void AnalysisOutput::showSummary(const QString& text) {
    summary_->setText(text);
    summary_->setAccessibleDescription(text);  // what a screen reader reads out
}

void AnalysisOutput::copy() {
    QApplication::clipboard()->setText(QString::fromStdString(tableAsTabs(shown_)));
}

void AnalysisOutput::save() {
    const auto file = user_.chooseExportFile(toPath(fileStem_ + QStringLiteral(".csv")));
    if (!file) return;
    const Status written = writeTableCsv(*file, shown_, document_);
    if (!written) user_.report(written.error());
}

void AnalysisOutput::savePage() {
    const auto file = user_.chooseExportFile(toPath(fileStem_ + QStringLiteral(".pdf")));
    if (!file || !page_) return;
    if (auto refused = exportOverProject(*file, document_)) {
        user_.report(*refused);
        return;
    }
    const std::string extension = file->extension().string();
    const int dpi = extension == ".png" ? 150 : extension == ".svg" ? 96 : 600;
    if (extension != ".pdf" && extension != ".png" && extension != ".svg") {
        user_.report(literalMessage("ページは .pdf、.png または .svg のファイルに保存します"));
        return;
    }
    if (!writeDrawing(*file, paper_, dpi, page_)) user_.report(cannotWriteMessage(*file));
}

JobMonitor::JobMonitor(QWidget* parent) : QWidget(parent) {
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 1000);
    bar_->setValue(0);
    bar_->setAccessibleName(QStringLiteral("進行状況"));
    stop_ = new QPushButton(QStringLiteral("中止"), this);
    stop_->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, &JobMonitor::stop);
    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &JobMonitor::poll);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_, 1);
    layout->addWidget(stop_);
}

void JobMonitor::watch(BackgroundJob& job, std::function<void()> finished) {
    job_ = &job;
    finished_ = std::move(finished);
    bar_->setValue(0);
    stop_->setEnabled(true);
    timer_->start();
}

void JobMonitor::stop() {
    if (job_ == nullptr) return;
    job_->requestStop();
    stop_->setEnabled(false);
}

void JobMonitor::poll() {
    if (job_ == nullptr) return;
    const std::int64_t total = job_->progress().total();
    if (total > 0) bar_->setValue(int(1000 * job_->progress().done() / total));
    if (!job_->finished()) return;
    job_->wait();
    timer_->stop();
    job_ = nullptr;
    stop_->setEnabled(false);
    bar_->setValue(1000);
    // Moved out first: the call may start another job and watch it.
    auto finished = std::exchange(finished_, {});
    finished();
}

}  // namespace dorvo
