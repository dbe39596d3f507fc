// Move and clock dialects of foreign records: pawn captures without their file, disambiguation
// by rank or by the whole origin, and clocks given as seconds since the start of the game.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "game/importer.h"
#include "test_games.h"

using namespace tandemora_test;

namespace {

// The main line of the first game of `text` as "1A. exd5 {58} {C:text}", or "skipped: " and the reason.
std::string importedMoves(const std::string& text) {
    std::istringstream in(text);
    GameImporter importer(in);
    ImportedGame result;
    if (!importer.next(result)) return "no game";
    if (!result.game) return "skipped: " + result.skipReason;
    // An imported game holds its moves as text, as a read one does, until it is replayed.
    auto game = readOne(written(*result.game));
    if (!game || !game->replayGame()) return "does not read back";
    std::string moves;
    for (const GameNode* n = game->root->firstChild(); n; n = n->firstChild()) {
        if (!moves.empty()) moves += ' ';
        moves += std::to_string(n->moveNumber) + n->boardLetter + ". " + n->moveText + " {" +
                 std::to_string(n->clockSeconds) + '}';
        if (n->comment) moves += " {C:" + *n->comment + '}';
    }
    return moves;
}

TEST(ImportDialects, MovesAndTimestamps) {
    const struct {
        const char* feature;
        const char* tags;
        const char* moves;
        const char* expected;
    } cases[] = {
        {"a pawn capture without its file", "[Event \"crazyhouse\"]", "1. e4 d5 2. xd5 Nf6",
         "1A. e4 {180} 1a. d5 {180} 2A. exd5 {180} 2a. Nf6 {180}"},
        {"... en passant", "[Event \"crazyhouse\"]", "1. e4 Nf6 2. e5 d5 3. xd6",
         "1A. e4 {180} 1a. Nf6 {180} 2A. e5 {180} 2a. d5 {180} 3A. exd6 {180}"},
        {"... where the other pawn is pinned", "[Event \"crazyhouse\"]", "1. e4 d5 2. c4 e5 3. f4 exf4 4. Ke2 Qe7 5. xd5",
         "1A. e4 {180} 1a. d5 {180} 2A. c4 {180} 2a. e5 {180} 3A. f4 {180} 3a. exf4 {180} 4A. Ke2 {180} "
         "4a. Qe7 {180} 5A. cxd5 {180}"},
        {"... promoting", "[Event \"crazyhouse\"]",
         "1. e4 d5 2. exd5 Qxd5 3. Nc3 Qd8 4. d4 e5 5. P@e7 a6 6. xd8=Q+ Kxd8",
         "1A. e4 {180} 1a. d5 {180} 2A. exd5 {180} 2a. Qxd5 {180} 3A. Nc3 {180} 3a. Qd8 {180} 4A. d4 {180} "
         "4a. e5 {180} 5A. P@e7 {180} 5a. a6 {180} 6A. exd8=Q+ {180} 6a. Kxd8 {180}"},
        {"... on board B", "[Event \"bughouse\"]", "1A. e4 1B. d4 1b. e5 2B. Nf3 2b. xd4",
         "1A. e4 {180} 1B. d4 {180} 1b. e5 {180} 2B. Nf3 {180} 2b. exd4 {180}"},
        {"... that two pawns can make", "[Event \"crazyhouse\"]", "1. e4 d5 2. c4 Nf6 3. xd5",
         "skipped: ambiguous move 3. xd5"},
        {"... that no pawn can make", "[Event \"crazyhouse\"]", "1. e4 e5 2. xd5", "skipped: illegal move 2. xd5"},
        {"disambiguation by rank and by the whole origin", "[Event \"crazyhouse\"]",
         "1. Nc3 Nf6 2. Nb5 Nd5 3. Nd4 Nb4 4. Nc6 N8xc6 5. e3 Nb4xa2",
         "1A. Nc3 {180} 1a. Nf6 {180} 2A. Nb5 {180} 2a. Nd5 {180} 3A. Nd4 {180} 3a. Nb4 {180} 4A. Nc6 {180} "
         "4a. N8xc6 {180} 5A. e3 {180} 5a. Nxa2 {180}"},
        {"... on board B", "[Event \"bughouse\"]", "1B. Nf3 1b. Nf6 2B. Nc3 2b. Nd5 3B. Nb1 3b. Nb4 4B. Nc3 4b. N8c6",
         "1B. Nf3 {180} 1b. Nf6 {180} 2B. Nc3 {180} 2b. Nd5 {180} 3B. Nb1 {180} 3b. Nb4 {180} 4B. Nc3 {180} "
         "4b. N8c6 {180}"},
        {"timestamps: each mover's thinking since the previous move, beside other text",
         "[Event \"crazyhouse\"][TimeControl \"60+0\"]",
         "1. e4 {[ts=1.5]} e5 {[ts=4]} 2. Nf3 {[ts=10.25] a quiet move} Nc6 {[ts=12]}",
         "1A. e4 {58} 1a. e5 {57} 2A. Nf3 {52} {C:a quiet move} 2a. Nc6 {55}"},
        {"... with an increment after each move", "[Event \"crazyhouse\"][TimeControl \"60+2\"]",
         "1. e4 {[ts=1.5]} e5 {[ts=4]} 2. Nf3 {[ts=10.25]} Nc6 {[ts=12]}",
         "1A. e4 {60} 1a. e5 {59} 2A. Nf3 {56} 2a. Nc6 {59}"},
        {"... decreasing or negative: no thinking time; a clock run out stays at zero",
         "[Event \"crazyhouse\"][TimeControl \"60+0\"]",
         "1. e4 {[ts=5]} e5 {[ts=3]} 2. Nf3 {[ts=8]} Nc6 {[ts=-1]} 3. Bc4 {[ts=100]}",
         "1A. e4 {55} 1a. e5 {60} 2A. Nf3 {52} 2a. Nc6 {60} 3A. Bc4 {0}"},
        {"... on interleaved bughouse boards, each counted from its own board's moves",
         "[Event \"bughouse\"][TimeControl \"120+0\"]",
         "1A. e4{[ts=2]} 1B. d4{[ts=3]} 1a. e5{[ts=5]} 1b. d5{[ts=9]} 2A. Nf3{[ts=10]} 2B. Nf3{[ts=10.5]}",
         "1A. e4 {118} 1B. d4 {117} 1a. e5 {117} 1b. d5 {114} 2A. Nf3 {113} 2B. Nf3 {115}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.feature);
        EXPECT_EQ(importedMoves(std::string(c.tags) + "\n\n" + c.moves + " *\n"), c.expected);
    }
}

}  // namespace
