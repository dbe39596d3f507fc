// The square-sized images a board is painted from, drawn once per square size: both squares,
// the bare buffer cell, every piece in both colours with its mask, and the work images the
// dragging of a piece composes in.
#pragma once

#include <QImage>
#include <array>

#include "board/painting/board_layout.h"
#include "board/painting/drawing_resources.h"

namespace tandemora {

// Colours index the reserve counts: white's five come first.
enum class PieceColour { White = 0, Black = 1 };

class TileSet {
public:
    static constexpr int kWorkImages = 3;

    // Draws every tile again for the layout's square size and outlines, at `pixelRatio` device
    // pixels to a layout pixel; at ratios other than 1 the outlines are scaled from their grid
    // to the device's square.
    void rebuild(const BoardLayout& layout, const DrawingResources& resources, qreal pixelRatio = 1);

    int squareSize() const { return squareSize_; }
    const QImage& lightSquare() const { return lightSquare_; }
    const QImage& darkSquare() const { return darkSquare_; }
    const QImage& bufferCell() const { return bufferCell_; }
    // The piece drawn on black, for combining by "or" after its mask.
    const QImage& piece(int type, PieceColour colour) const { return pieces_[static_cast<int>(colour)][type]; }
    // Black where the piece is, white elsewhere, for combining by "and".
    const QImage& mask(int type) const { return masks_[type]; }

    // Scratch images for the drag code: three of s x s and one of 2s x 2s.
    QImage& workImage(int index) { return work_[index]; }
    QImage& doubleWorkImage() { return doubleWork_; }
    // A new s x s image at the tiles' pixel ratio, its pixels not yet drawn.
    QImage blankTile() const;

private:
    int squareSize_ = 0;
    QImage lightSquare_, darkSquare_, bufferCell_;
    std::array<std::array<QImage, kPieceTypes>, 2> pieces_;
    std::array<QImage, kPieceTypes> masks_;
    std::array<QImage, kWorkImages> work_;
    QImage doubleWork_;
};

}  // namespace tandemora
