// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

#include "editors/block_preview.h"

namespace dorvo {

/// The small drawing of a block and the block to its left in the block line editor, painted
/// white and then drawn through the program's canvas from the shapes its scene gives.
class BlockPreviewWidget : public QWidget {
    Q_OBJECT

  public:
    using Scene = std::function<std::vector<PreviewShape>(DeviceRect window)>;

    BlockPreviewWidget(Scene scene, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {177, 215}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Scene scene_;
};

}  // namespace dorvo
