// The random game generator: its games are legal, read back to the same text, are the same
// for a seed, and hold the captures, drops and decorations the benchmark relies on.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "bench/game_generator.h"
#include "game/game.h"

namespace tandemora {
namespace {

constexpr int kGamesPerVariant = 150;

struct Generated {
    bool bughouse;
    std::string text;
};

const std::vector<Generated>& generatedGames() {
    static const std::vector<Generated> games = [] {
        std::vector<Generated> all;
        for (uint64_t seed = 1; seed <= kGamesPerVariant; ++seed)
            for (bool bughouse : {false, true}) all.push_back({bughouse, randomGameText(seed, bughouse)});
        return all;
    }();
    return games;
}

// Reads and replays one game; fails the test when either step fails.
void replay(const std::string& text, CGame& game) {
    std::istringstream in(text);
    ASSERT_TRUE(game.readGame(in)) << text;
    ASSERT_TRUE(game.replayGame()) << game.parseError << "\n" << text;
}

TEST(GameGenerator, SameSeedSameGamesOtherSeedOtherGames) {
    EXPECT_EQ(randomGameText(42, true), randomGameText(42, true));
    EXPECT_NE(randomGameText(42, true), randomGameText(43, true));
    std::ostringstream first, second, other;
    writeRandomGames(first, 5, 9);
    writeRandomGames(second, 5, 9);
    writeRandomGames(other, 5, 10);
    EXPECT_EQ(first.str(), second.str());
    EXPECT_NE(first.str(), other.str());
}

TEST(GameGenerator, EveryGameReplaysAndWritesBackTheSameText) {
    for (const Generated& generated : generatedGames()) {
        CGame game;
        replay(generated.text, game);
        EXPECT_EQ(game.isBughouse(), generated.bughouse);
        std::ostringstream out;
        ASSERT_TRUE(game.storeGameToStream(out));
        ASSERT_EQ(out.str(), generated.text);
    }
}

// Along the main line each player's clock only runs down and never goes below zero.
TEST(GameGenerator, ClocksRunDownPerPlayer) {
    for (const Generated& generated : generatedGames()) {
        CGame game;
        replay(generated.text, game);
        int last[4] = {game.baseSeconds, game.baseSeconds, game.baseSeconds, game.baseSeconds};
        for (const GameNode* node = game.root->firstChild(); node; node = node->firstChild()) {
            int& clock = last[(node->onBoardB() ? 2 : 0) + (node->whiteMoved() ? 1 : 0)];
            ASSERT_GE(node->clockSeconds, 0);
            ASSERT_LE(node->clockSeconds, clock) << node->moveNumber << node->boardLetter << " " << node->moveText;
            clock = node->clockSeconds;
        }
    }
}

TEST(GameGenerator, GamesHoldEveryKindOfMoveAndDecoration) {
    long moves = 0, captures = 0, drops = 0, promotions = 0, castlings = 0, boardBMoves = 0;
    int variations = 0, annotations = 0, comments = 0, mates = 0;
    for (const Generated& generated : generatedGames()) {
        CGame game;
        replay(generated.text, game);
        for (const GameNode* node = game.root->firstChild(); node; node = node->firstChild()) {
            const std::string text = node->moveText;
            ++moves;
            captures += text.find('x') != std::string::npos;
            drops += text.find('@') != std::string::npos;
            promotions += text.find('=') != std::string::npos;
            castlings += text.find("O-O") != std::string::npos;
            boardBMoves += node->onBoardB();
        }
        variations += generated.text.find('(') != std::string::npos;
        annotations += generated.text.find("{A:") != std::string::npos;
        comments += generated.text.find("{C:") != std::string::npos;
        mates += game.resultDescription.find("checkmated") != std::string::npos;
    }
    EXPECT_GT(captures, moves / 5);
    EXPECT_GT(drops, moves / 5);
    EXPECT_GT(promotions, 0);
    EXPECT_GT(castlings, 0);
    EXPECT_GT(boardBMoves, moves / 5);
    EXPECT_GT(variations, 0);
    EXPECT_GT(annotations, 0);
    EXPECT_GT(comments, 0);
    EXPECT_GT(mates, 0);
}

TEST(GameGenerator, WrittenFileReadsBackGameByGame) {
    std::ostringstream out;
    writeRandomGames(out, 40, 3, 0.5);
    std::istringstream in(out.str());
    int games = 0, bughouse = 0;
    for (;;) {
        CGame game;
        if (!game.readGame(in)) break;
        ++games;
        bughouse += game.isBughouse();
    }
    EXPECT_EQ(games, 40);
    EXPECT_GT(bughouse, 5);
    EXPECT_LT(bughouse, 35);
}

}  // namespace
}  // namespace tandemora
