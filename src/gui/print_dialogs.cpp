// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/print_dialogs.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>

namespace dorvo {

namespace {

/// A progress dialog that shows itself only when printing takes a while.
class ProgressDialog : public PrintProgress {
  public:
    ProgressDialog(const QString& title, int total, QWidget* parent)
        : dialog_(title, QStringLiteral("キャンセル"), 0, total, parent) {
        dialog_.setWindowTitle(title);
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(400);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
    }

    bool carryOn(int done, int total) override {
        // Counting, the total is not known: the bar only shows that the work goes on.
        dialog_.setMaximum(std::max(total, 0));
        dialog_.setValue(done);
        dialog_.setLabelText(total > 0
                                 ? QStringLiteral("%1 / %2 ページ").arg(done + 1).arg(total)
                                 : QStringLiteral("ページ数を数えています: %1 ページ").arg(done));
        QApplication::processEvents();
        return !dialog_.wasCanceled();
    }

  private:
    QProgressDialog dialog_;
};

}  // namespace

bool DesktopPrintDialogs::askToPrint(QPrinter& printer, int pages, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, pages);
    dialog.setFromTo(1, pages);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    return dialog.exec() == QDialog::Accepted;
}

void DesktopPrintDialogs::preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint,
                                  QWidget* parent) {
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* shown) { paint(*shown); });
    dialog.exec();
}

std::unique_ptr<PrintProgress> DesktopPrintDialogs::progress(const QString& title, int total,
                                                             QWidget* parent) {
    return std::make_unique<ProgressDialog>(title, total, parent);
}

}  // namespace dorvo
