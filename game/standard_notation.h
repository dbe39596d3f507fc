// A move of the tree in standard algebraic notation, as other chess programs read it.
#pragma once

#include <string>

#include "game/game_node.h"

namespace tandemora {

// The node's move on the position before it: a piece told apart only from the pieces of its kind
// that may legally make the same move, '+' after a check and, when `marksMate`, '#' after a
// checkmate (a crazyhouse test). A text that is no move ("Analysis") stays as it is.
std::string standardMoveText(const GameNode& node, bool marksMate);

}  // namespace tandemora
