// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>

class QDialog;

namespace dorvo {

/// OK and "ｷｬﾝｾﾙ", wired to the dialog's accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

/// A text field named for screen readers and tests by the label the user sees.
QLineEdit* namedField(const QString& accessibleName, QWidget* parent);

/// A picture of the program's resources (":/pictures/…svg") drawn at `size`, described for
/// screen readers.
QLabel* pictureLabel(const QString& resource, QSize size, const QString& description,
                     QWidget* parent);

/// A label bound to its field, so the field's accessible name is the label's text.
QLabel* labelFor(const QString& text, QWidget* field, QWidget* parent);

}  // namespace dorvo
