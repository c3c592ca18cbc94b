// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/probability_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>

#include "app/background_job.h"
#include "app/design_dialog_fields.h"
#include "app/design_summaries.h"
#include "app/probability_report.h"
#include "gui/analysis_output.h"
#include "gui/dialog_parts.h"
#include "model/atomic_write.h"

namespace dorvo {

namespace {

/// Passes the realisations done to the job's progress.
class JobRealisations : public RealisationProgress {
  public:
    explicit JobRealisations(JobProgress& progress) : progress_(progress) {}
    void report(std::int64_t done, std::int64_t total) override { progress_.report(done, total); }

  private:
    JobProgress& progress_;
};

}  // namespace

ProbabilityDialog::ProbabilityDialog(DesktopSession& session, FigureCircles circles,
                                     QWidget* parent)
    : QDialog(parent), session_(session), circles_(std::move(circles)) {
    setWindowTitle(QStringLiteral("確率解析"));
    realisations_ = namedField(QStringLiteral("回数 N"), this);
    seed_ = namedField(QStringLiteral("乱数の種"), this);
    sampling_ = new QComboBox(this);
    sampling_->addItems({QStringLiteral("モンテカルロ法"), QStringLiteral("ラテン超方格法")});
    sampling_->setAccessibleName(QStringLiteral("抽出法"));
    mode_ = new QComboBox(this);
    mode_->addItems(
        {QStringLiteral("最小安全率の円で（速い）"), QStringLiteral("毎回すべり円を探索")});
    mode_->setAccessibleName(QStringLiteral("計算方法"));
    uncertainties_ = new QPlainTextEdit(this);
    uncertainties_->setAccessibleName(QStringLiteral("不確かなパラメータ"));
    uncertainties_->setToolTip(
        QStringLiteral("NAME.prob.json の parameters と correlations（書き方は README を参照）"));
    uncertainties_->setMinimumHeight(140);
    run_ = new QPushButton(QStringLiteral("実行"), this);
    run_->setDefault(true);  // Enter in a field runs rather than closes
    draw_ = new QPushButton(QStringLiteral("破壊した円を図に描く"), this);
    draw_->setEnabled(false);
    saveJson_ = new QPushButton(QStringLiteral("結果をJSONで保存"), this);
    saveJson_->setEnabled(false);
    monitor_ = new JobMonitor(this);
    output_ = new AnalysisOutput(session_.document, session_.user, session_.paper,
                                 QStringLiteral("probability"), this);
    auto* buttons = okCancelButtons(this);
    connect(run_, &QPushButton::clicked, this, &ProbabilityDialog::start);
    connect(saveJson_, &QPushButton::clicked, this, &ProbabilityDialog::saveJson);
    connect(draw_, &QPushButton::clicked, this,
            [this] { circles_(failingCircles(realisationsDone_)); });

    auto* grid = new QGridLayout;
    grid->addWidget(labelFor(QStringLiteral("回数 N"), realisations_, this), 0, 0);
    grid->addWidget(realisations_, 0, 1);
    grid->addWidget(labelFor(QStringLiteral("乱数の種"), seed_, this), 0, 2);
    grid->addWidget(seed_, 0, 3);
    grid->addWidget(labelFor(QStringLiteral("抽出法"), sampling_, this), 1, 0);
    grid->addWidget(sampling_, 1, 1);
    grid->addWidget(labelFor(QStringLiteral("計算方法"), mode_, this), 1, 2);
    grid->addWidget(mode_, 1, 3);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(run_);
    runRow->addWidget(monitor_, 1);
    runRow->addWidget(saveJson_);
    runRow->addWidget(draw_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(labelFor(QStringLiteral("不確かなパラメータ"), uncertainties_, this));
    layout->addWidget(uncertainties_);
    layout->addLayout(runRow);
    layout->addWidget(output_, 1);
    layout->addWidget(buttons);

    const Result<ProbabilitySpec> starting = startingProbabilitySpec(session_.document);
    if (!starting) session_.user.report(starting.error());
    showSpec(starting ? *starting : ProbabilitySpec{});
}

ProbabilityDialog::~ProbabilityDialog() = default;

bool ProbabilityDialog::running() const {
    return job_ != nullptr && monitor_->watching();
}

void ProbabilityDialog::showSpec(const ProbabilitySpec& spec) {
    realisations_->setText(QString::number(spec.realisations));
    seed_->setText(QString::number(spec.seed));
    sampling_->setCurrentIndex(spec.sampling == SamplingMethod::LatinHypercube ? 1 : 0);
    mode_->setCurrentIndex(spec.mode == ProbabilityMode::FullSearch ? 1 : 0);
    uncertainties_->setPlainText(QString::fromStdString(uncertaintiesJson(spec)));
}

std::optional<ProbabilitySpec> ProbabilityDialog::editedSpec() {
    const auto realisations = typedRealisations(realisations_->text().toStdString());
    if (!realisations) {
        session_.user.report(realisations.error());
        return std::nullopt;
    }
    const auto seed = typedSeed(seed_->text().toStdString());
    if (!seed) {
        session_.user.report(seed.error());
        return std::nullopt;
    }
    ProbabilitySpec run;
    run.realisations = *realisations;
    run.seed = *seed;
    run.sampling = sampling_->currentIndex() == 1 ? SamplingMethod::LatinHypercube
                                                  : SamplingMethod::MonteCarlo;
    run.mode =
        mode_->currentIndex() == 1 ? ProbabilityMode::FullSearch : ProbabilityMode::CriticalCircle;
    auto spec = withUncertainties(run, uncertainties_->toPlainText().toStdString());
    if (!spec) {
        session_.user.report(spec.error());
        return std::nullopt;
    }
    return std::move(spec).value();
}

void ProbabilityDialog::start() {
    if (running()) return;
    auto spec = editedSpec();
    if (!spec) return;
    runState_ = std::make_shared<Run>(Run{session_.document.project, *spec, {}, {}, {}});
    run_->setEnabled(false);
    draw_->setEnabled(false);
    saveJson_->setEnabled(false);
    job_.reset();
    job_ = std::make_unique<BackgroundJob>(
        [run = runState_](const std::stop_token& stop, JobProgress& progress) {
            auto prepared = prepareProbabilityAnalysis(run->project, run->spec, 0, stop);
            if (!prepared) {
                run->refused = prepared.error();
                return;
            }
            run->analysis = std::move(prepared).value();
            JobRealisations realisations(progress);
            ProbabilityRunOptions options;
            options.stop = stop;
            options.progress = &realisations;
            const auto started = std::chrono::steady_clock::now();
            run->run = runRealisations(run->analysis->model, options);
            run->seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        });
    monitor_->watch(*job_, [this] { finish(); });
}

void ProbabilityDialog::finish() {
    run_->setEnabled(true);
    const Run& run = *runState_;
    if (job_->failure()) {
        output_->showProblem(QStringLiteral("計算できませんでした: ") +
                             QString::fromStdString(*job_->failure()));
    } else if (run.refused) {
        output_->showProblem(QString::fromStdString(run.refused->text));
    } else {
        realisationsDone_ = run.run.realisations;
        const ProbabilitySummary summary = summariseRealisations(realisationsDone_);
        auto page = std::make_shared<ProbabilityPageData>(
            probabilityPageData(*run.analysis, session_.document.title(), summary));
        output_->show(
            probabilitySummary(summary, run.spec.realisations), probabilityTable(summary),
            [page](Canvas& canvas, DeviceRect area) { drawProbabilityPage(canvas, *page, area); });
        draw_->setEnabled(!failingCircles(realisationsDone_).empty());
        saveJson_->setEnabled(true);
    }
    if (closeWith_) done(*closeWith_);
}

void ProbabilityDialog::saveJson() {
    const Run& run = *runState_;
    if (running() || !run.analysis) return;
    const auto file = session_.user.chooseExportFile("probability.json");
    if (!file) return;
    if (auto refused = exportOverProject(*file, session_.document)) {
        session_.user.report(*refused);
        return;
    }
    const std::string text =
        probabilityResultJson(*run.analysis, session_.document.title(), run.run, run.seconds);
    const Status written = writeFileAtomically(*file, [&](std::ostream& out) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(out);
    });
    if (!written) session_.user.report(written.error());
}

void ProbabilityDialog::accept() {
    auto spec = editedSpec();
    if (!spec) return;
    session_.keepProbabilityInputs(*spec);
    if (!running()) {
        QDialog::accept();
        return;
    }
    closeWith_ = QDialog::Accepted;
    monitor_->stop();
}

void ProbabilityDialog::reject() {
    if (!running()) {
        QDialog::reject();
        return;
    }
    closeWith_ = QDialog::Rejected;
    monitor_->stop();
}

void openProbabilityDialog(QWidget* parent, DesktopSession& session, FigureCircles circles) {
    ProbabilityDialog dialog(session, std::move(circles), parent);
    dialog.exec();
}

}  // namespace dorvo
