// One move of either board in a game's move tree, with both boards' positions after it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/board.h"

namespace tandemora {

struct GameNode {
    int moveNumber = 0;
    char moveText[20] = {};  // notation, "Analysis", or empty at the root
    char boardLetter = 0;    // 'A' white on board A, 'a' black on A, 'B' and 'b' for board B
    std::optional<std::string> annotation;
    std::optional<std::string> comment;
    int clockSeconds = 0;  // the mover's remaining time after the move; the base time at the root
    bool complete = false;
    Board positionA;
    std::optional<Board> positionB;  // bughouse only
    std::vector<std::unique_ptr<GameNode>> children;  // the first continues the main line
    GameNode* parent = nullptr;
    int lastWhiteA = 0;  // 1 when the last move on board A up to here was white's
    int lastWhiteB = 0;

    GameNode() = default;
    GameNode(const GameNode&) = delete;
    GameNode& operator=(const GameNode&) = delete;
    ~GameNode();

    // Nodes come from a free list: a game of a hundred moves would otherwise cost the
    // allocator more than replaying its moves.
    static void* operator new(size_t size);
    static void operator delete(void* node, size_t size) noexcept;

    bool onBoardB() const { return boardLetter == 'B' || boardLetter == 'b'; }
    bool whiteMoved() const { return boardLetter == 'A' || boardLetter == 'B'; }
    bool isFirstChild() const { return parent && parent->children.front().get() == this; }
    GameNode* firstChild() const { return children.empty() ? nullptr : children.front().get(); }
    // The position of the board that made this move.
    const Board& positionOfMover() const { return onBoardB() ? *positionB : positionA; }
};

// Appends the move's number as BPGN numbers it: "12A." for white on board A, "11b." for black
// on board B.
void appendMoveNumber(const GameNode& node, std::string& out);

}  // namespace tandemora
