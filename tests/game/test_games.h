// Helpers for the game model's tests: games on window-less boards, read and written as text.
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "core/fen.h"
#include "game/game.h"
#include "game/silent_board.h"

namespace tandemora_test {

using namespace tandemora;

inline SilentBoardFactory& boards() {
    static SilentBoardFactory factory;
    return factory;
}

inline std::unique_ptr<CGame> newGame(Variant variant) {
    auto game = std::make_unique<CGame>();
    if (variant == kBughouse) game->createBughouseBoards(boards());
    else game->createCrazyhouseBoards(boards());
    return game;
}

// The window-less board behind one of a game's boards.
inline SilentBoard& silent(const std::unique_ptr<BoardWindow>& board) { return static_cast<SilentBoard&>(*board); }

// Plays "A:e4 a:e5 B:d4 b:d5", the letter naming board and colour; false at the first refused move.
inline bool play(CGame& game, const std::string& moves) {
    std::istringstream in(moves);
    for (std::string token; in >> token;) {
        const bool onA = token[0] == 'A' || token[0] == 'a';
        BoardWindow& board = onA ? *game.boardA : *game.boardB;
        if (!board.rules().makeMoveFromText(token.substr(2), token[0] == 'A' || token[0] == 'B', false))
            return false;
    }
    return true;
}

// One game as BPGN text: its Event tag, the move list and the closing line.
inline std::string gameText(const std::string& moves, const std::string& event = "Crazyhouse game",
                            const std::string& closing = "{*} *") {
    return "[Event \"" + event + "\"]\n\n" + moves + "\n\n" + closing + "\n";
}

// The first game of a text, or null when it does not read.
inline std::unique_ptr<CGame> readOne(const std::string& text) {
    std::istringstream in(text);
    auto game = std::make_unique<CGame>();
    return game->readGame(in) ? std::move(game) : nullptr;
}

// The first game of a text, read and opened on window-less boards; null when either fails.
inline std::unique_ptr<CGame> openOne(const std::string& text) {
    auto game = readOne(text);
    return game && game->showGame(boards()) ? std::move(game) : nullptr;
}

inline std::string written(CGame& game) {
    std::ostringstream out;
    game.storeGameToStream(out);
    return out.str();
}

// "1A.e4 1a.e5 ...": the main line from the root.
inline std::string mainLine(const CGame& game) {
    std::string s;
    for (const GameNode* n = game.root->firstChild(); n; n = n->firstChild()) {
        if (!s.empty()) s += ' ';
        s += std::to_string(n->moveNumber) + n->boardLetter + '.' + n->moveText;
    }
    return s;
}

// Both clocks of board A, then of board B, in milliseconds: "175000/180000 180000/180000".
inline std::string clocksOf(const GameNode& node) {
    auto pair = [](const Board& b) { return std::to_string(b.whiteClockMs) + '/' + std::to_string(b.blackClockMs); };
    return pair(node.positionA) + (node.positionB ? ' ' + pair(*node.positionB) : "");
}

// How much of each node describeTree writes: moves with their clock, annotation and comment;
// or also both boards' clocks and positions.
enum class TreeDetail { kMoves, kEverything };

inline void describeLine(const GameNode* node, TreeDetail detail, std::string& out) {
    for (; node; node = node->firstChild()) {
        out += std::to_string(node->moveNumber) + node->boardLetter + ' ' + node->moveText + " {" +
               std::to_string(node->clockSeconds) + "}";
        if (detail == TreeDetail::kEverything) {
            out += " [" + clocksOf(*node) + "] " + toFen(node->positionA);
            if (node->positionB) out += " | " + toFen(*node->positionB);
        }
        if (node->annotation) out += " A:" + *node->annotation;
        if (node->comment) out += " C:" + *node->comment;
        out += '\n';
        if (!node->isFirstChild()) continue;
        for (size_t i = 1; i < node->parent->children.size(); ++i) {
            out += "(\n";
            describeLine(node->parent->children[i].get(), detail, out);
            out += ")\n";
        }
    }
}

// A game's move tree as text, one move a line, variations in brackets, for comparing trees.
inline std::string describeTree(const CGame& game, TreeDetail detail) {
    std::string out = detail == TreeDetail::kEverything ? "root [" + clocksOf(*game.root) + "]\n" : "";
    if (game.root->comment) out += "C:" + *game.root->comment + '\n';
    describeLine(game.root->firstChild(), detail, out);
    return out;
}

}  // namespace tandemora_test
