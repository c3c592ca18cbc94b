// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace dorvo {

/// Shows how far printing has gone and lets the user stop it.
class PrintProgress {
  public:
    virtual ~PrintProgress() = default;
    /// Told before each page how many of `total` are done, or while the pages are counted
    /// (`total` 0) how many are counted so far; false when the user asked to stop.
    virtual bool carryOn(int done, int total) = 0;
};

/// The dialogs of printing: the program shows them; tests answer without blocking.
class PrintDialogs {
  public:
    virtual ~PrintDialogs() = default;
    /// Asks for the printer and the pages of `pages` to print; false on Cancel.
    virtual bool askToPrint(QPrinter& printer, int pages, QWidget* parent) = 0;
    /// Shows the preview of what `paint` draws on the printer it is given.
    virtual void preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint,
                         QWidget* parent) = 0;
    /// Shows the progress of printing `total` pages, or of counting them (`total` 0), until it
    /// is destroyed.
    virtual std::unique_ptr<PrintProgress> progress(const QString& title, int total,
                                                    QWidget* parent) = 0;
};

/// The desktop's print, preview and progress dialogs.
class DesktopPrintDialogs : public PrintDialogs {
  public:
    bool askToPrint(QPrinter& printer, int pages, QWidget* parent) override;
    void preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint,
                 QWidget* parent) override;
    std::unique_ptr<PrintProgress> progress(const QString& title, int total,
                                            QWidget* parent) override;
};

}  // namespace dorvo
