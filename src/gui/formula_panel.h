// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace dorvo {

enum class UnitWeightNotes { Hidden, Shown };

/// The formulas of the method, as the calculation dialog and the formula display show them.
QWidget* makeFormulaPanel(UnitWeightNotes notes, QWidget* parent);

}  // namespace dorvo
