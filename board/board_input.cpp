// Moves made with the mouse: a piece picked up from a square or a reserve cell, its image
// dragged over the window without repainting the board, and dropped or put back.
#include <QPainter>

#include "board/board_canvas.h"
#include "board/board_frame.h"
#include "core/board.h"

namespace tandemora {

namespace {

// Copies `source` (all of it, or `part`) into `target` at `at`, pixels as they are; both are in
// the window's pixels, whatever the images' pixel ratio.
void copyBlock(QImage& target, QPoint at, const QImage& source, const QRect& part = QRect()) {
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (part.isNull()) {
        painter.drawImage(at, source);
        return;
    }
    const qreal ratio = source.devicePixelRatio();
    painter.drawImage(QRectF(at, part.size()), source,
                      QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio));
}

bool isWhite(char piece) { return piece >= 'A' && piece <= 'Z'; }

// Whether the point lies in the rectangle, its right and bottom edges included.
bool inside(QPoint point, int left, int top, int right, int bottom) {
    return point.x() >= left && point.x() <= right && point.y() >= top && point.y() <= bottom;
}

constexpr char kReserveLetters[] = "PRNBQ";

}  // namespace

QPoint CBoardFrame::screenCell(int file, int rank) const {
    return flipped ? QPoint(7 - file, rank) : QPoint(file, 7 - rank);
}

bool CBoardFrame::squareAt(QPoint point, int& file, int& rank) const {
    const BoardLayout& l = painter_.layout();
    if (!inside(point, l.boardLeft, l.boardTop, l.boardRight, l.boardBottom)) return false;
    const int column = (point.x() - l.boardLeft) / l.squareSize;
    const int row = (point.y() - l.boardTop) / l.squareSize;
    // The outline's last pixel lies beyond the eighth square.
    if (column > 7 || row > 7) return false;
    file = flipped ? 7 - column : column;
    rank = flipped ? row : 7 - row;
    return true;
}

void CBoardFrame::pressAt(QPoint point) {
    if (inHand_ || backBuffer_.isNull()) return;
    const BoardLayout& l = painter_.layout();
    const bool onBoard = inside(point, l.boardLeft, l.boardTop, l.boardRight, l.boardBottom);
    const bool onBuffer = inside(point, l.bufferLeft, l.bufferTop, l.bufferRight, l.bufferBottom);
    if (!onBoard && !onBuffer) return;
    canvas_->grabMouse();
    int file = 0, rank = 0;
    const bool picked = onBoard ? squareAt(point, file, rank) && pickUpFromBoard(point, file, rank)
                                : pickUpFromBuffer(point);
    if (!picked) canvas_->releaseMouse();
}

bool CBoardFrame::pickUpFromBoard(QPoint point, int file, int rank) {
    const char piece = position().at(file, rank);
    if (piece == ' ' || isWhite(piece) != (position().sideToMove != 0)) return false;
    const BoardLayout& l = painter_.layout();
    const QPoint cell = screenCell(file, rank);
    savedBackground_ = painter_.tiles().blankTile();
    painter_.drawSquare(savedBackground_, scene(), Point{0, 0}, file, rank, ' ');
    inHand_ = true;
    fromBoard_ = true;
    piece_ = piece;
    typeIndex_ = pieceType(piece);
    colour_ = isWhite(piece) ? PieceColour::White : PieceColour::Black;
    sourceA_ = file;
    sourceB_ = rank;
    sourcePixel_ = lastDrawn_ = QPoint(l.boardLeft + 1 + cell.x() * l.squareSize, l.boardTop + 1 + cell.y() * l.squareSize);
    grabOffset_ = point - sourcePixel_;
    return true;
}

