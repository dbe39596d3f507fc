#include "board/painting/board_layout.h"

#include <algorithm>

namespace tandemora {

namespace {

// Integer division rounded towards minus infinity; divisor > 0.
int floorDiv(int value, int divisor) {
    int quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

// Cell (column, row) of each reserve type P R N B Q in a colour's block: pawn and rook in the
// first row, knight and queen in the second, bishop alone in the third.
constexpr Point kCellGrid[5] = {{0, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 1}};

// The block of the colour shown at the top starts at row 0, the bottom one at row 5.
void placeCells(BoardLayout& layout, int firstSlot, int firstRow) {
    const int s = layout.squareSize;
    for (int type = 0; type < 5; ++type)
        layout.cellOffset[firstSlot + type] = {kCellGrid[type].x * s + 1, (kCellGrid[type].y + firstRow) * s + 1};
}

}  // namespace

BoardLayout computeBoardLayout(int width, int height, TextSize whiteName, TextSize blackName,
                               TextSize clockSample, bool flipped) {
    BoardLayout layout;
    const int textHeight = std::max({whiteName.height, blackName.height, clockSample.height});

    // Eight board squares and two buffer columns across; the board and two text lines down.
    int s = (width - 4) / 10;
    const int heightForBoard = height - 29 - 2 * textHeight;
    if (8 * s > heightForBoard) s = floorDiv(heightForBoard, 8);
    s = std::max(s, 1);
    layout.squareSize = s;
    layout.doubleSize = 2 * s;

    layout.boardLeft = 0;
    layout.boardTop = textHeight + 2;
    layout.boardRight = 8 * s + 1;
    layout.boardBottom = layout.boardTop + 8 * s + 1;

    layout.bufferLeft = layout.boardRight + 1;
    layout.bufferTop = layout.boardTop;
    layout.bufferRight = layout.boardRight + 2 * s + 2;
    layout.bufferBottom = layout.boardBottom;

    const int whiteSlot = 0, blackSlot = 5;
    placeCells(layout, flipped ? whiteSlot : blackSlot, 0);
    placeCells(layout, flipped ? blackSlot : whiteSlot, 5);

    const TextSize bottomName = flipped ? blackName : whiteName;
    const TextSize topName = flipped ? whiteName : blackName;
    const int middle = layout.boardLeft + layout.boardRight;
    const Point bottomNamePos{floorDiv(middle - bottomName.width, 2), layout.boardBottom + 2};
    const Point topNamePos{floorDiv(middle - topName.width, 2), layout.boardTop - topName.height - 2};
    const int clockX = layout.boardRight - clockSample.width;
    const Point bottomClockPos{clockX, layout.boardBottom + 2};
    const Point topClockPos{clockX, layout.boardTop - clockSample.height - 2};
    layout.whiteNamePos = flipped ? topNamePos : bottomNamePos;
    layout.blackNamePos = flipped ? bottomNamePos : topNamePos;
    layout.whiteClockPos = flipped ? topClockPos : bottomClockPos;
    layout.blackClockPos = flipped ? bottomClockPos : topClockPos;

    for (int type = 0; type < kPieceTypes; ++type) layout.outlines.polygons[type] = pieceOutline(type, s);
    layout.outlines.squareSize = s;

    // The digit grid comes from the points (2, 1), (4, 5), (6, 9) of the 48-unit grid.
    constexpr Point kDigitGrid[3] = {{2, 1}, {4, 5}, {6, 9}};
    for (int i = 0; i < 3; ++i) {
        layout.digitX[i] = kDigitGrid[i].x * s / 48 + 1;
        layout.digitY[i] = kDigitGrid[i].y * s / 48;
    }
    return layout;
}

}  // namespace tandemora
