// Where everything of a board window goes: board, buffer, buffer cells, names, clocks, and
// the piece outlines and count digits at the square size that fits the window.
#pragma once

#include <array>
#include <vector>

#include "board/painting/piece_outlines.h"
#include "board/painting/point.h"

namespace tandemora {

struct TextSize {
    int width = 0;
    int height = 0;
};

struct ScaledOutlines {
    std::array<std::vector<Point>, kPieceTypes> polygons;  // P R N B Q K
    int squareSize = 0;                                     // the s they were scaled for
};

struct BoardLayout {
    int squareSize = 0;
    int doubleSize = 0;  // side of the drag work image
    int boardLeft = 0, boardTop = 0, boardRight = 0, boardBottom = 0;
    int bufferLeft = 0, bufferTop = 0, bufferRight = 0, bufferBottom = 0;
    // Relative to (bufferLeft, bufferTop), indexed like the reserve counts: white P R N B Q,
    // then black P R N B Q.
    std::array<Point, 10> cellOffset{};
    // The 3 x 3 grid of the count digits, relative to a cell.
    std::array<int, 3> digitX{};
    std::array<int, 3> digitY{};
    Point whiteNamePos, blackNamePos;    // top-left of the text
    Point whiteClockPos, blackClockPos;  // top-left of the text
    ScaledOutlines outlines;
};

// The layout for a client area of width x height, given the measured names (handle font) and
// clock sample (clock font). The square size is at least 1, so tiny windows stay drawable.
BoardLayout computeBoardLayout(int width, int height, TextSize whiteName, TextSize blackName,
                               TextSize clockSample, bool flipped);

}  // namespace tandemora
