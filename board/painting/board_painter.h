// Paints a board window into its back buffer: names, clocks, the buffer with its counts, and
// the board. Also lends the drag code the pieces of that work.
#pragma once

#include <QColor>
#include <QImage>
#include <string>

#include "board/painting/board_layout.h"
#include "board/painting/drawing_resources.h"
#include "board/painting/tile_set.h"
#include "core/board.h"

class QPainter;

namespace tandemora {

// What one paint shows besides the geometry.
struct BoardScene {
    const Board* position = nullptr;  // must be set before painting
    bool flipped = false;             // black at the bottom
    std::string whiteName = "WHITE";
    std::string blackName = "BLACK";
    bool highPrecision = false;  // clocks show tenths
    QColor windowColor;          // the background behind names and stopped clocks
    // What makes the board easier to read; all off gives the plain drawing.
    bool markLastMove = false;     // the squares of the position's last move tinted
    bool showCoordinates = false;  // files and ranks in the corners of the edge squares
    bool largeCounts = false;      // reserve counts as digits in the name font
};

// P 0, R 1, N 2, B 3, Q 4, K 5 in either case; -1 for a blank or anything else. The first five
// agree with the reserve order; the king comes last.
int pieceType(char letter);

class BoardPainter {
public:
    // The resources must outlive the painter; a new set takes effect at the next layout().
    explicit BoardPainter(const DrawingResources& resources) : resources_(resources) {}

    // Measures the names and the clock sample, lays the window out and draws the tiles again
    // at `pixelRatio` device pixels to a pixel of the layout: the ratio of the images painted.
    void layout(int width, int height, const BoardScene& scene, qreal pixelRatio = 1);

    // Names, clocks, buffer and board, in that order, without erasing anything else.
    void paintAll(QImage& image, const BoardScene& scene) const;

    // Both clocks; the running one (the side to move) first.
    void paintClocks(QImage& image, const BoardScene& scene) const;

    // In place: clears the piece's shape at `at` with its mask, then adds the piece.
    void putPiece(QImage& image, Point at, int type, PieceColour colour) const;

    // The square's tile at `at` with the piece on it (' ' for none), and the scene's marks.
    void drawSquare(QImage& image, const BoardScene& scene, Point at, int file, int rank, char piece) const;

    // A bare buffer cell at `at`, with the piece and its count on it when count > 0.
    void drawBufferCell(QImage& image, const BoardScene& scene, Point at, int type, PieceColour colour,
                        int count) const;

    const BoardLayout& layout() const { return layout_; }
    const TileSet& tiles() const { return tiles_; }
    TileSet& tiles() { return tiles_; }

private:
    void drawNames(QPainter& painter, const BoardScene& scene) const;
    void drawClocks(QPainter& painter, const BoardScene& scene) const;
    void drawBuffer(QImage& image, const BoardScene& scene) const;
    void drawBoard(QImage& image, const BoardScene& scene) const;
    void composePiece(QPainter& painter, Point at, int type, PieceColour colour) const;
    void composeSquare(QPainter& painter, const BoardScene& scene, Point at, int file, int rank, char piece) const;
    void drawCoordinates(QPainter& painter, const BoardScene& scene, Point at, int file, int rank) const;
    void drawCount(QImage& image, const BoardScene& scene, Point cell, int count) const;
    void drawLargeCount(QImage& image, Point cell, int count) const;
    Point cellPosition(int slot) const;

    const DrawingResources& resources_;
    BoardLayout layout_;
    TileSet tiles_;
    QFont countFont_, coordinateFont_;  // at the square size
};

}  // namespace tandemora
