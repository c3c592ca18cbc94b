// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/explanation_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/explanation_table.h"
#include "gui/user_interaction.h"
#include "model/line_io.h"
#include "model/number_text.h"

namespace dorvo {

ExplanationDialog::ExplanationDialog(CircleExplanation explanation, const Document& document,
                                     UserInteraction& user, QWidget* parent)
    : QDialog(parent), explanation_(std::move(explanation)), document_(document), user_(user) {
    setWindowTitle(QStringLiteral("円の内訳"));
    const CircleResult& c = explanation_.outcome.result;
    const auto rows = elementRows(explanation_, 3);
    table_ = new QTableWidget(int(rows.size()), int(kElementColumns.size()), this);
    table_->setAccessibleName(QStringLiteral("要素"));
    QStringList headings;
    for (const char* column : kElementColumns) headings << QString::fromUtf8(column);
    table_->setHorizontalHeaderLabels(headings);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < int(rows.size()); ++row) {
        for (int column = 0; column < int(kElementColumns.size()); ++column) {
            auto* item = new QTableWidgetItem(
                QString::fromStdString(rows[std::size_t(row)][std::size_t(column)]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->setMinimumSize(900, 360);

    const ExplanationSums sums = explanationSums(explanation_);
    const BishopSolution bishop = bishopFactorOfSafety(explanation_);
    QString summary = QString::fromStdString(
        formatC("中心 (%.2f, %.2f)  半径 %.2f\nMD = Md + Me + Mf = %.2f + %.2f + %.2f = %.2f\n"
                "MR = MT − ME + MC = %.2f − %.2f + %.2f = %.2f\nFs = MR / MD = %.3f",
                c.rx, c.ry, c.r, sums.md, sums.me + 0.0, sums.mf, sums.drivingMoment(), sums.mt,
                sums.mE + 0.0, sums.mc, sums.resistingMoment(), c.fs));
    summary += QString::fromStdString("\n簡易ビショップ法 Fs = " +
                                      bishopValueText(bishop, 3, WarningLanguage::Japanese));
    if (bishop.lowMAlpha()) {
        summary += QString::fromStdString("\n" + describeBishop(bishop, WarningLanguage::Japanese));
    }
    auto* totals = new QLabel(summary, this);
    totals->setAccessibleName(QStringLiteral("合計"));
    totals->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* copyButton = new QPushButton(QStringLiteral("コピー"), this);
    connect(copyButton, &QPushButton::clicked, this, &ExplanationDialog::copy);
    auto* saveButton = new QPushButton(QStringLiteral("CSVで保存"), this);
    connect(saveButton, &QPushButton::clicked, this, &ExplanationDialog::save);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addWidget(saveButton);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(totals);
    layout->addLayout(buttons);
}

void ExplanationDialog::copy() {
    QApplication::clipboard()->setText(QString::fromStdString(explanationCsv(explanation_)));
}

void ExplanationDialog::save() {
    const auto file = user_.chooseExportFile("circle-elements.csv");
    if (!file) return;
    if (auto refused = exportOverProject(*file, document_)) {
        user_.report(*refused);
        return;
    }
    const std::string csv = explanationCsv(explanation_);
    const Status written = writeFileAtomically(*file, [&](std::ostream& out) {
        out << csv;
        return static_cast<bool>(out);
    });
    if (!written) user_.report(written.error());
}

}  // namespace dorvo
