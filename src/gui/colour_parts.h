// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include "render/canvas.h"

class QWidget;

namespace dorvo {

/// A colour of the chooser as the settings keep it, 0x00BBGGRR.
Colour colourOf(const QColor& colour);

/// Draws a widget's text in a colour, as the colour boxes of the settings dialogs show the
/// colour they name.
void showTextInColour(QWidget* widget, Colour colour);

}  // namespace dorvo
