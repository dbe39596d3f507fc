// The piece shapes: one closed polygon per type on a 48 x 48 grid, scaled to a square.
#pragma once

#include <vector>

#include "board/painting/point.h"

namespace tandemora {

constexpr int kPieceTypes = 6;  // P R N B Q K

// The outline of type 0..5 (P R N B Q K) for squares of side squareSize: each point becomes
// (x * s / 48, y * s / 48), truncated.
std::vector<Point> pieceOutline(int type, int squareSize);

}  // namespace tandemora
