#include "board/painting/gdi_draw.h"

#include <QPolygon>
#include <algorithm>
#include <cstdlib>

namespace tandemora {

void gdiRectangle(QPainter& painter, int left, int top, int right, int bottom, const QPen& pen,
                  const QBrush& brush) {
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return;
    painter.fillRect(left, top, width, height, brush);
    if (pen.style() == Qt::NoPen) return;
    const QColor edge = pen.color();
    painter.fillRect(left, top, width, 1, edge);
    painter.fillRect(left, bottom - 1, width, 1, edge);
    painter.fillRect(left, top, 1, height, edge);
    painter.fillRect(right - 1, top, 1, height, edge);
}

void gdiPolygon(QPainter& painter, const std::vector<Point>& points, const QPen& pen, const QBrush& brush) {
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (Point p : points) polygon.append(QPoint(p.x, p.y));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.drawPolygon(polygon, Qt::WindingFill);
}

namespace {

// The device pixels of one pixel of the drawing: more than one on an image of a higher ratio.
void paintPixel(QImage& image, Point p, QRgb color) {
    const qreal ratio = image.devicePixelRatio();
    auto device = [ratio](int coordinate) { return static_cast<int>(coordinate * ratio); };
    const int left = std::max(0, device(p.x)), right = std::min(image.width(), device(p.x + 1));
    const int top = std::max(0, device(p.y)), bottom = std::min(image.height(), device(p.y + 1));
    for (int y = top; y < bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = left; x < right; ++x) line[x] = color;
    }
}

}  // namespace

void drawGdiLine(QImage& image, Point from, Point to, QRgb color) {
    // Bresenham, stopping one pixel short of the end.
    const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1, stepY = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    Point p = from;
    while (p != to) {
        paintPixel(image, p, color);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            p.y += stepY;
        }
    }
}

void drawGdiPolyline(QImage& image, std::span<const Point> points, QRgb color) {
    for (std::size_t i = 1; i < points.size(); ++i) drawGdiLine(image, points[i - 1], points[i], color);
}

}  // namespace tandemora
