#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "core/fen.h"
#include "game/game_parameters.h"
#include "test_games.h"

using namespace tandemora_test;

namespace {

// The move list of a written game: everything between the tag section and the closing line.
std::string moveListOf(const std::string& text) {
    const size_t start = text.find("]\n\n") + 3;
    return text.substr(start, text.rfind("\n\n{") - start);
}

TEST(StoreGame, NewGameWithDefaults) {
    const std::string common = "[Site \"somewhere in the universe\"]\n[Date \"15'th century\"]\n";
    const struct {
        Variant variant;
        std::string text;
    } cases[] = {
        {kBughouse, "[Event \"Bughouse game\"]\n" + common +
                        "[WhiteA \"WHITE\"][WhiteAElo \"++++\"]\n[BlackA \"BLACK\"][BlackAElo \"++++\"]\n"
                        "[WhiteB \"WHITE\"][WhiteBElo \"++++\"]\n[BlackB \"BLACK\"][BlackBElo \"++++\"]\n"
                        "[TimeControl \"180+0\"]\n[Result \"*\"]\n\n\n\n{*} *\n"},
        {kCrazyhouse, "[Event \"Crazyhouse game\"]\n" + common +
                          "[WhiteA \"WHITE\"][WhiteAElo \"++++\"]\n[BlackA \"BLACK\"][BlackAElo \"++++\"]\n"
                          "[WhiteB \"WHITE\"]\n[BlackB \"BLACK\"]\n"
                          "[TimeControl \"180+0\"]\n[Result \"*\"]\n\n\n\n{*} *\n"},
    };
    for (const auto& c : cases) {
        auto game = newGame(c.variant);
        EXPECT_EQ(written(*game), c.text);
        auto again = openOne(c.text);  // a game without moves reads back
        ASSERT_TRUE(again);
        EXPECT_EQ(again->variant, c.variant);
        EXPECT_EQ(again->moveBuffer, "");
        EXPECT_TRUE(again->root->children.empty());
        EXPECT_EQ(written(*again), c.text);
    }
}

TEST(StoreGame, WritesMovesGroupsAndVariations) {
    auto game = newGame(kCrazyhouse);
    ASSERT_TRUE(play(*game, "A:e4 a:e5"));
    game->toStart();
    ASSERT_TRUE(play(*game, "A:d4 a:d5"));
    GameNode* e4 = game->root->firstChild();
    e4->clockSeconds = 178;
    e4->annotation = "!";
    e4->comment = "good";
    EXPECT_EQ(moveListOf(written(*game)), "1A. e4 {178} {A:!} {C:good} (1A. d4 {180} 1a. d5 {180}) 1a. e5 {180}");
    game->root->comment = "from the start";
    EXPECT_EQ(moveListOf(written(*game)),
              "{C:from the start} 1A. e4 {178} {A:!} {C:good} (1A. d4 {180} 1a. d5 {180}) 1a. e5 {180}");
}

TEST(StoreGame, WrapsLongLines) {
    auto game = newGame(kCrazyhouse);
    ASSERT_TRUE(play(*game, "A:Nf3 a:Nf6 A:Ng1 a:Ng8 A:Nf3 a:Nf6 A:Ng1 a:Ng8"));
    game->toEnd();
    game->backOne();
    game->backOne();
    game->current->annotation = "!";  // on the move that takes the line past 74
    EXPECT_EQ(moveListOf(written(*game)),
              "1A. Nf3 {180} 1a. Nf6 {180} 2A. Ng1 {180} 2a. Ng8 {180} 3A. Nf3 {180} 3a. Nf6 {180}\n"
              " {A:!} 4A. Ng1 {180} 4a. Ng8 {180}");

    // The variation ends at 74 characters: its ')' still counts, the wrap comes one move later.
    game = newGame(kCrazyhouse);
    ASSERT_TRUE(play(*game, "A:e4 a:e5"));
    game->toStart();
    ASSERT_TRUE(play(*game, "A:d4 a:d5 A:c4 a:e6"));
    game->current->comment = "abcd";
    const std::string text = written(*game);
    EXPECT_EQ(moveListOf(text),
              "1A. e4 {180} (1A. d4 {180} 1a. d5 {180} 2A. c4 {180} 2a. e6 {180} {C:abcd}) 1a. e5 {180}");
    EXPECT_EQ(text.substr(text.size() - 20), "1a. e5 {180}\n\n{*} *\n");
}

TEST(StoreGame, OneEmptyLineBeforeTheClosingLine) {
    for (const char* moves : {"1A. e4 {180}", "1A. e4 {180}\n"}) {
        CGame game;
        game.moveBuffer = moves;
        const std::string text = written(game);
        EXPECT_EQ(text.substr(text.find("]\n\n")), "]\n\n1A. e4 {180}\n\n{*} *\n") << moves;
    }
}

TEST(StoreGame, ClosingLineStaysOneReadableLine) {
    // Results the reader accepts in the tag, but that would break the closing line or spill
    // into the next game if written there whole.
    for (const std::string& result : {std::string("1-0\n[Event Crazyhouse]"), std::string(1999, 'r')}) {
        CGame game;
        game.moveBuffer = "1A. e4 {180}\n";
        game.Result = result;
        const std::string text = written(game);
        std::istringstream twice(text + text);
        for (int copy = 0; copy < 2; ++copy) {
            CGame again;
            ASSERT_TRUE(again.readGame(twice)) << copy;
            EXPECT_EQ(again.Result, result);
        }
    }
}

TEST(StoreGame, UnopenedGameKeepsItsMoveText) {
    const std::string moves = "1A. e4   {180}\n\t1a. e5 {179} {R:hello}  2A. Nf3 {170}\n";
    auto game = readOne("[Site \"x\"]\n[Result \"1-0\"]\n" + moves + "\n{Bob resigns} 1-0\n");
    ASSERT_TRUE(game);
    const std::string text = written(*game);
    EXPECT_EQ(text.substr(text.find("]\n\n") + 3), moves + "\n{Bob resigns} 1-0\n");
    EXPECT_EQ(text.substr(0, text.find('\n')), "[Event \"Crazyhouse game\"]");  // never written empty
    auto again = readOne(text);
    ASSERT_TRUE(again);
    EXPECT_EQ(written(*again), text);
}

// Every header the Game Parameters dialog accepts, on a game without moves followed by
// another game: both read back, the first with its header as entered.
// Tags the program has no field for come back after its own lines, in their order and byte for
// byte, whether the game was left unopened, replayed or had its header edited.
TEST(StoreGame, KeepsOtherTagsAsTheyWereRead) {
    const std::string others = "[Round \"3\"]\n[Time \"16:45:40\"]\n[Lag  \"102 101\"  ]\n[ECO\t\"C20\"]\n"
                               "[Termination \"Normal\"]\n[Link \"https://lichess.org/l95HJ3fQ\"]\n";
    const std::string read = "[Event \"Crazyhouse game\"]\n[Round \"3\"]\r\n[Time \"16:45:40\"][Lag  \"102 101\"  ]\n"
                             "[ECO\t\"C20\"] [Site \"x\"]\n[Termination \"Normal\"]\n[Link \"https://lichess.org/l95HJ3fQ\"]\n"
                             "\n1A. e4 {180}\n\n{*} *\n";
    const auto edit = [](CGame& game) {
        ASSERT_TRUE(game.replayGame());
        GameParameters header = gameParameters(game);
        header.site = "y";
        applyGameParameters(game, header);
    };
    const std::function<void(CGame&)> handlings[] = {[](CGame&) {}, [](CGame& game) { ASSERT_TRUE(game.replayGame()); },
                                                     edit};
    for (const auto& handle : handlings) {
        auto game = readOne(read);
        ASSERT_TRUE(game);
        handle(*game);
        const std::string text = written(*game);
        const size_t tagsEnd = text.find("[Result \"*\"]\n") + 13;
        EXPECT_EQ(text.substr(tagsEnd, others.size() + 13), others + "\n1A. e4 {180}") << text;
        auto again = readOne(text);
        ASSERT_TRUE(again);
        EXPECT_EQ(written(*again), text);
    }
    // Past the limit, further tags are skipped as any tag used to be.
    std::string many = "[Event \"Crazyhouse game\"]\n";
    for (int i = 0; i < 150; ++i) many += "[Tag" + std::to_string(i) + " \"v\"]\n";
    auto game = readOne(many + "\n1A. e4 {180}\n\n{*} *\n");
    ASSERT_TRUE(game);
    ASSERT_EQ(game->otherTags.size(), kMaxOtherTags);
    EXPECT_EQ(game->otherTags.back().text, "[Tag99 \"v\"]");
}

TEST(StoreGame, GameWithoutMovesReadsBackWithAnyHeaderTheDialogAccepts) {
    const struct {
        const char *description, *result;
    } cases[] = {
        {"", ""},           {" ", ""},          {"*", "*"},       {"", "1-0"},         {"Bo resigns", ""},
        {"A:", ""},         {"C:x", ""},        {"A: !", ""},     {"C:x", "*"},        {"A:!", "1-0"},
        {" C : x", "0-1"},  {"C:x", "1/2-1/2"}, {"C:x", "won"},   {"c:x", ""},         {"{C:x}", ""},
        {"C:x", "1-0\nz"}, {"A:\n!", " "},    {"C:\"x\"", ""}, {"B:x", "abandoned"},
    };
    const std::string next = gameText("1A. e4 {180}");
    for (const Variant variant : {kCrazyhouse, kBughouse}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.description) + "|" + c.result);
            auto game = newGame(variant);
            GameParameters parameters = gameParameters(*game);
            parameters.whiteA = "Ann";
            parameters.result = c.result;
            parameters.resultDescription = c.description;
            ASSERT_EQ(checkGameParameters(*game, parameters), "");
            applyGameParameters(*game, parameters);
            std::istringstream in(written(*game) + next);
            CGame first, second;
            ASSERT_TRUE(first.readGame(in));
            EXPECT_EQ(first.moveBuffer, "");
            EXPECT_EQ(first.resultDescription, game->resultDescription);
            EXPECT_EQ(first.Result, game->Result);
            EXPECT_EQ(first.WhiteA, "Ann");
            ASSERT_TRUE(second.readGame(in));
            EXPECT_EQ(second.moveBuffer, "1A. e4 {180}\n");
        }
    }
}

