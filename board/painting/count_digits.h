// The strokes that write a reserve count on a buffer cell.
#pragma once

#include <array>
#include <vector>

#include "board/painting/point.h"

namespace tandemora {

using Stroke = std::vector<Point>;

// The polylines, in cell coordinates on the given 3 x 3 grid, that write `count`: nothing for
// 0 and 1 (a single piece needs no number), a tens stroke for 10 and more followed by the
// units digit, and the tens stroke alone from 20 up.
std::vector<Stroke> countStrokes(int count, const std::array<int, 3>& gridX, const std::array<int, 3>& gridY);

}  // namespace tandemora
