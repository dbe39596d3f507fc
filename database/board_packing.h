// A board's 64 squares packed into 32 bytes, as the position index stores them.
#pragma once

#include <array>
#include <cstdint>

#include "core/board.h"

namespace tandemora {

using PackedBoard = std::array<uint8_t, 32>;

// Each square a 4-bit code (P 1, R 2, N 3, B 4, Q 5, K 6, p 7, r 8, n 9, b 10, q 11, k 12,
// empty 0); byte 4r+k holds file 2k of rank r+1 in its high half and file 2k+1 in its low half.
PackedBoard packBoard(const Board& board);

}  // namespace tandemora
