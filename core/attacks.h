// Square attacks and piece movement over a bare array of 64 squares.
#pragma once

namespace tandemora {

// True when a piece of the colour opposite to `colour` (0 white, 1 black) attacks the square.
bool isSquareAttacked(const char squares[64], int colour, int file, int rank);

// The square index of the first `king` letter in a1, a2, ..., h8 order, or -1.
int findKing(const char squares[64], char king);

// True when the mover's king (`whiteKing` chooses 'K' or 'k') stands attacked; false without one.
bool kingInCheck(const char squares[64], bool whiteKing);

// True when a knight, bishop, rook or queen (either case) on the origin reaches the
// destination by its own movement over empty squares; false for other letters.
bool pieceReaches(const char squares[64], char piece, int fromFile, int fromRank, int toFile, int toRank);

}  // namespace tandemora
