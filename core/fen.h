// A position as one line of text: FEN placement with promotion marks, reserves, side, castling.
#pragma once

#include <string>

#include "core/board.h"

namespace tandemora {

// "rnbqkbnr/.../RNBQKBNR[QPPn] w KQkq": '~' follows a promoted piece; the reserves list
// White's pieces then Black's, each in the order Q R B N P.
std::string toFen(const Board& board);

// Reads that text back into `board` (clocks 0, no last move); the reserves, the side and the
// castling rights may be left out. False, with `board` unchanged, for text of another form.
bool parseFen(const std::string& text, Board& board);

}  // namespace tandemora
