#include "board/painting/board_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>

#include "board/painting/clock_text.h"
#include "board/painting/count_digits.h"
#include "board/painting/gdi_draw.h"

namespace tandemora {

namespace {

TextSize measure(const QFont& font, const std::string& text) {
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(QString::fromLatin1(text)), metrics.height()};
}

// Text with an opaque background exactly as large as the text's measured box.
void drawOpaqueText(QPainter& painter, Point at, const std::string& text, const QColor& color,
                    const QColor& background) {
    const QString qtext = QString::fromLatin1(text);
    const QFontMetrics metrics(painter.font());
    const QRect box(at.x, at.y, metrics.horizontalAdvance(qtext), metrics.height());
    painter.fillRect(box, background);
    painter.setPen(color);
    // Smoothed glyph edges beyond the box would darken with every repaint.
    painter.save();
    painter.setClipRect(box);
    painter.drawText(at.x, at.y + metrics.ascent(), qtext);
    painter.restore();
}

// Text with a one-pixel rim around its letters, so that it reads over a piece.
void drawRimmedText(QPainter& painter, QPoint baseline, const QString& text, const QColor& ink, const QColor& rim) {
    painter.setPen(rim);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0) painter.drawText(baseline + QPoint(dx, dy), text);
    painter.setPen(ink);
    painter.drawText(baseline, text);
}

void copyImage(QPainter& painter, Point at, const QImage& image) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(at.x, at.y, image);
}

PieceColour colourOf(char letter) { return isWhitePiece(letter) ? PieceColour::White : PieceColour::Black; }

// The last move's squares show through it.
const QColor kLastMoveTint(255, 221, 0, 110);

// On smaller squares a coordinate would hide more of the piece than it tells.
constexpr int kSmallestSquareWithCoordinates = 16;

}  // namespace

int pieceType(char letter) {
    const char upper = asciiUpper(letter);
    return upper == 'K' ? 5 : pieceIndex(upper);
}

void BoardPainter::layout(int width, int height, const BoardScene& scene, qreal pixelRatio) {
    layout_ = computeBoardLayout(width, height, measure(resources_.handleFont, scene.whiteName),
                                 measure(resources_.handleFont, scene.blackName),
                                 measure(resources_.clockFont, clockSample(scene.highPrecision)), scene.flipped);
    tiles_.rebuild(layout_, resources_, pixelRatio);

    const int s = layout_.squareSize;
    countFont_ = resources_.handleFont;
    // A large name font still leaves the piece most of its cell.
    if (QFontMetrics(countFont_).height() > s / 2) countFont_.setPixelSize(std::max(1, s / 2));
    coordinateFont_ = QFont(resources_.handleFont.family());
    coordinateFont_.setPixelSize(std::max(1, s * 2 / 7));
    coordinateFont_.setBold(true);
}

void BoardPainter::paintAll(QImage& image, const BoardScene& scene) const {
    {
        QPainter painter(&image);
        drawNames(painter, scene);
        drawClocks(painter, scene);
    }
    drawBuffer(image, scene);
    drawBoard(image, scene);
}

void BoardPainter::paintClocks(QImage& image, const BoardScene& scene) const {
    QPainter painter(&image);
    drawClocks(painter, scene);
}

void BoardPainter::drawNames(QPainter& painter, const BoardScene& scene) const {
    painter.setFont(resources_.handleFont);
    drawOpaqueText(painter, layout_.whiteNamePos, scene.whiteName, resources_.handleColor, scene.windowColor);
    drawOpaqueText(painter, layout_.blackNamePos, scene.blackName, resources_.handleColor, scene.windowColor);
}

void BoardPainter::drawClocks(QPainter& painter, const BoardScene& scene) const {
    const Board& position = *scene.position;
    const bool whiteToMove = position.sideToMove == 1;
    struct Clock {
        Point at;
        int ms;
    };
    const Clock white{layout_.whiteClockPos, position.whiteClockMs};
    const Clock black{layout_.blackClockPos, position.blackClockMs};
    const Clock& running = whiteToMove ? white : black;
    const Clock& stopped = whiteToMove ? black : white;
    painter.setFont(resources_.clockFont);
    drawOpaqueText(painter, running.at, clockText(running.ms, scene.highPrecision), resources_.clockOnColor,
                   resources_.clockOnBackgroundColor);
    drawOpaqueText(painter, stopped.at, clockText(stopped.ms, scene.highPrecision), resources_.clockOffColor,
                   scene.windowColor);
}

Point BoardPainter::cellPosition(int slot) const {
    const Point offset = layout_.cellOffset[slot];
    return {layout_.bufferLeft + offset.x, layout_.bufferTop + offset.y};
}

void BoardPainter::drawBuffer(QImage& image, const BoardScene& scene) const {
    const Board& position = *scene.position;
    {
        QPainter painter(&image);
        gdiRectangle(painter, layout_.bufferLeft, layout_.bufferTop, layout_.bufferRight + 1, layout_.bufferBottom + 1,
                     resources_.bufferOutlinePen, resources_.bufferFillBrush);
        // Each piece goes onto whatever the cell shows, the buffer fill.
        for (int slot = 0; slot < kReserveSlots; ++slot)
            if (position.holdings[slot] > 0)
                composePiece(painter, cellPosition(slot), slot % 5, slot < 5 ? PieceColour::White : PieceColour::Black);
    }
    for (int slot = 0; slot < kReserveSlots; ++slot)
        if (position.holdings[slot] > 0) drawCount(image, scene, cellPosition(slot), position.holdings[slot]);
}

