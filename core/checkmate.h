// Whether a crazyhouse position is checkmate, as standard notation marks it with '#'.
#pragma once

#include "core/board.h"

namespace tandemora {

// True when the side to move stands in check and no move of its pieces, nor any drop from its
// reserve, gets its king out. `previousSquares` are the board's squares before its last move,
// for en passant. On a bughouse board a drop of a piece still to come from the partner may save
// the king, so this says nothing about bughouse mates.
bool isCheckmate(const Board& position, const char previousSquares[64]);

}  // namespace tandemora
