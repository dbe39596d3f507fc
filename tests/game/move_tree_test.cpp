#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_games.h"

using namespace tandemora_test;

namespace {

TEST(MoveTree, NumbersMovesPerBoard) {
    const struct {
        Variant variant;
        const char* moves;
        const char* line;
    } cases[] = {
        {kCrazyhouse, "A:e4 a:e5 A:Nf3 a:Nc6", "1A.e4 1a.e5 2A.Nf3 2a.Nc6"},
        {kBughouse, "A:e4 B:d4 a:e5 b:d5 A:Nf3 B:c4 B:Nc3", "1A.e4 1B.d4 1a.e5 1b.d5 2A.Nf3 2B.c4 3B.Nc3"},
        {kBughouse, "b:e5 B:d4 A:e4", "1b.e5 2B.d4 1A.e4"},  // black first on a board still gets 1
    };
    for (const auto& c : cases) {
        auto game = newGame(c.variant);
        ASSERT_TRUE(play(*game, c.moves)) << c.moves;
        EXPECT_EQ(mainLine(*game), c.line);
        EXPECT_TRUE(game->modified);
    }
}

TEST(MoveTree, ReusesAMoveOfThisBoardsNextTurn) {
    auto game = newGame(kBughouse);
    ASSERT_TRUE(play(*game, "B:d4 A:e4 b:d5"));
    GameNode* d4 = game->root->firstChild();
    GameNode* e4 = d4->firstChild();
    game->toStart();
    game->modified = false;
    ASSERT_TRUE(play(*game, "A:e4"));  // the board-B move before it is played along
    EXPECT_EQ(game->current, e4);
    EXPECT_EQ(game->root->children.size(), 1u);
    EXPECT_FALSE(game->modified);
    EXPECT_EQ(game->boardB->position().at(3, 3), 'P');

    game->backOne();
    ASSERT_TRUE(play(*game, "A:c4"));
    GameNode* c4 = game->current;
    ASSERT_EQ(d4->children.size(), 2u);
    game->toStart();
    ASSERT_TRUE(play(*game, "A:c4"));  // an alternative of board A's next move is found too
    EXPECT_EQ(game->current, c4);
    EXPECT_EQ(d4->children.size(), 2u);
    game->selectAlternative(0);
    EXPECT_EQ(game->current, e4);
    game->backOne();
    game->selectChild(1);
    EXPECT_EQ(game->current, c4);

    game->toStart();
    ASSERT_TRUE(play(*game, "A:d4"));  // a different move is a new alternative at the root
    ASSERT_EQ(game->root->children.size(), 2u);
    EXPECT_EQ(game->current, game->root->children[1].get());
    EXPECT_EQ(mainLine(*game), "1B.d4 1A.e4 1b.d5");
}

// White wins three pawns and a rook, then Black takes the promoted queen.
const char* const kPromotionGame = "A:e4 a:f5 A:exf5 a:g6 A:fxg6 a:Nf6 A:gxh7 a:Rg8 A:hxg8=Q a:Nxg8";

TEST(MoveTree, CapturesGoToTheRightReserve) {
    // Reserve counts: white P R N B Q, then black.
    const struct {
        Variant variant;
        std::vector<int> reserveA, reserveB;
    } cases[] = {
        {kCrazyhouse, {3, 1, 0, 0, 0, 1, 0, 0, 0, 0}, {}},
        {kBughouse, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 3, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        auto game = newGame(c.variant);
        ASSERT_TRUE(play(*game, kPromotionGame));
        EXPECT_STREQ(game->current->parent->moveText, "hxg8=Q");
        auto reserve = [](const Board& b) { return std::vector<int>(b.holdings, b.holdings + kReserveSlots); };
        EXPECT_EQ(reserve(game->boardA->position()), c.reserveA);
        EXPECT_EQ(reserve(game->current->positionA), c.reserveA);
        if (c.variant == kBughouse) {
            EXPECT_EQ(reserve(game->boardB->position()), c.reserveB);
            EXPECT_EQ(reserve(*game->current->positionB), c.reserveB);
        }
    }
}

TEST(MoveTree, EnPassantLooksAtThisBoardsLastMove) {
    const struct {
        const char* moves;
        bool legal;
    } cases[] = {
        {"A:e4 a:Nf6 A:e5 a:d5 A:exd6", true},
        {"A:e4 a:Nf6 A:e5 a:d5 B:e4 b:e5 A:exd6", true},
        {"A:e4 a:Nf6 A:e5 a:d5 A:Nf3 B:e4 a:Ng8 A:exd6", false},
    };
    for (const auto& c : cases) {
        auto game = newGame(kBughouse);
        std::string moves = c.moves;
        const size_t last = moves.rfind(' ');
        ASSERT_TRUE(play(*game, moves.substr(0, last))) << c.moves;
        EXPECT_EQ(play(*game, moves.substr(last + 1)), c.legal) << c.moves;
    }
}

TEST(MoveTree, BughouseClocksRunOnBothBoards) {
    auto game = openOne(gameText("1A. e4 {175} 1B. d4 {170} 1a. e5 {178} (1a. c5 {160})", "Bughouse game"));
    ASSERT_TRUE(game);
    // Board A white/black, board B white/black, in milliseconds.
    const GameNode* e4 = game->root->firstChild();
    const GameNode* d4 = e4->firstChild();
    EXPECT_EQ(clocksOf(*game->root), "180000/180000 180000/180000");
    EXPECT_EQ(clocksOf(*e4), "175000/180000 175000/180000");
    EXPECT_EQ(clocksOf(*d4), "175000/175000 170000/180000");
    EXPECT_EQ(clocksOf(*d4->children[0]), "175000/178000 170000/180000");  // no lowering when time rose
    EXPECT_EQ(clocksOf(*d4->children[1]), "175000/160000 170000/165000");
}

TEST(MoveTree, NavigatesAndSetsFlags) {
    auto game = newGame(kBughouse);
    ASSERT_TRUE(play(*game, "A:e4 B:d4 a:e5 b:d5 A:Nf3"));
    GameNode* n[6] = {game->root.get()};
    for (int i = 1; i < 6; ++i) n[i] = n[i - 1]->firstChild();
    BoardWindow& a = *game->boardA;
    BoardWindow& b = *game->boardB;
    auto flags = [](const BoardWindow& w) {
        const auto& f = w.navigation();
        return std::string{f.canBackGame ? 'G' : '-', f.canForwardGame ? 'g' : '-', f.canBackBoard ? 'B' : '-',
                           f.canForwardBoard ? 'b' : '-'};
    };

    game->toStart();
    EXPECT_EQ(flags(a), "-g-b");
    game->forwardOnBoard(b);
    EXPECT_EQ(game->current, n[2]);
    game->forwardOnBoard(a);
    EXPECT_EQ(game->current, n[3]);
    game->backOnBoard(a);
    EXPECT_EQ(game->current, n[1]);
    game->toStart();
    game->forwardToBoardTurn(a);  // up to board A's next turn after its first move
    EXPECT_EQ(game->current, n[2]);
    game->toStart();
    game->toBoardEnd(b);
    EXPECT_EQ(game->current, n[4]);
    EXPECT_EQ(flags(a), "GgBb");
    EXPECT_EQ(flags(b), "GgB-");
    game->toBoardEnd(a);
    EXPECT_EQ(game->current, n[5]);
    EXPECT_EQ(flags(a), "G-B-");
    game->backOne();
    game->backOne();  // back over a board-B move: board A shows the same position
    EXPECT_EQ(game->current, n[3]);
    EXPECT_EQ(std::memcmp(a.position().squares, n[4]->positionA.squares, 64), 0);
    EXPECT_EQ(game->boardB->position().at(3, 6), 'p');
    game->toEnd();
    EXPECT_EQ(game->current, n[5]);
    game->toStart();
    game->forwardOne();
    EXPECT_EQ(game->current, n[1]);
    EXPECT_EQ(flags(b), "Gg-b");
}

TEST(MoveTree, DeleteCurrentMoveDropsItsSubtree) {
    auto game = newGame(kCrazyhouse);
    ASSERT_TRUE(play(*game, "A:e4 a:e5 A:Nf3 a:Nc6"));
    game->toStart();
    game->forwardOne();
    game->forwardOne();
    game->modified = false;
    game->deleteCurrentMove();
    EXPECT_TRUE(game->modified);
    EXPECT_EQ(mainLine(*game), "1A.e4");
    EXPECT_EQ(game->current, game->root->firstChild());
    EXPECT_EQ(game->boardA->position().at(4, 6), 'p');
    game->toStart();
    game->modified = false;
    game->deleteCurrentMove();  // the root stays
    EXPECT_FALSE(game->modified);
    EXPECT_EQ(game->root->children.size(), 1u);
}

TEST(MoveTree, AnalysisKeepsTheTurn) {
    auto game = newGame(kBughouse);
    ASSERT_TRUE(play(*game, "A:e4 B:d4 A:analysis a:e5"));  // the step is black's: black is to move
    EXPECT_EQ(mainLine(*game), "1A.e4 1B.d4 1a.Analysis 1a.e5");
    const GameNode* analysis = game->current->parent;
    EXPECT_EQ(analysis->positionA.holdings[0], 16);
    EXPECT_EQ(analysis->positionB->holdings[0], 0);
    EXPECT_EQ(analysis->lastWhiteA, 1);
    EXPECT_EQ(game->current->lastWhiteA, 0);
}

}  // namespace
