// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "app/document.h"
#include "calc/circle_explanation.h"

class QTableWidget;

namespace dorvo {

class UserInteraction;

/// "円の内訳": every element of one circle's evaluation with its shares of the moments, the
/// sums that make up its record and the simplified Bishop Fs; copy and save as CSV.
class ExplanationDialog : public QDialog {
    Q_OBJECT

  public:
    /// The CSV is never saved over the open `document`'s file.
    ExplanationDialog(CircleExplanation explanation, const Document& document,
                      UserInteraction& user, QWidget* parent = nullptr);
    QTableWidget* table() const { return table_; }

  private:
    void copy();
    void save();

    CircleExplanation explanation_;
    const Document& document_;
    UserInteraction& user_;
    QTableWidget* table_;
};

}  // namespace dorvo
