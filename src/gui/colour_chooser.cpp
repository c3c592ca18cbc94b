// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/colour_chooser.h"

#include <QColorDialog>

#include "canvas_qt/qpainter_canvas.h"
#include "editors/layer_editing.h"

namespace dorvo {

std::optional<Colour> DesktopColourChooser::chooseColour(Colour initial) {
    const QColor chosen = QColorDialog::getColor(toQColor(initial), parent_, QStringLiteral("色"));
    if (!chosen.isValid()) return std::nullopt;
    return colourValue(chosen.red(), chosen.green(), chosen.blue());
}

}  // namespace dorvo
