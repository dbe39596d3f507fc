// Replay at the recorded pace, driven step by step as the window's timer would.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "test_games.h"

using namespace tandemora_test;

namespace {

struct ReplayLog : GameEvents {
    std::vector<std::string> events;
    void positionShown(CGame& game) override { events.push_back(std::string("move ") + game.current->moveText); }
    void replayReachedEnd(CGame&) override { events.push_back("game over"); }
};

// Steps the replay until it ends; the step numbers (from 1) on which a move was played.
std::vector<int> replaySteps(CGame& game, int minimumDelayMs, ReplayPace pace = {}) {
    std::vector<int> played;
    EXPECT_FALSE(game.beginReplay(100));
    for (int step = 1; step < 10000; ++step) {
        const GameNode* before = game.current;
        const bool ended = game.replayStep(minimumDelayMs, pace);
        if (game.current != before) played.push_back(step);
        if (ended) break;
    }
    return played;
}

}  // namespace

TEST(Replay, MovesComeWhenTheirClockIsDueAndNeverSoonerThanTheMinimumDelay) {
    const struct {
        const char* moves;
        int minimumDelayMs;
        std::vector<int> steps;
    } cases[] = {
        // e4 at 179 s: white's clock needs ten steps to come down to it; then black's runs.
        {"1A. e4 {179} 1a. e5 {179} 2A. Nf3 {178}", 200, {10, 20, 30}},
        // Moves due at once still wait more than the minimum delay after the previous one.
        {"1A. e4 {180} 1a. e5 {180} 2A. Nf3 {180}", 200, {3, 6, 9}},
        {"1A. e4 {180} 1a. e5 {180} 2A. Nf3 {180}", 0, {1, 2, 3}},
        // A move recorded with more time than the clock shows is due at once.
        {"1A. e4 {185} 1a. e5 {179}", 200, {3, 13}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.moves);
        auto game = openOne(gameText(c.moves));
        ASSERT_TRUE(game);
        EXPECT_EQ(replaySteps(*game, c.minimumDelayMs), c.steps);
    }
}

TEST(Replay, AFasterPaceTakesFewerStepsAndALongThinkLastsOneSecond) {
    const char* steady = "1A. e4 {176} 1a. e5 {172} 2A. Nf3 {168}";  // 4 s, 8 s, 8 s
    const char* longThink = "1A. e4 {180} 1a. e5 {150} 2A. Nf3 {178}";  // black thinks 30 s
    const char* atOnce = "1A. e4 {180} 1a. e5 {180} 2A. Nf3 {180}";
    const struct {
        const char* moves;
        ReplayPace pace;
        int minimumDelayMs;
        std::vector<int> steps;
    } cases[] = {
        {steady, {1, false}, 0, {40, 120, 200}},
        {steady, {4, false}, 0, {10, 30, 50}},
        {steady, {8, false}, 0, {5, 15, 25}},
        {steady, {1, true}, 0, {40, 120, 200}},  // no wait is long
        {longThink, {1, false}, 0, {1, 301, 321}},
        {longThink, {1, true}, 0, {1, 11, 31}},
        {longThink, {2, true}, 0, {1, 6, 16}},
        // The minimum delay between moves shortens with the pace: 200 ms at x1 is 50 ms at x4.
        {atOnce, {4, false}, 200, {1, 2, 3}},
        {atOnce, {2, false}, 200, {2, 4, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.moves) + " x" + std::to_string(c.pace.speed) + (c.pace.skipLongThinks ? " skipping" : ""));
        auto game = openOne(gameText(c.moves));
        ASSERT_TRUE(game);
        EXPECT_EQ(replaySteps(*game, c.minimumDelayMs, c.pace), c.steps);
    }
}

TEST(Replay, SkippingALongThinkRunsEveryBoardsClockAlike) {
    auto game = openOne(gameText("1A. e4 {180} 1B. d4 {150}", "Bughouse game"));
    ASSERT_TRUE(game);
    game->forwardOne();  // white on board B thinks 30 s while black on board A is to move
    const int blackA = game->boardA->position().blackClockMs;
    ASSERT_FALSE(game->beginReplay(100));
    game->replayStep(0, {1, true});
    EXPECT_EQ(game->boardB->position().whiteClockMs, 151000 - 100);
    EXPECT_EQ(game->boardA->position().blackClockMs, blackA - 29000 - 100);
}

TEST(Replay, TheLongestDelayChosenMidwayNeverWrapsRoundIntoNone) {
    auto game = openOne(gameText("1A. e4 {180} 1a. e5 {180}"));
    ASSERT_FALSE(game->beginReplay(100));
    game->replayStep(0);
    const GameNode* afterFirstMove = game->current;
    for (int step = 0; step < 100; ++step) game->replayStep(INT_MAX);
    EXPECT_EQ(game->current, afterFirstMove);
}

TEST(Replay, TheLastMoveSoundsAndThenEndsTheReplay) {
    ReplayLog log;
    auto game = openOne(gameText("1A. e4 {180} 1a. e5 {180}"));
    game->events = &log;
    replaySteps(*game, 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{"move e4", "move e5", "game over"}));
    EXPECT_TRUE(game->beginReplay(100));  // at the end of the line replay cannot start
}

TEST(Replay, TheSideToMoveOnEveryBoardLosesEachStep) {
    auto game = openOne(gameText("1A. e4 {170} 1B. d4 {150}", "Bughouse game"));
    ASSERT_TRUE(game);
    game->forwardOne();  // e4 on board A: black to move there, white still to move on board B
    const Board a = game->boardA->position(), b = game->boardB->position();
    ASSERT_FALSE(game->beginReplay(100));
    game->replayStep(0);
    EXPECT_EQ(game->boardA->position().blackClockMs, a.blackClockMs - 100);
    EXPECT_EQ(game->boardA->position().whiteClockMs, a.whiteClockMs);
    EXPECT_EQ(game->boardB->position().whiteClockMs, b.whiteClockMs - 100);
    EXPECT_EQ(game->boardB->position().blackClockMs, b.blackClockMs);

    auto crazyhouse = openOne(gameText("1A. e4 {170}"));
    ASSERT_FALSE(crazyhouse->beginReplay(100));
    crazyhouse->replayStep(0);
    EXPECT_EQ(crazyhouse->boardA->position().whiteClockMs, 180000 - 100);
    EXPECT_FALSE(crazyhouse->boardB);
}
