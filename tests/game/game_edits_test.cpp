// The header and move edits the dialogs make: checked, made writable, and stored.
#include <gtest/gtest.h>

#include "game/game_parameters.h"
#include "test_games.h"

using namespace tandemora_test;

TEST(GameParameters, ChecksTimesAndTheVariantWordOfTheEvent) {
    const struct {
        Variant variant;
        const char* event;
        const char* baseSeconds;
        bool accepted;
    } cases[] = {
        {kCrazyhouse, "Crazyhouse game", "180", true},
        {kCrazyhouse, "club CRAZYHOUSE night", "0", true},
        {kCrazyhouse, "Blitz", "180", false},
        {kCrazyhouse, "crazyhouse, then bughouse", "180", false},  // would read back as bughouse
        {kBughouse, "Bughouse game", "180", true},
        {kBughouse, "Crazyhouse game", "180", false},
        {kBughouse, "Bughouse game", "-5", false},
        {kBughouse, "Bughouse game", "", false},
        {kBughouse, "Bughouse game", "3 min", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event);
        auto game = newGame(c.variant);
        GameParameters p = gameParameters(*game);
        p.event = c.event;
        p.baseSeconds = c.baseSeconds;
        EXPECT_EQ(checkGameParameters(*game, p).empty(), c.accepted);
    }
}

TEST(GameParameters, StoredFieldsAreWritableAndRenameThePlayers) {
    auto game = newGame(kCrazyhouse);
    GameParameters p = gameParameters(*game);
    EXPECT_EQ(p.whiteB, "");  // board 2 of a crazyhouse game shows nothing
    p.whiteA = "Ann \"the rook\"";
    p.whiteAElo = "";
    p.blackAElo = "1850x";
    p.whiteB = "ignored";
    p.resultDescription = "White wins}\non time";
    p.baseSeconds = "99999999";
    applyGameParameters(*game, p);
    EXPECT_TRUE(game->modified);
    EXPECT_EQ(game->WhiteA, "Ann the rook");
    EXPECT_EQ(game->WhiteAElo, 0);
    EXPECT_EQ(game->BlackAElo, 1850);
    EXPECT_EQ(game->WhiteB, "WHITE");
    EXPECT_EQ(game->resultDescription, "White wins on time");
    EXPECT_EQ(game->baseSeconds, kMaxClockSeconds);
    EXPECT_EQ(game->boardA->whiteLabel, "Ann the rook (++++)");
    EXPECT_EQ(game->boardA->blackLabel, "BLACK (1850)");
    EXPECT_EQ(game->boardA->position().whiteClockMs, kMaxClockSeconds * 1000);
}

TEST(MoveInfo, ShowsTheCurrentMoveAndListsOnlyContinuationsWithAMove) {
    auto game = openOne(gameText("1A. e4 {179} {A:!?} {C:central} 1a. e5 {178} (1a. c5 {177}) (1a. d5 {176})"));
    ASSERT_TRUE(game);
    MoveInfoContent start = moveInfoContent(*game);
    EXPECT_EQ(start.move, "");
    EXPECT_FALSE(start.moveFieldsEnabled);
    EXPECT_EQ(start.nextMoves, (std::vector<std::string>{"1A. e4!?"}));

    game->forwardOne();
    // A continuation without a move is left out, and the table still points at the right child.
    auto blank = std::make_unique<GameNode>();
    blank->parent = game->current;
    blank->complete = true;
    game->current->children.insert(game->current->children.begin(), std::move(blank));
    MoveInfoContent e4 = moveInfoContent(*game);
    EXPECT_EQ(e4.move, "1A. e4!?");
    EXPECT_EQ(e4.time, "179");
    EXPECT_EQ(e4.comment, "central");
    EXPECT_EQ(e4.nextMoves, (std::vector<std::string>{"1a. e5", "1a. c5", "1a. d5"}));
    EXPECT_EQ(e4.nextMoveChildren, (std::vector<int>{1, 2, 3}));
    game->current->children.erase(game->current->children.begin());

    game->selectChild(2);
    MoveInfoContent d5 = moveInfoContent(*game);
    EXPECT_EQ(d5.alternatives, (std::vector<std::string>{"1a. e5", "1a. c5"}));
    game->selectAlternative(d5.alternativeIndexes[1]);
    EXPECT_STREQ(game->current->moveText, "c5");
}

TEST(MoveInfo, ApplyingStoresTheEditsAndMarksTheGame) {
    auto game = openOne(gameText("1A. e4 {179} {A:!?} 1a. e5 {178}"));
    game->forwardOne();
    game->applyMoveInfoEdits({"150s", "", "a } comment\nover lines"});
    EXPECT_TRUE(game->modified);
    EXPECT_EQ(game->current->clockSeconds, 150);
    EXPECT_FALSE(game->current->annotation);
    EXPECT_EQ(game->current->comment, "a  comment over lines");
    EXPECT_EQ(game->boardA->position().whiteClockMs, 150000);

    game->toStart();
    game->applyMoveInfoEdits({"", "?", "before the first move"});
    EXPECT_EQ(game->root->clockSeconds, 180);  // the start has no time or annotation of its own
    EXPECT_FALSE(game->root->annotation);
    EXPECT_EQ(game->root->comment, "before the first move");
}
