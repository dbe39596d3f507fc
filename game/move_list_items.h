// A game's move tree as a move list shows it: the moves of both boards in the order played, each
// followed by its comment, and after a main-line move the alternatives to it, each in brackets and
// nested as deep as they go; the order BPGN writes them in.
#pragma once

#include <string>
#include <vector>

#include "game/game_node.h"

namespace tandemora {

struct MoveListItem {
    enum class Kind { kMove, kComment, kVariationStart, kVariationEnd };
    Kind kind;
    // The move; for a comment the move it belongs to (the root for the start position's); for a
    // bracket the first move of its variation.
    GameNode* node;
    int depth;  // how many brackets are open around the item, counting its own
};

std::vector<MoveListItem> moveListItems(GameNode& root);

// "2:55": a clock's seconds as minutes and seconds.
std::string clockText(int seconds);

}  // namespace tandemora
