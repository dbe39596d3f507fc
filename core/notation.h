// Short algebraic notation with drops: reading a move against a position, and writing one.
#pragma once

#include <string>
#include <string_view>

#include "core/board.h"

namespace tandemora {

// Reads a normalised move text ("Nf3", "exd6", "e8=Q", "N@f3", "O-O") into `move`; a promotion
// may also be written without '=' ("e8Q").
bool parseMove(const Board& board, std::string_view text, bool whiteMoves, Move& move);

// The pawn half of parseMove: the text starts with a file letter.
bool findPawnOrigin(const Board& board, std::string_view text, bool whiteMoves, Move& move);

// The square index of the first piece (a1, a2, ..., h8 order) that passes the disambiguation
// filter, reaches the destination and does not leave its own king attacked; -1 for none.
// When only one piece fits, it is returned without the king test, which making the move does.
int findPieceOrigin(const Board& board, int toFile, int toRank, std::string_view disambiguation,
                    char piece, bool whiteMoves);

// Which other pieces of its kind a written move is told apart from: every one that reaches the
// destination (the program's own notation), or only those that may legally go there, a piece
// pinned against its king not counting (standard algebraic notation, as other programs read it).
enum class Disambiguation { kReaching, kLegal };

// The notation of a move on the position before it. `promotion` is a piece letter or
// kNoPromotion; `captured` is the captured letter or a blank. Unknown pieces give "?".
std::string formatMove(const Board& before, char piece, int fromFile, int fromRank, int toFile,
                       int toRank, uint8_t promotion, char captured,
                       Disambiguation disambiguation = Disambiguation::kReaching);

}  // namespace tandemora
