// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/block_preview_widget.h"

#include <QPainter>

#include "canvas_qt/qpainter_canvas.h"

namespace dorvo {

BlockPreviewWidget::BlockPreviewWidget(Scene scene, QWidget* parent)
    : QWidget(parent), scene_(std::move(scene)) {
    setAccessibleName(QStringLiteral("Block"));
    setMinimumSize(sizeHint());
}

void BlockPreviewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QPainterCanvas canvas(painter, logicalDpiY());
    drawPreview(canvas, scene_({0, 0, width(), height()}));
}

}  // namespace dorvo
