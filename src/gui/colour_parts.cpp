// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/colour_parts.h"

#include <QPalette>
#include <QWidget>

#include "canvas_qt/qpainter_canvas.h"

namespace dorvo {

Colour colourOf(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<Colour>(rgb.red()) | static_cast<Colour>(rgb.green()) << 8 |
           static_cast<Colour>(rgb.blue()) << 16;
}

void showTextInColour(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, toQColor(colour));
    palette.setColor(QPalette::WindowText, toQColor(colour));
    widget->setPalette(palette);
}

}  // namespace dorvo
