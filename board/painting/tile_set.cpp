#include "board/painting/tile_set.h"

#include <QPainter>
#include <algorithm>

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

void TileSet::rebuild(const BoardLayout& layout, const DrawingResources& r, qreal pixelRatio) {
    const int s = layout.squareSize;
    squareSize_ = s;
    // The tiles are drawn as for a square of the device's pixels.
    const int side = std::max(1, qRound(s * pixelRatio));
    lightSquare_ = squareTile(side, r.whiteSquareOutlinePen, r.whiteSquareFillBrush);
    darkSquare_ = squareTile(side, r.blackSquareOutlinePen, r.blackSquareFillBrush);
    // The buffer cell has no outline of its own: its edge is the fill colour.
    bufferCell_ = squareTile(side, thinPen(r.bufferFillBrush.color()), r.bufferFillBrush);

    const QPen piecePens[2] = {r.whitePieceOutlinePen, r.blackPieceOutlinePen};
    const QBrush pieceBrushes[2] = {r.whitePieceFillBrush, r.blackPieceFillBrush};
    for (int type = 0; type < kPieceTypes; ++type) {
        const std::vector<Point> outline = side == s ? layout.outlines.polygons[type] : pieceOutline(type, side);
        for (int colour = 0; colour < 2; ++colour)
            pieces_[colour][type] = shapeTile(side, r.blackPen, r.blackBrush, outline, piecePens[colour], pieceBrushes[colour]);
        masks_[type] = shapeTile(side, r.whitePen, r.whiteBrush, outline, r.blackPen, r.blackBrush);
    }

    for (QImage& image : work_) image = QImage(side, side, QImage::Format_RGB32);
    doubleWork_ = QImage(2 * side, 2 * side, QImage::Format_RGB32);

    for (QImage* image : {&lightSquare_, &darkSquare_, &bufferCell_, &doubleWork_}) image->setDevicePixelRatio(pixelRatio);
    for (QImage& image : work_) image.setDevicePixelRatio(pixelRatio);
    for (QImage& image : masks_) image.setDevicePixelRatio(pixelRatio);
    for (auto& colour : pieces_)
        for (QImage& image : colour) image.setDevicePixelRatio(pixelRatio);
}

QImage TileSet::blankTile() const {
    QImage tile(lightSquare_.size(), QImage::Format_RGB32);
    tile.setDevicePixelRatio(lightSquare_.devicePixelRatio());
    return tile;
}

}  // namespace tandemora
