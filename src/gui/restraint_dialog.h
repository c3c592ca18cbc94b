// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "calc/restraint_force.h"
#include "gui/desktop_session.h"
#include "render/restraint_layer.h"

class QLineEdit;
class QPushButton;

namespace dorvo {

class AnalysisOutput;

/// Marks a circle on the main window's figure, or clears the mark (nothing).
using FigureMark = std::function<void(std::optional<RestraintMark>)>;

/// "必要抑止力": for a planned Fs, the restraint force each circle of the last calculation's
/// results needs; the governing circle and the critical circle's force, the largest force of
/// each centre as a table, the page, and a button that marks the governing circle on the
/// figure.
class RestraintDialog : public QDialog {
    Q_OBJECT

  public:
    RestraintDialog(DesktopSession& session, FigureMark mark, QWidget* parent = nullptr);

    QLineEdit* plannedFsField() const { return plannedFs_; }
    QPushButton* calculateButton() const { return calculate_; }
    QPushButton* drawButton() const { return draw_; }
    AnalysisOutput* output() const { return output_; }
    const std::optional<RestraintForce>& force() const { return force_; }

  private:
    void calculate();
    void drawOnFigure();

    DesktopSession& session_;
    FigureMark mark_;
    std::optional<RestraintForce> force_;
    QLineEdit* plannedFs_;
    QPushButton* calculate_;
    QPushButton* draw_;
    AnalysisOutput* output_;
};

/// Shows the dialog for the session's last results.
void openRestraintDialog(QWidget* parent, DesktopSession& session, FigureMark mark);

}  // namespace dorvo
