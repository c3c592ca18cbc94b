// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dorvo_view.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "canvas_qt/qpainter_canvas.h"
#include "render/pages.h"

namespace dorvo {

namespace {

ViewKey viewKeyOf(int key) {
    switch (key) {
        case Qt::Key_Up:
            return ViewKey::Up;
        case Qt::Key_Down:
            return ViewKey::Down;
        case Qt::Key_PageUp:
            return ViewKey::PageUp;
        case Qt::Key_PageDown:
            return ViewKey::PageDown;
        case Qt::Key_Left:
            return ViewKey::Left;
        case Qt::Key_Right:
            return ViewKey::Right;
        default:
            return ViewKey::Other;
    }
}

}  // namespace

CDorvoView::CDorvoView(DesktopSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("ページ"));
    setMinimumSize(sizeHint());
}

QSize CDorvoView::pageSizePx() const {
    const double pxPerMm = kScreenDpi / 25.4;
    return {int(std::lround(session_.paper.widthMm() * pxPerMm)),
            int(std::lround(session_.paper.heightMm() * pxPerMm))};
}

QSize CDorvoView::sizeHint() const {
    const QSize page = pageSizePx();
    return {int(std::lround(page.width() * zoom_)), int(std::lround(page.height() * zoom_))};
}

void CDorvoView::setZoom(double zoom) {
    zoom = std::clamp(zoom, 0.25, 4.0);
    if (std::fabs(zoom - zoom_) < 1e-9) return;
    zoom_ = zoom;
    setMinimumSize(sizeHint());
    update();
}

int CDorvoView::pageCount() {
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(kScreenDpi / 0.0254));
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&device);
    QPainterCanvas canvas(painter, kScreenDpi);
    const PageSetup setup = session_.pageSetup();
    return countPages(canvas, session_.inputs(setup), session_.pages);
}

ViewNavigation CDorvoView::navigation() {
    const int pages = pageCount();
    const PageSetup setup = session_.pageSetup();
    return {session_.pages.view,
            session_.window,
            pages,
            sectionRightX(session_.document.project),
            figureExtents(session_.document.project),
            setup.scrollStepM};
}

void CDorvoView::apply(ViewChange change) {
    if (change == ViewChange::None) return;
    if (change == ViewChange::Refused) {
        session_.user.report(makeMessage(MessageId::FigureOffScreen));
    }
    update();
}

void CDorvoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.scale(zoom_, zoom_);
    QPainterCanvas canvas(painter, kScreenDpi);
    const PageSetup setup = session_.pageSetup();
    drawPage(canvas, session_.inputs(setup), session_.pages);
}

void CDorvoView::keyPressEvent(QKeyEvent* event) {
    const ViewKey key = viewKeyOf(event->key());
    if (key == ViewKey::Other || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    apply(pressKey(navigation(), key));
}

void CDorvoView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();  // the scroll area scrolls
        return;
    }
    if (event->angleDelta().y() > 0) zoomIn();
    if (event->angleDelta().y() < 0) zoomOut();
    event->accept();
}

}  // namespace dorvo
