// Games written for other programs (crazyhouse PGN, archive BPGN) and read back by the importer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_export.h"
#include "game/importer.h"
#include "test_games.h"

using namespace tandemora_test;
namespace fs = std::filesystem;

namespace {

// The games of a text exported, each as the importer reads it back; the report in `report`.
std::vector<std::unique_ptr<CGame>> exportAndImport(const std::string& text, std::string& exported,
                                                    std::string& report) {
    std::ostringstream out, lines;
    ExportTally tally;
    EXPECT_TRUE(exportGames(text, out, lines, tally));
    exported = out.str();
    report = lines.str();
    std::istringstream in(exported);
    GameImporter importer(in);
    std::vector<std::unique_ptr<CGame>> games;
    for (ImportedGame imported; importer.next(imported);) {
        EXPECT_TRUE(imported.game) << imported.skipReason;
        if (imported.game && imported.game->replayGame()) games.push_back(std::move(imported.game));
    }
    return games;
}

std::unique_ptr<CGame> playedGame(Variant variant, const std::string& moves) {
    auto game = newGame(variant);
    EXPECT_TRUE(play(*game, moves)) << moves;
    int clock = 180;
    for (GameNode* node = game->root->firstChild(); node; node = node->firstChild()) node->clockSeconds = clock--;
    return game;
}

// Export and import give back the same moves, clocks, marks, comments and variations.
TEST(Export, ImportReadsBackWhatWasExported) {
    const struct {
        const char* feature;
        Variant variant;
        const char* moves;
    } cases[] = {
        {"en passant, check, castling both sides", kCrazyhouse,
         "A:e4 a:d5 A:e5 a:f5 A:exf6 a:Nxf6 A:Nf3 a:Bf5 A:Bb5+ a:c6 A:O-O a:Qd6 A:d3 a:Nbd7 A:Re1 a:O-O-O"},
        {"promotions with captures, a promoted piece taken back as a pawn, drops", kCrazyhouse,
         "A:e4 a:f5 A:exf5 a:g6 A:fxg6 a:Nf6 A:gxh7 a:Rg8 A:hxg8=Q a:Nxg8 A:P@h7 a:P@e4 A:hxg8=N a:d5 A:R@h8"},
        {"mate", kCrazyhouse, "A:f3 a:e5 A:g4 a:Qh4"},
        {"both boards of a bughouse game", kBughouse, "A:e4 B:d4 a:d5 b:Nf6 A:exd5 B:c4 a:Qxd5 A:Nc3 a:Qe6+"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.feature);
        auto game = playedGame(c.variant, c.moves);
        GameNode* second = game->root->firstChild()->firstChild();
        second->annotation = "!?";
        second->comment = "the usual reply";
        game->root->comment = "from the start";
        game->mainLineEnd()->annotation = "??";
        game->moveTo(game->root->firstChild());
        ASSERT_TRUE(play(*game, c.variant == kBughouse ? "B:e4" : "a:c5"));  // a variation on the second move
        game->current->comment = "another try";
        game->resultDescription = "Black resigns";
        std::string exported, report;
        auto again = exportAndImport(written(*game), exported, report);
        EXPECT_EQ(report, "1 ok\n");
        ASSERT_EQ(again.size(), 1u) << exported;
        EXPECT_EQ(describeTree(*again[0], TreeDetail::kMoves), describeTree(*game, TreeDetail::kMoves)) << exported;
        EXPECT_EQ(again[0]->resultDescription, "Black resigns");
    }
}

TEST(Export, CrazyhouseGamesAsStandardPgn) {
    auto game = playedGame(kCrazyhouse, "A:f3 a:e5 A:g4 a:Qh4");
    game->WhiteA = "Ann \\ Bo";
    game->BlackAElo = 1712;
    game->Date = "2021-10-05";
    game->Result = "0-1";
    game->resultDescription = "Ann checkmated";
    game->otherTags = {makeOtherTag("Round", "7"), makeOtherTag("Variant", "crazyhouse"), makeOtherTag("Lag", "1 2")};
    game->mainLineEnd()->comment = "a nice finish";
    game->moveTo(game->root->firstChild()->firstChild());
    ASSERT_TRUE(play(*game, "A:d4"));
    std::string exported, report;
    exportAndImport(written(*game), exported, report);
    EXPECT_EQ(exported,
              "[Event \"Crazyhouse game\"]\n[Site \"somewhere in the universe\"]\n[Date \"2021.10.05\"]\n"
              "[Round \"7\"]\n[White \"Ann \\\\ Bo\"]\n[Black \"BLACK\"]\n[Result \"0-1\"]\n"
              "[Variant \"Crazyhouse\"]\n[TimeControl \"180+0\"]\n[BlackElo \"1712\"]\n[Lag \"1 2\"]\n\n"
              "1. f3 {[%clk 0:03:00]} 1... e5 {[%clk 0:02:59]} 2. g4 {[%clk 0:02:58]} ( 2. d4\n"
              "{[%clk 0:03:00]} ) 2... Qh4# {[%clk 0:02:57]} {a nice finish} {Ann checkmated}\n"
              "0-1\n\n");
}

// An analysis step has no PGN; a game that does not replay is skipped with its reason.
TEST(Export, SkipsWhatPgnCannotHold) {
    auto analysed = playedGame(kCrazyhouse, "A:e4 a:analysis");
    const std::string broken = gameText("1A. e4 {180} 1a. e5 {180} 2A. Ke3 {170}");
    std::string exported, report;
    exportAndImport(written(*analysed) + broken + written(*playedGame(kCrazyhouse, "A:e4")), exported, report);
    EXPECT_EQ(report, "1 skipped an analysis step, which PGN cannot hold\n2 skipped illegal move 2A. Ke3\n3 ok\n");
}

// Every crazyhouse game of the players' archives, exported and imported again, is what
// importing it gives.
TEST(Export, RealWorldCrazyhouseGames) {
    const fs::path folder = TANDEMORA_SOURCE_DIR "/../shared/data/realworld/crazyhouse";
    if (!fs::is_directory(folder)) GTEST_SKIP() << folder << " is not present";
    int games = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        std::string exported, report;
        const auto again = exportAndImport(text, exported, report);
        std::istringstream in(text);
        GameImporter importer(in);
        size_t n = 0;
        for (ImportedGame imported; importer.next(imported); ++n) {
            ASSERT_TRUE(imported.game && imported.game->replayGame());
            ASSERT_LT(n, again.size()) << entry.path();
            EXPECT_EQ(describeTree(*again[n], TreeDetail::kMoves), describeTree(*imported.game, TreeDetail::kMoves)) << entry.path() << " game " << n + 1;
        }
        EXPECT_EQ(n, again.size());
        games += static_cast<int>(n);
    }
    EXPECT_EQ(games, 1382);
}

}  // namespace
