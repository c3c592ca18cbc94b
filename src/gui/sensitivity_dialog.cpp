// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/sensitivity_dialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/background_job.h"
#include "app/calculation.h"
#include "app/design_analyses.h"
#include "app/design_summaries.h"
#include "app/design_tables.h"
#include "calc/parameter_change.h"
#include "gui/analysis_output.h"
#include "gui/dialog_parts.h"
#include "render/design_pages.h"

namespace dorvo {

SensitivityDialog::SensitivityDialog(DesktopSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setWindowTitle(QStringLiteral("感度解析"));
    lower_ = namedField(QStringLiteral("下限 %"), this);
    lower_->setText(QStringLiteral("-10"));
    upper_ = namedField(QStringLiteral("上限 %"), this);
    upper_->setText(QStringLiteral("10"));
    run_ = new QPushButton(QStringLiteral("計算"), this);
    run_->setDefault(true);
    monitor_ = new JobMonitor(this);
    output_ = new AnalysisOutput(session_.document, session_.user, session_.paper,
                                 QStringLiteral("sensitivity"), this);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    connect(run_, &QPushButton::clicked, this, &SensitivityDialog::start);
    connect(close, &QPushButton::clicked, this, &SensitivityDialog::reject);

    auto* input = new QHBoxLayout;
    input->addWidget(labelFor(QStringLiteral("下限 %"), lower_, this));
    input->addWidget(lower_);
    input->addWidget(labelFor(QStringLiteral("上限 %"), upper_, this));
    input->addWidget(upper_);
    input->addWidget(run_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(monitor_, 1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(input);
    layout->addWidget(output_, 1);
    layout->addLayout(bottom);
}

SensitivityDialog::~SensitivityDialog() = default;

bool SensitivityDialog::running() const {
    return job_ != nullptr && monitor_->watching();
}

void SensitivityDialog::start() {
    if (running()) return;
    const auto lower = typedVariationPercent(lower_->text().toStdString(), "下限 %");
    const auto upper = typedVariationPercent(upper_->text().toStdString(), "上限 %");
    for (const auto* typed : {&lower, &upper}) {
        if (!*typed) {
            session_.user.report(typed->error());
            return;
        }
    }
    const Project& project = session_.document.project;
    const auto input = checkCalculationInput(project);
    if (!input) {
        session_.user.report(input.error());
        return;
    }
    runState_ = std::make_shared<Run>(Run{project, input->search, {*lower, *upper}, {}});
    run_->setEnabled(false);
    job_.reset();
    job_ = std::make_unique<BackgroundJob>(
        [run = runState_](const std::stop_token& stop, JobProgress& progress) {
            SearchOptions options;
            options.stop = stop;
            run->sensitivity =
                analyseSensitivity(run->project, run->search, run->limits, options,
                                   [&](std::size_t done, std::size_t total) {
                                       progress.report(std::int64_t(done), std::int64_t(total));
                                   });
        });
    monitor_->watch(*job_, [this] { finish(); });
}

void SensitivityDialog::finish() {
    run_->setEnabled(true);
    if (job_->failure()) {
        output_->showProblem(QStringLiteral("計算できませんでした: ") +
                             QString::fromStdString(*job_->failure()));
    } else {
        const Run& run = *runState_;
        sensitivity_ = run.sensitivity;
        output_->show(sensitivitySummary(*sensitivity_, variableParameters(run.project).size()),
                      sensitivityTable(*sensitivity_, run.project),
                      analysisPageDrawing(
                          session_, std::make_shared<SensitivityPage>(*sensitivity_, run.limits)));
    }
    if (closeWhenStopped_) QDialog::reject();
}

void SensitivityDialog::reject() {
    if (!running()) {
        QDialog::reject();
        return;
    }
    closeWhenStopped_ = true;
    monitor_->stop();
}

void openSensitivityDialog(QWidget* parent, DesktopSession& session) {
    SensitivityDialog dialog(session, parent);
    dialog.exec();
}

}  // namespace dorvo
