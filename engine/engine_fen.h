// A board's position as the engine reads it.
#pragma once

#include <string>

#include "core/board.h"

namespace tandemora {

// The square (file * 8 + rank) a pawn skipped with this board's last move, where it may be
// taken en passant; -1 when the last move was no pawn's two-step.
int enPassantSquare(const Board& board);

// "rnbqkb1r/pppp1ppp/5n2/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R[Qn] w KQkq - 0 3": the placement with
// '~' after a promoted piece, the pocket (White's Q R B N P, then Black's), the side to move,
// the castling rights whose king and rook still stand at home, the en passant square, and the
// move counters. Fifty-move counting means nothing where pieces come back by drops: it is 0.
std::string engineFen(const Board& board, int fullMoveNumber = 1);

}  // namespace tandemora
