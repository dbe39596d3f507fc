#include "board/board_canvas.h"

#include <QMouseEvent>
#include <QPainter>

#include "board/board_frame.h"

namespace tandemora {

BoardCanvas::BoardCanvas(CBoardFrame& frame) : QWidget(&frame), frame_(frame) {
    // Everything is painted from the back buffer: no background erase between paints.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), frame_.backBuffer(), area);
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

}  // namespace tandemora
