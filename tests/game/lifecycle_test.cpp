#include <gtest/gtest.h>

#include <string>

#include "tests/message_log.h"
#include "test_games.h"

using namespace tandemora_test;

namespace {

class FakeGameList : public GameList {
public:
    FakeGameList(std::string path, int count) : path_(std::move(path)), count_(count) {}
    const std::string& path() const override { return path_; }
    int gameCount() const override { return count_; }

private:
    std::string path_;
    int count_;
};

const std::string kBughouseGame =
    gameText("1A. e4 {175} 1B. d4 {170} 1a. e5 {178}", "Bughouse game", "{Bob resigns} 1-0");

TEST(GameLifecycle, TitlesNameTheFileOrTheNewGame) {
    FakeGameList list("/home/user/games/club.bpgn", 12);
    auto game = readOne(kBughouseGame);
    ASSERT_TRUE(game);
    game->manager = &list;
    game->gameNumber = 3;
    game->WhiteA = "Ann";
    game->WhiteAElo = 1850;
    ASSERT_TRUE(game->showGame(boards()));
    SilentBoard& a = silent(game->boardA);
    SilentBoard& b = silent(game->boardB);
    EXPECT_EQ(a.title(), "Bughouse: club.bpgn (3/12) (B1)");
    EXPECT_EQ(b.title(), "Bughouse: club.bpgn (3/12) (B2)");
    EXPECT_EQ(a.whiteLabel, "Ann (1850)");
    EXPECT_EQ(a.blackLabel, "BLACK (++++)");
    EXPECT_TRUE(b.flipped);
    game->toEnd();  // only the last main-line position shows the closing comment
    EXPECT_EQ(a.title(), "Bughouse: club.bpgn (3/12) (B1) (Bob resigns)");
    EXPECT_EQ(b.title(), "Bughouse: club.bpgn (3/12) (B2) (Bob resigns)");
    game->backOne();
    EXPECT_EQ(a.title(), "Bughouse: club.bpgn (3/12) (B1) (e4)");
    EXPECT_EQ(b.title(), "Bughouse: club.bpgn (3/12) (B2) (d4)");

    CGame fresh;
    fresh.gameNumber = 4;
    fresh.createCrazyhouseBoards(boards());
    EXPECT_EQ(silent(fresh.boardA).title(), "Crazyhouse: New Game 4");
    EXPECT_FALSE(fresh.boardB);
}

TEST(GameLifecycle, OpeningKeepsTheModifiedFlagAndAShownGamesPlace) {
    for (bool modified : {false, true}) {
        auto game = readOne(kBughouseGame);
        game->modified = modified;
        ASSERT_TRUE(game->showGame(boards()));
        EXPECT_EQ(game->modified, modified);
        EXPECT_EQ(game->current, game->root.get());
        game->forwardOne();
        EXPECT_TRUE(game->showGame(boards()));  // already shown: only brought to the top
        EXPECT_EQ(game->current, game->root->firstChild());
    }
}

TEST(GameLifecycle, ReadingShowsNoPositions) {
    struct CountingEvents : GameEvents {
        int shown = 0;
        void positionShown(CGame&) override { ++shown; }
    } events;
    auto game = readOne(kBughouseGame);
    game->events = &events;
    ASSERT_TRUE(game->showGame(boards()));
    EXPECT_EQ(events.shown, 0);  // no move sound, no index search while the moves are read
    game->toEnd();
    EXPECT_EQ(events.shown, 1);
}

TEST(GameLifecycle, ClosingRewritesOnlyEditedGames) {
    const std::string moves = "1A.  e4 {180}\n{R:chat} 1a. e5 {179}\n";
    auto game = openOne(gameText(moves));
    ASSERT_TRUE(game);
    EXPECT_EQ(mainLine(*game), "1A.e4");  // the chat group ends the list
    game->closeBoards();
    EXPECT_EQ(game->moveBuffer, moves);
    EXPECT_FALSE(game->root);
    EXPECT_FALSE(game->boardA);

    ASSERT_TRUE(game->showGame(boards()));
    game->toEnd();
    ASSERT_TRUE(play(*game, "a:c5"));
    game->closeBoards();
    EXPECT_EQ(game->moveBuffer, "1A. e4 {180} 1a. c5 {180}");
}

TEST(GameLifecycle, AGameReadInPartKeepsItsTextUntilEditedAndSaysSo) {
    const std::string moves = "1A. e4 {180} ) 1a. e5 {179}\n";
    auto game = readOne(gameText(moves));
    ASSERT_TRUE(game);
    ASSERT_TRUE(game->replayGame());
    EXPECT_NE(written(*game).find("\n\n" + moves + "\n{*} *\n"), std::string::npos);  // not cut at the ')'
    game = readOne(gameText(moves));

    tandemora_test::MessageLog log;
    ASSERT_TRUE(game->showGame(boards()));
    EXPECT_EQ(log.messages, std::vector<std::string>{
                                "The moves of this game could be read only up to line 1, column 14 of its move "
                                "text. The game keeps its text as it is unless you edit it; saving it edited drops "
                                "the moves after that point."});
    EXPECT_NE(written(*game).find("\n\n" + moves), std::string::npos);

    // Edited, the tree is written; that the unread moves are gone holds until the game is saved.
    game->toEnd();
    ASSERT_TRUE(play(*game, "a:c5"));
    game->closeBoards();
    EXPECT_EQ(game->moveBuffer, "1A. e4 {180} 1a. c5 {180}");
    ASSERT_TRUE(game->showGame(boards()));
    ASSERT_TRUE(game->movesReadUpTo);
    EXPECT_EQ(game->movesReadUpTo->column, 14);
    game->markSaved();
    EXPECT_FALSE(game->movesReadUpTo);
    EXPECT_FALSE(game->modified);
}

TEST(GameLifecycle, GameWithEveryMoveDeletedOpensAtTheStart) {
    auto game = openOne(kBughouseGame);
    ASSERT_TRUE(game);
    game->toStart();
    game->forwardOne();
    game->deleteCurrentMove();
    game->closeBoards();
    EXPECT_EQ(game->moveBuffer, "");
    const std::string text = written(*game);
    EXPECT_NE(text.find("[Result \"*\"]\n\n\n\n{Bob resigns} *\n"), std::string::npos) << text;
    ASSERT_TRUE(game->showGame(boards()));
    EXPECT_TRUE(game->root->children.empty());
    EXPECT_EQ(silent(game->boardA).title(), "Bughouse: New Game -1 (B1)");
}

TEST(GameLifecycle, ReplayBuildsATreeWithoutBoards) {
    auto game = readOne(gameText("1A. e4 {175} 1a. e5 {170}"));
    ASSERT_TRUE(game);
    ASSERT_TRUE(game->replayGame());
    EXPECT_FALSE(game->boardA);
    EXPECT_FALSE(game->displayOn);
    EXPECT_EQ(game->current, game->root.get());
    EXPECT_EQ(clocksOf(*game->mainLineEnd()), "175000/170000");
    EXPECT_NE(written(*game).find("\n\n1A. e4 {175} 1a. e5 {170}\n\n{*} *\n"), std::string::npos);
}

}  // namespace