bool CBoardFrame::pickUpFromBuffer(QPoint point) {
    const BoardLayout& l = painter_.layout();
    for (int slot = 0; slot < 10; ++slot) {
        const int count = position().holdings[slot];
        if (count <= 0) continue;
        const QPoint cell(l.bufferLeft + l.cellOffset[slot].x, l.bufferTop + l.cellOffset[slot].y);
        if (!inside(point, cell.x(), cell.y(), cell.x() + l.squareSize, cell.y() + l.squareSize)) continue;
        const int colour = slot / 5;  // white's five cells come first
        if ((colour == 0) != (position().sideToMove != 0)) return false;
        const int type = slot % 5;
        savedBackground_ = painter_.tiles().blankTile();
        painter_.drawBufferCell(savedBackground_, scene(), Point{0, 0}, type, static_cast<PieceColour>(colour), count - 1);
        inHand_ = true;
        fromBoard_ = false;
        piece_ = colour == 0 ? kReserveLetters[type] : static_cast<char>(kReserveLetters[type] + ('a' - 'A'));
        typeIndex_ = type;
        colour_ = static_cast<PieceColour>(colour);
        sourceA_ = type;
        sourceB_ = colour;
        sourcePixel_ = lastDrawn_ = cell;
        grabOffset_ = point - sourcePixel_;
        return true;
    }
    return false;
}

void CBoardFrame::dragTo(QPoint point) {
    if (!inHand_) return;
    const int s = painter_.layout().squareSize;
    const QPoint next = point - grabOffset_;
    const QPoint old = lastDrawn_;
    TileSet& tiles = painter_.tiles();
    QRect changed;
    if (std::abs(next.x() - old.x()) <= s && std::abs(next.y() - old.y()) <= s) {
        // The two places overlap or touch: compose the step in one 2s x 2s block.
        const QPoint corner(std::min(old.x(), next.x()), std::min(old.y(), next.y()));
        QImage& block = tiles.doubleWorkImage();
        const QSize blockSize(2 * s, 2 * s);
        copyBlock(block, QPoint(0, 0), backBuffer_, QRect(corner, blockSize));
        copyBlock(block, old - corner, savedBackground_);
        copyBlock(savedBackground_, QPoint(0, 0), block, QRect(next - corner, QSize(s, s)));
        painter_.putPiece(block, Point{next.x() - corner.x(), next.y() - corner.y()}, typeIndex_, colour_);
        copyBlock(backBuffer_, corner, block);
        changed = QRect(corner, blockSize);
    } else {
        copyBlock(backBuffer_, old, savedBackground_);
        copyBlock(savedBackground_, QPoint(0, 0), backBuffer_, QRect(next, QSize(s, s)));
        QImage& work = tiles.workImage(0);
        copyBlock(work, QPoint(0, 0), savedBackground_);
        painter_.putPiece(work, Point{0, 0}, typeIndex_, colour_);
        copyBlock(backBuffer_, next, work);
        changed = QRect(old, QSize(s, s)).united(QRect(next, QSize(s, s)));
    }
    lastDrawn_ = next;
    showBackBuffer(changed);
}

void CBoardFrame::releaseAt(QPoint point) {
    if (!inHand_) return;
    canvas_->releaseMouse();
    int file = 0, rank = 0;
    if (squareAt(point, file, rank)) {
        const bool pawnToLastRank = (piece_ == 'P' && rank == 7) || (piece_ == 'p' && rank == 0);
        const int fromFile = fromBoard_ ? sourceA_ : -1;
        const int fromRank = fromBoard_ ? sourceB_ : -1;
        copyBlock(backBuffer_, lastDrawn_, savedBackground_);
        // Until the rules have decided, the piece stays in hand: replay waits.
        rules().makeMove(fromFile, fromRank, file, rank, piece_, position().sideToMove != 0, kNoPromotion,
                         pawnToLastRank ? 1 : 0);
        inHand_ = false;
        repaint();
        repaintClocks();
    } else {
        putBack();
    }
}

void CBoardFrame::putBack() {
    const int s = painter_.layout().squareSize;
    copyBlock(backBuffer_, lastDrawn_, savedBackground_);
    const Point at{sourcePixel_.x(), sourcePixel_.y()};
    if (fromBoard_) painter_.drawSquare(backBuffer_, scene(), at, sourceA_, sourceB_, piece_);
    else
        painter_.drawBufferCell(backBuffer_, scene(), at, sourceA_, static_cast<PieceColour>(sourceB_),
                                position().holdings[sourceB_ * 5 + sourceA_]);
    inHand_ = false;
    showBackBuffer(QRect(lastDrawn_, QSize(s, s)).united(QRect(sourcePixel_, QSize(s, s))));
}

}  // namespace tandemora
