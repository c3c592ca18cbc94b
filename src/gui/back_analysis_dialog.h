// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "calc/back_analysis.h"
#include "gui/desktop_session.h"

class QLineEdit;
class QPushButton;

namespace dorvo {

class AnalysisOutput;

/// Takes over a changed project as one step of undo and calculates it again.
using ApplyAndRecalculate = std::function<void(const Project& changed)>;

/// "強度の逆算": the pairs (Co, φ) of one layer for which a fixed circle (the last critical
/// circle, one typed by centre and radius, or one through two surface ends at a depth) has the
/// current Fs0, as a table over φ and a chart; a pair on the line can be given to the layer.
class BackAnalysisDialog : public QDialog {
    Q_OBJECT

  public:
    BackAnalysisDialog(DesktopSession& session, ApplyAndRecalculate apply,
                       QWidget* parent = nullptr);

    QLineEdit* field(const QString& accessibleName) const;
    QPushButton* calculateButton() const { return calculate_; }
    QPushButton* endsButton() const { return fromEnds_; }
    QPushButton* applyButton() const { return apply_; }
    AnalysisOutput* output() const { return output_; }
    const std::optional<BackAnalysis>& analysis() const { return analysis_; }

  private:
    void calculate();
    void circleFromEnds();
    void applyChosenPair();

    DesktopSession& session_;
    ApplyAndRecalculate applyChange_;
    std::optional<BackAnalysis> analysis_;
    QPushButton* calculate_;
    QPushButton* fromEnds_;
    QPushButton* apply_;
    AnalysisOutput* output_;
};

/// Shows the dialog on the last calculation's critical circle.
void openBackAnalysisDialog(QWidget* parent, DesktopSession& session, ApplyAndRecalculate apply);

}  // namespace dorvo
