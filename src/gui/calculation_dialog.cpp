// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/calculation_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/formula_panel.h"

namespace dorvo {

namespace {

/// Passes the search's progress to the dialog's thread; the search reports a few dozen times
/// a second at most.
class DialogProgress : public SearchProgress {
  public:
    explicit DialogProgress(std::function<void(int, QString)> show) : show_(std::move(show)) {}
    void report(int position, std::string_view status) override {
        show_(position, QString::fromUtf8(status.data(), qsizetype(status.size())));
    }

  private:
    std::function<void(int, QString)> show_;
};

}  // namespace

CalculationDialog::CalculationDialog(const Project& project, std::filesystem::path resultsFile,
                                     SearchOptions options, MessageSink& messages, QWidget* parent)
    : QDialog(parent),
      project_(project),
      resultsFile_(std::move(resultsFile)),
      options_(std::move(options)),
      messages_(messages) {
    setWindowTitle(QStringLiteral("計算"));
    method_ = new QComboBox(this);
    method_->addItems({QStringLiteral("通常法"), QStringLiteral("簡易ビショップ法")});
    method_->setAccessibleName(QStringLiteral("計算方法"));
    method_->setToolTip(
        QStringLiteral("簡易ビショップ法: "
                       "同じ格子を簡易ビショップ法で探索します（計算結果の記録は通常法のまま）"));
    status_ = new QLineEdit(this);
    status_->setReadOnly(true);
    status_->setAccessibleName(QStringLiteral("状態"));
    status_->setMinimumWidth(320);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setAccessibleName(QStringLiteral("進行状況"));
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CalculationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CalculationDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeFormulaPanel(UnitWeightNotes::Hidden, this));
    auto* methodRow = new QHBoxLayout;
    methodRow->addWidget(new QLabel(QStringLiteral("計算方法"), this));
    methodRow->addWidget(method_, 1);
    layout->addLayout(methodRow);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    layout->addWidget(new QLabel(QStringLiteral("計算実行　"), this));
    layout->addWidget(buttons);
}

CalculationDialog::~CalculationDialog() {
    stopAndWait();
}

void CalculationDialog::accept() {
    if (job_) return;
    ok_->setEnabled(false);
    method_->setEnabled(false);
    const SearchMethod method =
        method_->currentIndex() == 1 ? SearchMethod::Bishop : SearchMethod::Ordinary;
    QPointer<CalculationDialog> self(this);
    progress_ = std::make_unique<DialogProgress>([self](int position, QString status) {
        QMetaObject::invokeMethod(
            self.data(),
            [self, position, status] {
                if (self) self->showProgress(position, status);
            },
            Qt::QueuedConnection);
    });
    job_ = std::make_unique<CalculationJob>(project_, resultsFile_, options_, method);
    job_->start(progress_.get(), [self] {
        QMetaObject::invokeMethod(
            self.data(),
            [self] {
                if (self) self->finishRun();
            },
            Qt::QueuedConnection);
    });
}

void CalculationDialog::reject() {
    if (!running()) {
        QDialog::reject();
        return;
    }
    cancel_->setEnabled(false);
    job_->cancel();
}

void CalculationDialog::stopAndWait() {
    if (!job_) return;
    job_->cancel();
    job_->wait();
}

void CalculationDialog::showProgress(int position, const QString& status) {
    bar_->setValue(position);
    status_->setText(status);
}

void CalculationDialog::finishRun() {
    if (!job_) return;
    run_ = job_->take();
    for (const Message& message : run_.messages) messages_.report(message);
    // A run that completed replaced the results even when Cancel came too late to stop it.
    if (run_.calculation) {
        bar_->setValue(100);
        QDialog::accept();
        return;
    }
    // A stopped or failed run: the old results stay, and so does the project.
    QDialog::reject();
}

}  // namespace dorvo
