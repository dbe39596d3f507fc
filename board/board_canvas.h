// The board window's drawing surface: shows the window's back buffer and hands the mouse to
// the window.
#pragma once

#include <QWidget>

namespace tandemora {

class CBoardFrame;

class BoardCanvas : public QWidget {
    Q_OBJECT
public:
    explicit BoardCanvas(CBoardFrame& frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The canvas lies at the top-left of the window's client area: its points are the window's.
    CBoardFrame& frame_;
};

}  // namespace tandemora
