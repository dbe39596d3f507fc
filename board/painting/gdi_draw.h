// Drawing primitives that give the board's exact pixels: rectangles that cover their right
// and bottom edges exclusively, winding-filled polygons, and lines that leave out their end
// point.
#pragma once

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <span>
#include <vector>

#include "board/painting/point.h"

namespace tandemora {

// Fills left..right-1 x top..bottom-1 with the brush and outlines that area with the pen's
// one-pixel border.
void gdiRectangle(QPainter& painter, int left, int top, int right, int bottom, const QPen& pen,
                  const QBrush& brush);

// A closed polygon, filled by the winding rule and outlined with the pen, without smoothing.
void gdiPolygon(QPainter& painter, const std::vector<Point>& points, const QPen& pen, const QBrush& brush);

// A straight line from `from` towards `to`; `to` itself is not painted. Pixels outside the
// image are skipped. The image must be 32 bits per pixel; on an image of a higher pixel ratio
// each pixel of the line covers its device pixels.
void drawGdiLine(QImage& image, Point from, Point to, QRgb color);

// Successive lines through the points, each leaving out its end point.
void drawGdiPolyline(QImage& image, std::span<const Point> points, QRgb color);

}  // namespace tandemora
