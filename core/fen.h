// A position as one line of text: FEN placement with promotion marks, reserves, side, castling.
#pragma once

#include <string>

#include "core/board.h"

namespace tandemora {

// "rnbqkbnr/.../RNBQKBNR[QPPn] w KQkq": '~' follows a promoted piece; the reserves list
// White's pieces then Black's, each in the order Q R B N P.
std::string toFen(const Board& board);

}  // namespace tandemora
