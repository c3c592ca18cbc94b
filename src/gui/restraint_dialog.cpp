// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/restraint_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/design_analyses.h"
#include "app/design_summaries.h"
#include "app/design_tables.h"
#include "gui/analysis_output.h"
#include "gui/dialog_parts.h"
#include "render/design_pages.h"

namespace dorvo {

RestraintDialog::RestraintDialog(DesktopSession& session, FigureMark mark, QWidget* parent)
    : QDialog(parent), session_(session), mark_(std::move(mark)) {
    setWindowTitle(QStringLiteral("必要抑止力"));
    plannedFs_ = namedField(QStringLiteral("計画安全率 Fsp"), this);
    plannedFs_->setText(QStringLiteral("1.20"));
    calculate_ = new QPushButton(QStringLiteral("計算"), this);
    calculate_->setDefault(true);
    draw_ = new QPushButton(QStringLiteral("図に描く"), this);
    draw_->setToolTip(QStringLiteral("必要抑止力が最大の円を図に破線で描きます"));
    draw_->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    output_ = new AnalysisOutput(session_.document, session_.user, session_.paper,
                                 QStringLiteral("restraint"), this);
    connect(calculate_, &QPushButton::clicked, this, &RestraintDialog::calculate);
    connect(draw_, &QPushButton::clicked, this, &RestraintDialog::drawOnFigure);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* input = new QHBoxLayout;
    input->addWidget(labelFor(QStringLiteral("計画安全率 Fsp"), plannedFs_, this));
    input->addWidget(plannedFs_);
    input->addWidget(calculate_);
    input->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(draw_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(input);
    layout->addWidget(output_, 1);
    layout->addLayout(buttons);
    calculate();
}

void RestraintDialog::calculate() {
    const Result<double> planned = typedPlannedFs(plannedFs_->text().toStdString());
    if (!planned) {
        session_.user.report(planned.error());
        plannedFs_->setFocus();
        return;
    }
    const Project& project = session_.document.project;
    auto force = restraintForceOfResults(project, session_.installation.resultsFile(), *planned);
    if (!force) {
        force_.reset();
        draw_->setEnabled(false);
        output_->showProblem(QString::fromStdString(force.error().text));
        return;
    }
    force_ = std::move(force).value();
    const std::string_view unit = forcePerMetreUnit(project);
    output_->show(restraintSummary(*force_, unit), restraintTable(*force_, unit),
                  analysisPageDrawing(session_, std::make_shared<RestraintPage>(*force_)));
    draw_->setEnabled(restraintMarkOf(*force_).has_value());
}

void RestraintDialog::drawOnFigure() {
    if (force_) mark_(restraintMarkOf(*force_));
}

void openRestraintDialog(QWidget* parent, DesktopSession& session, FigureMark mark) {
    RestraintDialog dialog(session, std::move(mark), parent);
    dialog.exec();
}

}  // namespace dorvo
