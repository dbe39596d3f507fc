#include <gtest/gtest.h>

#include <pthread.h>
#include <sys/mman.h>

#include <functional>
#include <sstream>
#include <vector>

#include "game/messages.h"
#include "tests/message_log.h"
#include "test_games.h"

using namespace tandemora_test;

namespace {

// Runs `work` on a thread with a stack of its own, `bytes` long with a guard page below, so
// that recursion as deep as a long game crashes instead of passing unnoticed.
void runWithSmallStack(const std::function<void()>& work, size_t bytes = 256 * 1024) {
    const size_t guard = 64 * 1024;
    void* memory = mmap(nullptr, guard + bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    mprotect(memory, guard, PROT_NONE);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstack(&attributes, static_cast<char*>(memory) + guard, bytes);
    pthread_t thread;
    void* (*start)(void*) = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, start, const_cast<std::function<void()>*>(&work)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    munmap(memory, guard + bytes);
}

// What a game with one tag pair reads as: its variant, time control or rating, or "fails".
std::string readTag(const std::string& name, const std::string& value) {
    auto game = readOne("[" + name + " \"" + value + "\"]\n\n1A. e4 {180}\n\n{*} *\n");
    if (!game) return "fails";
    if (name == "TimeControl") return std::to_string(game->baseSeconds) + "+" + std::to_string(game->incrementSeconds);
    if (name == "BlackBElo") return std::to_string(game->BlackBElo);
    return game->isBughouse() ? "bughouse" : "crazyhouse";
}

TEST(ReadGame, TagValues) {
    const struct {
        const char *name, *value, *expected;
    } cases[] = {
        {"Event", "Bughouse game", "bughouse"},      {"Event", "fics rated bughouse match", "bughouse"},
        {"Event", "BUGHOUSE", "bughouse"},           {"Event", "bughouse or crazyhouse", "bughouse"},
        {"Event", "Crazyhouse game", "crazyhouse"},  {"Event", "CRAZYHOUSE", "crazyhouse"},
        {"Event", "BugHouse", "fails"},              {"Event", "CrazyHouse", "fails"},
        {"Event", "blitz", "fails"},                 {"Event", "", "fails"},
        {"Site", "no event", "crazyhouse"},          {"Round", "1", "fails"},  // no tag it knows
        {"TimeControl", "120+5", "120+5"},           {"TimeControl", "60+ 3", "60+3"},
        {"TimeControl", "180", "fails"},             {"TimeControl", "60 +3", "fails"},
        {"TimeControl", "2147483+0", "2147483+0"},   {"TimeControl", "2147484+0", "fails"},
        {"TimeControl", "-2147484+0", "fails"},      {"BlackBElo", "1850", "1850"},
        {"BlackBElo", "++++", "0"},                  {"BlackBElo", "2100?", "2100"},
        {"BlackBElo", "", "0"},                      {"BlackBElo", "99999999999", "2147483647"},
    };
    for (const auto& c : cases) EXPECT_EQ(readTag(c.name, c.value), c.expected) << c.name << " " << c.value;
}

TEST(ReadGame, KeepsTagsMoveTextAndClosingComment) {
    const std::string moves = "1A. e4 {180}   1a. e5 {179}\n\t2A. Nf3 {170} {R:hello}\n";
    std::string text = "\n[Event \"Bughouse game\"] [Site \"FICS\"]\n";
    text += "[WhiteA \"Ann\"][Unknown \"x\"][Result \"1-0\"]\n\n";
    text += moves;
    text += "\n{Bob checkmated} 1-0 trailing words\n";
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, 1, '\r');
    auto game = readOne(text);  // line ends of CR LF read as LF
    ASSERT_TRUE(game);
    EXPECT_EQ(game->Site, "FICS");
    EXPECT_EQ(game->WhiteA, "Ann");
    EXPECT_EQ(game->Result, "1-0");
    EXPECT_EQ(game->BlackA, "BLACK");
    EXPECT_EQ(game->moveBuffer, moves);
    EXPECT_EQ(game->resultDescription, "Bob checkmated");
}

TEST(ReadGame, ReadsAFileGameByGame) {
    const std::string good = gameText("1A. e4 {180}");
    std::istringstream file(good + "\n" + gameText("") + good + "[Event \"Crazyhouse\"][Site x]\n" + good);
    int games = 0;
    while (CGame().readGame(file)) ++games;
    EXPECT_EQ(games, 3);  // the fourth game's tag pair is broken
}

// After the tags, a line opening with '{' is either the closing line of a game without
// moves or the first line of its move list; either way the next game reads whole.
TEST(ReadGame, TellsAClosingLineFromAMoveListWithinItsLine) {
    const struct {
        const char* text;  // after the tags
        const char* moves;
        const char* description;
    } cases[] = {
        {"{}\n", "", ""},
        {"{ }  \n", "", " "},
        {"{ A : !} 1/2-1/2 agreed\n", "", " A : !"},
        {"{C:a comment on the start}\n\n{*} *\n", "{C:a comment on the start}\n", "*"},
        {"{C:x} 1-0x\n\n{*} *\n", "{C:x} 1-0x\n", "*"},
        {"{\nC:split} 1A. e4 {180}\n\n{*} *\n", "{\nC:split} 1A. e4 {180}\n", "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::istringstream in("[Event \"Crazyhouse game\"]\n" + std::string(c.text) + "\n" + gameText("1A. d4 {180}"));
        CGame game, next;
        ASSERT_TRUE(game.readGame(in));
        EXPECT_EQ(game.moveBuffer, c.moves);
        EXPECT_EQ(game.resultDescription, c.description);
        ASSERT_TRUE(next.readGame(in));
        EXPECT_EQ(next.moveBuffer, "1A. d4 {180}\n");
    }
}

TEST(ReadGame, FailsOnBrokenStructure) {
    const char* texts[] = {
        "[Event \"Crazyhouse game\"]\n\n1A. e4 {180}\n",            // no empty line, no closing line
        "[Event \"Crazyhouse game\"]\n\n1A. e4 {180}\n\n",          // no closing line
        "[Event \"Crazyhouse game\"]\n\n1A. e4 {180}\n\n*\n",       // closing line without '{'
        "[Event \"Crazyhouse game\"]\n\n1A. e4 {180}\n\n{open 1-0\n",  // closing line without '}'
        "[Event \"Crazyhouse game\"\n\n1A. e4 {180}\n\n{*} *\n",
        "[Event Crazyhouse]\n\n1A. e4 {180}\n\n{*} *\n",
        "",
    };
    for (const char* text : texts) EXPECT_FALSE(readOne(text)) << text;
}

TEST(ReadGame, Limits) {
    const std::string tags = "[Event \"Crazyhouse game\"]";
    auto withMoveList = [&](size_t length) {  // stored length, its closing newline included
        const std::string move = "1A. e4 {180}";
        return tags + "\n" + move + std::string(length - move.size() - 1, ' ') + "\n\n{*} *\n";
    };
    auto withClosing = [&](size_t length) {  // characters after the '{'
        return tags + "\n1A. e4 {180}\n\n{" + std::string(length - 3, 'x') + "} *\n";
    };
    EXPECT_TRUE(readOne(tags + "[" + std::string(1999, 'N') + " \"v\"]\n1A. e4 {180}\n\n{*} *\n"));
    EXPECT_FALSE(readOne(tags + "[" + std::string(2000, 'N') + " \"v\"]\n1A. e4 {180}\n\n{*} *\n"));
    EXPECT_TRUE(readOne(tags + "[Site \"" + std::string(1999, 'v') + "\"]\n1A. e4 {180}\n\n{*} *\n"));
    EXPECT_FALSE(readOne(tags + "[Site \"" + std::string(2000, 'v') + "\"]\n1A. e4 {180}\n\n{*} *\n"));
    auto longest = readOne(withMoveList(999999));
    ASSERT_TRUE(longest);
    EXPECT_EQ(longest->moveBuffer->size(), 999999u);
    EXPECT_FALSE(readOne(withMoveList(1000000)));
    EXPECT_TRUE(readOne(withClosing(1998)));
    EXPECT_FALSE(readOne(withClosing(1999)));
}

TEST(ParseMoveText, AcceptsTheMoveListGrammar) {
    const struct {
        const char* moves;
        bool bughouse;
        const char* line;  // the main line read, or null when the list fails
    } cases[] = {
        {"1A. e4 {180} 1a. e5 {179}", false, "1A.e4 1a.e5"},
        {"1A.\te4\n{180}\n1a. e5 {179}", false, "1A.e4 1a.e5"},
        {"1A. e4 {180} {White resigns} 1a. e5 {179}", false, "1A.e4"},
        {"1A. e4 {180} ) 1a. e5 {179}", false, "1A.e4"},
        {"{C:start} 1A. e4 {180}", false, "1A.e4"},
        {"1A. analysis {180} 1A. P@e4 {170}", false, "1A.Analysis 2A.P@e4"},
        {"1A. e4 {2147483}", false, "1A.e4"},
        {"1A. e4 {-20}", false, "1A.e4"},
        {"1B. e4 {180} 9b. e5 {180}", true, "1B.e4 1b.e5"},
        {"", false, ""},
        {"{C:only a comment}", false, ""},
        {"1A. e4{180}", false, nullptr},
        {"1A. e4 {179.5} 1a. e5 {179}", false, nullptr},
        {"1A. e4 {180} 1a. e5", false, nullptr},
        {"1A.", false, nullptr},
        {"{A:!} 1A. e4 {180}", false, nullptr},
        {"(1A. e4 {180})", false, nullptr},
        {"1A. e4 {180} x", false, nullptr},
        {"1A. e4 {180} {C:never closed", false, nullptr},
        {"1A. Ke2 {180}", false, nullptr},
        {"1A. e4 {2147484}", false, nullptr},
        {"1A. e4 {-2147484}", false, nullptr},
        {"1B. e4 {180}", false, nullptr},  // board B in a crazyhouse game
        {"1C. e4 {180}", true, nullptr},
        {"1A. Nf3xxxxxxx {180}", false, nullptr},  // a move text longer than 9 characters
    };
    for (const auto& c : cases) {
        CGame game;
        game.variant = c.bughouse ? kBughouse : kCrazyhouse;
        game.moveBuffer = c.moves;
        const bool ok = game.replayGame();
        EXPECT_EQ(ok, c.line != nullptr) << c.moves;
        if (ok && c.line) {
            EXPECT_EQ(mainLine(game), c.line) << c.moves;
        }
    }
}

TEST(ParseMoveText, AttachesAnnotationsCommentsAndVariations) {
    auto game = openOne(gameText("{C:before\nall} 1A. e4 {180} {A:!} {C:first\nmove} (1A. d4 {180}) 1a. e5 {179}"));
    ASSERT_TRUE(game);
    EXPECT_EQ(game->root->comment, "beforeall");
    EXPECT_EQ(mainLine(*game), "1A.e4 1a.e5");
    const GameNode* e4 = game->root->firstChild();
    EXPECT_EQ(e4->annotation, "!");
    EXPECT_EQ(e4->comment, "firstmove");
    ASSERT_EQ(game->root->children.size(), 2u);
    EXPECT_STREQ(game->root->children[1]->moveText, "d4");
    EXPECT_EQ(game->root->children[1]->clockSeconds, 180);
    EXPECT_EQ(e4->firstChild()->clockSeconds, 179);
}

TEST(ParseMoveText, ReportsIllegalMovesWhenOpening) {
    MessageLog log;
    auto game = readOne(gameText("1A. e4 {180} 1a. e5 {179} 2A. ke3 {170}"));
    ASSERT_TRUE(game);
    const std::string moves = *game->moveBuffer;
    EXPECT_FALSE(game->showGame(boards()));
    EXPECT_EQ(log.messages, (std::vector<std::string>{"Illegal move: Ke3", "Error occured, could not show boards."}));
    EXPECT_FALSE(game->root);
    EXPECT_FALSE(game->boardA);
    EXPECT_EQ(game->moveBuffer, moves);

    log.messages.clear();
    EXPECT_FALSE(game->replayGame());  // silent
    EXPECT_TRUE(log.messages.empty());
    EXPECT_FALSE(game->root);
}

std::string nested(int depth) {
    std::string text = "1A. e4 {180} ";
    for (int i = 0; i < depth; ++i) text += "(1A. e4 {180} ";
    return text + std::string(depth, ')');
}

TEST(ParseMoveText, BoundsVariationNesting) {
    // Room for 500 levels, even in a sanitizer build, but not for 50,000.
    runWithSmallStack(
        [] {
            for (const auto& [depth, ok] : {std::pair{500, true}, {501, false}, {50000, false}}) {
                CGame game;
                game.moveBuffer = nested(depth);
                EXPECT_EQ(game.replayGame(), ok) << depth;
            }
        },
        2 << 20);
}

TEST(ParseMoveText, LongMainLineNeedsNoDeepStack) {
    // Knights out and back: 10,000 moves.
    std::string moves;
    const char* cycle[4] = {"Nf3", "Nf6", "Ng1", "Ng8"};
    for (int i = 0; i < 10000; ++i)
        moves += std::to_string(i / 2 + 1) + (i % 2 ? "a. " : "A. ") + cycle[i % 4] + " {180}\n";
    runWithSmallStack([&] {
        auto game = readOne(gameText(moves));
        ASSERT_TRUE(game);
        ASSERT_TRUE(game->showGame(boards()));
        game->toEnd();
        EXPECT_EQ(game->current->moveNumber, 5000);
        game->modified = true;
        game->closeBoards();  // writes the tree back
        auto again = openOne(written(*game));
        ASSERT_TRUE(again);
        EXPECT_EQ(again->mainLineEnd()->moveNumber, 5000);
        again.reset();
        game.reset();
    });
}

}  // namespace