TEST(StoreGame, ReportsAFailedStream) {
    auto game = newGame(kCrazyhouse);
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(game->storeGameToStream(out));
}

// A bughouse game with captures, drops, nested variations, marks and edited clocks.
std::unique_ptr<CGame> richGame() {
    auto game = newGame(kBughouse);
    game->Event = "FICS rated bughouse match";
    game->Site = "fics";
    game->Date = "2005.01.02";
    game->WhiteA = "Ann";
    game->BlackA = "Bob";
    game->WhiteB = "Cy";
    game->BlackB = "Di";
    game->WhiteAElo = 1850;
    game->WhiteBElo = 2001;
    game->BlackBElo = 1500;
    game->baseSeconds = 120;
    game->incrementSeconds = 5;
    game->Result = "1-0";
    game->resultDescription = "Di checkmated";
    EXPECT_TRUE(play(*game, "A:e4 B:d4 a:d5 A:exd5 b:P@e5 B:dxe5 a:P@e6 A:dxe6 a:Bxe6"));
    game->toStart();
    game->forwardOne();
    game->forwardOne();
    EXPECT_TRUE(play(*game, "a:e5 A:Nf3"));
    game->backOne();
    EXPECT_TRUE(play(*game, "A:d3"));
    int clock = 119;
    for (GameNode* n = game->root->firstChild(); n; n = n->firstChild()) n->clockSeconds = clock -= 3;
    game->root->children[0]->children[0]->children[1]->clockSeconds = 111;
    game->root->comment = "Game 1";
    GameNode* exd5 = game->root->firstChild()->firstChild()->firstChild()->firstChild();
    exd5->annotation = "!?";
    exd5->comment = "wins a pawn";
    game->root->firstChild()->firstChild()->children[1]->comment = "solid";
    game->recomputeClocks(game->root.get());
    return game;
}

TEST(StoreGame, WhatIsWrittenReadsBackTheSame) {
    auto game = richGame();
    const std::string text = written(*game);
    auto again = openOne(text);
    ASSERT_TRUE(again) << text;
    for (auto field : {&CGame::Event, &CGame::Site, &CGame::Date, &CGame::WhiteA, &CGame::BlackA, &CGame::WhiteB,
                       &CGame::BlackB, &CGame::Result, &CGame::resultDescription})
        EXPECT_EQ((*again).*field, (*game).*field);
    for (auto field : {&CGame::WhiteAElo, &CGame::BlackAElo, &CGame::WhiteBElo, &CGame::BlackBElo,
                       &CGame::baseSeconds, &CGame::incrementSeconds, &CGame::variant})
        EXPECT_EQ((*again).*field, (*game).*field);
    EXPECT_EQ(describeTree(*again, TreeDetail::kEverything), describeTree(*game, TreeDetail::kEverything));
    EXPECT_EQ(written(*again), text);
}

}  // namespace
