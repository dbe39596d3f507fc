#include "game/standard_notation.h"

#include "core/attacks.h"
#include "core/checkmate.h"
#include "core/notation.h"

namespace tandemora {

std::string standardMoveText(const GameNode& node, bool marksMate) {
    if (!node.parent) return node.moveText;
    const Board& before = node.onBoardB() ? *node.parent->positionB : node.parent->positionA;
    const Board& after = node.positionOfMover();
    const bool white = node.whiteMoved();
    Move move;
    if (!parseMove(before, node.moveText, white, move)) return node.moveText;
    const char captured = move.isDrop() ? ' ' : before.at(move.toFile, move.toRank);
    std::string text = formatMove(before, move.piece, move.fromFile, move.fromRank, move.toFile, move.toRank,
                                  move.promotion, captured, Disambiguation::kLegal);
    if (kingInCheck(after.squares, !white)) text += marksMate && isCheckmate(after, before.squares) ? '#' : '+';
    return text;
}

}  // namespace tandemora
