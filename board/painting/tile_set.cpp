#include "board/painting/tile_set.h"

#include <QPainter>

#include "board/painting/gdi_draw.h"

namespace tandemora {

namespace {

// A tile filled by one rectangle over its whole area.
QImage squareTile(int s, const QPen& pen, const QBrush& brush) {
    QImage tile(s, s, QImage::Format_RGB32);
    QPainter painter(&tile);
    gdiRectangle(painter, 0, 0, s, s, pen, brush);
    return tile;
}

// A piece outline over a plain background.
QImage shapeTile(int s, const QPen& backgroundPen, const QBrush& backgroundBrush,
                 const std::vector<Point>& outline, const QPen& pen, const QBrush& brush) {
    QImage tile(s, s, QImage::Format_RGB32);
    QPainter painter(&tile);
    gdiRectangle(painter, 0, 0, s, s, backgroundPen, backgroundBrush);
    gdiPolygon(painter, outline, pen, brush);
    return tile;
}

}  // namespace

void TileSet::rebuild(const BoardLayout& layout, const DrawingResources& r) {
    const int s = layout.squareSize;
    squareSize_ = s;
    lightSquare_ = squareTile(s, r.whiteSquareOutlinePen, r.whiteSquareFillBrush);
    darkSquare_ = squareTile(s, r.blackSquareOutlinePen, r.blackSquareFillBrush);
    // The buffer cell has no outline of its own: its edge is the fill colour.
    bufferCell_ = squareTile(s, thinPen(r.bufferFillBrush.color()), r.bufferFillBrush);

    const QPen piecePens[2] = {r.whitePieceOutlinePen, r.blackPieceOutlinePen};
    const QBrush pieceBrushes[2] = {r.whitePieceFillBrush, r.blackPieceFillBrush};
    for (int type = 0; type < kPieceTypes; ++type) {
        const std::vector<Point>& outline = layout.outlines.polygons[type];
        for (int colour = 0; colour < 2; ++colour)
            pieces_[colour][type] = shapeTile(s, r.blackPen, r.blackBrush, outline, piecePens[colour], pieceBrushes[colour]);
        masks_[type] = shapeTile(s, r.whitePen, r.whiteBrush, outline, r.blackPen, r.blackBrush);
    }

    for (QImage& image : work_) image = QImage(s, s, QImage::Format_RGB32);
    doubleWork_ = QImage(2 * s, 2 * s, QImage::Format_RGB32);
}

}  // namespace tandemora
