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

// True when the piece standing on `from` attacks `target`: a pawn diagonally forward, a king
// next to it, the others by their own movement over empty squares.
bool pieceAttacks(const char squares[64], int from, int target);

// True when the first piece on the line from `target` through `opened` is a bishop, rook or
// queen of the colour `byWhite` that moves along that line; false when the squares share no line.
// After a move, these lines are the only new attacks on a square besides the moved pieces' own.
bool lineAttacksThrough(const char squares[64], int target, int opened, bool byWhite);

}  // namespace tandemora
