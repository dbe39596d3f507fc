#include "board/board_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "board/board_frame.h"

namespace tandemora {

BoardCanvas::BoardCanvas(CBoardFrame& frame) : QWidget(&frame), frame_(frame) {
    // Everything is painted from the back buffer: no background erase between paints.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardCanvas::paintEvent(QPaintEvent* event) {
    // Moved to a screen of another pixel ratio: drawn again for its pixels first.
    if (frame_.backBuffer().devicePixelRatio() != devicePixelRatioF()) frame_.relayout();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect area = event->rect();
    const qreal ratio = frame_.backBuffer().devicePixelRatio();
    painter.drawImage(QRectF(area), frame_.backBuffer(),
                      QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
}

void BoardCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) frame_.pressAt(event->position().toPoint());
    else QWidget::mousePressEvent(event);
}

void BoardCanvas::mouseMoveEvent(QMouseEvent* event) { frame_.dragTo(event->position().toPoint()); }

void BoardCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) frame_.releaseAt(event->position().toPoint());
    else QWidget::mouseReleaseEvent(event);
}

void BoardCanvas::wheelEvent(QWheelEvent* event) { frame_.wheelOverBoard(event->angleDelta().y()); }

}  // namespace tandemora
