// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "app/view_commands.h"
#include "gui/desktop_session.h"

namespace dorvo {

/// The view: draws the page kind the session shows, as it would be printed, and pages it
/// with the keys. A zoom factor scales the drawing only; layout and paging stay as printed.
class CDorvoView : public QWidget {
    Q_OBJECT

  public:
    explicit CDorvoView(DesktopSession& session, QWidget* parent = nullptr);

    /// Pages of the shown page kind on the screen.
    int pageCount();
    /// The paging and scrolling commands' view of the session.
    ViewNavigation navigation();
    /// Carries out what a command asked of the view.
    void apply(ViewChange change);

    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    void zoomIn() { setZoom(zoom_ * 1.25); }
    void zoomOut() { setZoom(zoom_ / 1.25); }

    QSize sizeHint() const override;

  Q_SIGNALS:
    void zoomChanged(double zoom);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QSize pageSizePx() const;

    DesktopSession& session_;
    double zoom_ = 1.0;
};

}  // namespace dorvo