void BoardPainter::drawBoard(QImage& image, const BoardScene& scene) const {
    const BoardLayout& l = layout_;
    const Point outline[] = {{l.boardLeft, l.boardTop}, {l.boardRight, l.boardTop}, {l.boardRight, l.boardBottom},
                             {l.boardLeft, l.boardBottom}, {l.boardLeft, l.boardTop}};
    drawGdiPolyline(image, outline, resources_.boardOutlinePen.color().rgb());

    QPainter painter(&image);
    const int s = l.squareSize;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int file = scene.flipped ? 7 - column : column;
            const int rank = scene.flipped ? row : 7 - row;
            composeSquare(painter, scene, {l.boardLeft + 1 + column * s, l.boardTop + 1 + row * s}, file, rank,
                          scene.position->at(file, rank));
        }
    }
}

void BoardPainter::composePiece(QPainter& painter, Point at, int type, PieceColour colour) const {
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(at.x, at.y, tiles_.mask(type));
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(at.x, at.y, tiles_.piece(type, colour));
}

void BoardPainter::composeSquare(QPainter& painter, const BoardScene& scene, Point at, int file, int rank,
                                 char piece) const {
    // a1 is dark.
    copyImage(painter, at, (file + rank) % 2 == 0 ? tiles_.darkSquare() : tiles_.lightSquare());
    const int square = squareIndex(file, rank);
    if (scene.markLastMove && (square == scene.position->lastFrom || square == scene.position->lastTo)) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.fillRect(at.x, at.y, layout_.squareSize, layout_.squareSize, kLastMoveTint);
    }
    const int type = pieceType(piece);
    if (type >= 0) composePiece(painter, at, type, colourOf(piece));
    if (scene.showCoordinates) drawCoordinates(painter, scene, at, file, rank);
}

// Ranks in the top-left corner of the left column, files in the bottom-right corner of the
// bottom row, as the player sees the board.
void BoardPainter::drawCoordinates(QPainter& painter, const BoardScene& scene, Point at, int file, int rank) const {
    const int s = layout_.squareSize;
    const bool bottomRow = rank == (scene.flipped ? 7 : 0), leftColumn = file == (scene.flipped ? 7 : 0);
    if ((!bottomRow && !leftColumn) || s < kSmallestSquareWithCoordinates) return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setClipRect(at.x, at.y, s, s);
    painter.setFont(coordinateFont_);
    // In the other squares' colour on a rim of its own square's.
    const bool dark = (file + rank) % 2 == 0;
    const QColor ink = (dark ? resources_.whiteSquareFillBrush : resources_.blackSquareFillBrush).color();
    const QColor rim = (dark ? resources_.blackSquareFillBrush : resources_.whiteSquareFillBrush).color();
    const QFontMetrics metrics(coordinateFont_);
    const int margin = std::max(2, s / 20);
    if (leftColumn) {
        const QString digit(QChar('1' + rank));
        drawRimmedText(painter, QPoint(at.x + margin, at.y + margin - metrics.tightBoundingRect(digit).top()), digit, ink,
                       rim);
    }
    if (bottomRow) {
        const QString letter(QChar('a' + file));
        const QRect box = metrics.tightBoundingRect(letter);
        drawRimmedText(painter, QPoint(at.x + s - margin - box.right() - 1, at.y + s - margin - box.bottom() - 1), letter,
                       ink, rim);
    }
    painter.restore();
}

void BoardPainter::drawCount(QImage& image, const BoardScene& scene, Point cell, int count) const {
    if (scene.largeCounts) {
        drawLargeCount(image, cell, count);
        return;
    }
    const QRgb color = resources_.pieceNumberPen.color().rgb();
    for (Stroke stroke : countStrokes(count, layout_.digitX, layout_.digitY)) {
        for (Point& p : stroke) p = {cell.x + p.x, cell.y + p.y};
        drawGdiPolyline(image, stroke, color);
    }
}

void BoardPainter::drawLargeCount(QImage& image, Point cell, int count) const {
    if (count <= 1) return;  // a single piece needs no number
    const int s = layout_.squareSize;
    const QString text = QString::number(count);
    QPainter painter(&image);
    painter.setClipRect(cell.x, cell.y, s, s);
    painter.setFont(countFont_);
    // The digits' own top two pixels below the cell's.
    const QPoint baseline(cell.x + 2, cell.y + 2 - QFontMetrics(countFont_).tightBoundingRect(text).top());
    drawRimmedText(painter, baseline, text, resources_.pieceNumberPen.color(), resources_.bufferFillBrush.color());
}

void BoardPainter::putPiece(QImage& image, Point at, int type, PieceColour colour) const {
    QPainter painter(&image);
    composePiece(painter, at, type, colour);
}

void BoardPainter::drawSquare(QImage& image, const BoardScene& scene, Point at, int file, int rank, char piece) const {
    QPainter painter(&image);
    composeSquare(painter, scene, at, file, rank, piece);
}

void BoardPainter::drawBufferCell(QImage& image, const BoardScene& scene, Point at, int type, PieceColour colour,
                                  int count) const {
    {
        QPainter painter(&image);
        copyImage(painter, at, tiles_.bufferCell());
        if (count > 0) composePiece(painter, at, type, colour);
    }
    drawCount(image, scene, at, count);
}

}  // namespace tandemora
