// Foreign game records (modern BPGN, crazyhouse PGN) imported into the program's own dialect.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "game/importer.h"
#include "test_games.h"

using namespace tandemora_test;
namespace fs = std::filesystem;

namespace {

std::vector<ImportedGame> importGames(const std::string& text) {
    std::istringstream in(text);
    GameImporter importer(in);
    std::vector<ImportedGame> games;
    for (ImportedGame result; importer.next(result);) games.push_back(std::move(result));
    return games;
}

// Every game of `text` as the program writes it, or "skipped: " and the reason.
std::vector<std::string> importAll(const std::string& text) {
    std::vector<std::string> out;
    for (ImportedGame& result : importGames(text))
        out.push_back(result.game ? written(*result.game) : "skipped: " + result.skipReason);
    return out;
}

std::string fileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The nine tag lines the program writes for a game with default players, place and date.
std::string header(Variant variant, const std::string& event, const std::string& timeControl = "180+0",
                   const std::string& result = "*") {
    std::string text = "[Event \"" + event + "\"]\n[Site \"somewhere in the universe\"]\n[Date \"15'th century\"]\n";
    text += "[WhiteA \"WHITE\"][WhiteAElo \"++++\"]\n[BlackA \"BLACK\"][BlackAElo \"++++\"]\n";
    text += variant == kBughouse ? "[WhiteB \"WHITE\"][WhiteBElo \"++++\"]\n[BlackB \"BLACK\"][BlackBElo \"++++\"]\n"
                                 : "[WhiteB \"WHITE\"]\n[BlackB \"BLACK\"]\n";
    return text + "[TimeControl \"" + timeControl + "\"]\n[Result \"" + result + "\"]\n";
}

// One game as the program writes it.
std::string native(const std::string& header, const std::string& moves, const std::string& closing) {
    return header + "\n" + moves + "\n\n" + closing + "\n";
}

// Without a Result tag, the result that ends the moves is the game's.
std::string bughouseHeader(const std::string& result) { return header(kBughouse, "Bughouse game", "180+0", result); }

const struct Excerpt {
    const char* feature;
    std::string input;
    std::vector<std::string> expected;  // each game written, or "skipped: " and its reason
} kExcerpts[] = {
    {"modern BPGN: clocks with decimals glued to the moves, negative ones, a {C: } line straight after "
     "the tags, kibitzes, {R:} dropped, the closing line glued, no final newline",
     "[Event \"Bughouse game\"]\n{C: game 12 of the club night}\n"
     "1A. e4{179.84} 1B. d4{178.2} 1a. e5{177.999} {C:Ann(1650) kibitzes: nice} 1b. d5{-0.576} "
     "{R: Bo requests to abort the game.} 2A. Nf3{-3.9}  \n{Bo resigns} 1-0",
     {native(bughouseHeader("1-0"),
             "{C:game 12 of the club night} 1A. e4 {179} 1B. d4 {178} 1a. e5 {177} {C:Ann(1650) kibitzes: nice}\n"
             "1b. d5 {0} 2A. Nf3 {-3}",
             "{Bo resigns} 1-0")}},
    {"classic BPGN with CRLF line ends and trailing spaces",
     "[Event \"Bughouse game\"]\r\n\r\n1A. e4 {179} 1a. e5 {178} \r\n1B. d4 {177} {A:!?} \r\n\r\n"
     "{Bo checkmated} 1-0 \r\n",
     {native(bughouseHeader("1-0"), "1A. e4 {179} 1a. e5 {178} 1B. d4 {177} {A:!?}", "{Bo checkmated} 1-0")}},
    {"the program's own tags from foreign ones: dates with dashes, UNR and 0 ratings, a time control "
     "without increment, other tags kept in their order after the program's own",
     "[Event \"FICS rated bughouse match\"][Site \"freechess.org\"]\n[Date \"2020-03-31\"][Time \"16:45:40\"]\n"
     "[WhiteA \"Ann\"][WhiteAElo \"UNR\"][BlackA \"Bo\"][BlackAElo \"1712\"]\n"
     "[WhiteB \"Cy\"][WhiteBElo \"0\"][BlackB \"Di\"][BlackBElo \"1650\"]\n"
     "[TimeControl \"120\"][Lag \"10 12\"][Round \"-\"][Result \"0-1\"]\n"
     "1A. e4{119.5} 1a. e5{118}\n{Ann forfeits on time} 0-1\n",
     {"[Event \"FICS rated bughouse match\"]\n[Site \"freechess.org\"]\n[Date \"2020.03.31\"]\n"
      "[WhiteA \"Ann\"][WhiteAElo \"++++\"]\n[BlackA \"Bo\"][BlackAElo \"1712\"]\n"
      "[WhiteB \"Cy\"][WhiteBElo \"++++\"]\n[BlackB \"Di\"][BlackBElo \"1650\"]\n"
      "[TimeControl \"120+0\"]\n[Result \"0-1\"]\n[Time \"16:45:40\"]\n[Lag \"10 12\"]\n[Round \"-\"]\n\n"
     "1A. e4 {119} 1a. e5 {118}\n\n{Ann forfeits on time} 0-1\n"}},
    {"a variant word the reader does not take is added to the Event",
     "[Event \"Club BugHouse night\"]\n\n1B. d4 {179}\n\n{*} *\n",
     {native(header(kBughouse, "Club BugHouse night (bughouse)"), "1B. d4 {179}", "{*} *")}},
    {"lichess PGN: %clk with spaces inside the braces, a Variant tag, a comment beside the clock, the "
     "last comment as the closing description",
     "[Event \"Casual Bullet game\"]\n[Variant \"Crazyhouse\"]\n[WhiteElo \"?\"]\n[TimeControl \"60+1\"]\n\n"
     "1. e4 { [%clk 0:01:00] } 1... e5 { [%clk 0:00:59.7] the usual reply } 2. Nf3 { [%clk 0:00:58] } "
     "{ White wins on time. } 1-0\n",
     {native(header(kCrazyhouse, "Casual Bullet game (crazyhouse)", "60+1", "1-0") + "[Variant \"Crazyhouse\"]\n",
             "1A. e4 {60} 1a. e5 {59} {C:the usual reply} 2A. Nf3 {58}", "{White wins on time.} 1-0")}},
    {"%emt, in seconds or h:mm:ss, is taken from the mover's previous time; CRLF",
     "[Event \"FICS rated crazyhouse game\"]\r\n[TimeControl \"120+0\"]\r\n\r\n"
     "1. e4 {[%emt 1.5]} e5 {[%emt 0.0]} 2. Nf3 {[%emt 10.9]} Nc6 {[%emt 0:00:02]} {Black resigns} 1-0\r\n",
     {native(header(kCrazyhouse, "FICS rated crazyhouse game", "120+0", "1-0"),
             "1A. e4 {118} 1a. e5 {120} 2A. Nf3 {107} 2a. Nc6 {118}", "{Black resigns} 1-0")}},
    {"ordinary PGN without clocks: the base time on every move, glued and black move numbers, drops, "
     "marks and NAGs, text comments",
     "[Event \"internet, rated crazyhouse match\"]\n[Round \"-\"]\n[TimeControl \"120\"]\n\n"
     "1.e4 e6 2.d4 d5 3.exd5 exd5 4.Nf3 {a quiet line} 4... Nf6 5.P@e5 $1 Ne4 6.Bd3 Bb4+?! 7.c3 P@d2+\n"
     "{White resigns} 0-1\n",
     {native(header(kCrazyhouse, "internet, rated crazyhouse match", "120+0", "0-1") + "[Round \"-\"]\n",
             "1A. e4 {120} 1a. e6 {120} 2A. d4 {120} 2a. d5 {120} 3A. exd5 {120} 3a. exd5 {120}\n"
             "4A. Nf3 {120} {C:a quiet line} 4a. Nf6 {120} 5A. P@e5 {120} {A:!} 5a. Ne4 {120}\n"
             "6A. Bd3 {120} 6a. Bb4+ {120} {A:?!} 7A. c3 {120} 7a. P@d2+ {120}",
             "{White resigns} 0-1")}},
    {"variations replace the move before them, nested and in black's turn; each starts from the clocks "
     "of its position and the main line goes on with its own",
     "[Event \"Rated Crazyhouse game\"]\n\n1. e4 {[%clk 0:02:50]} e5 {[%clk 0:02:40]} "
     "(1... c5 {[%clk 0:02:55]} 2. Nf3 (2. c3 {the Alapin}) 2... d6) 2. Nf3 Nc6 *\n",
     {native(header(kCrazyhouse, "Rated Crazyhouse game"),
             "1A. e4 {170} 1a. e5 {160} (1a. c5 {175} 2A. Nf3 {170} (2A. c3 {170} {C:the Alapin}\n"
             ") 2a. d6 {175}) 2A. Nf3 {170} 2a. Nc6 {160}",
             "{} *")}},
    {"a byte-order mark, an en-passant remark apart from its move, the result after the moves without a "
     "Result tag",
     "\xEF\xBB\xBF[Event \"crazyhouse x\"]\n\n1. e4 d5 2. exd5 e5 3. dxe6 e.p. Nf6 1-0\n",
     {native(header(kCrazyhouse, "crazyhouse x", "180+0", "1-0"),
             "1A. e4 {180} 1a. d5 {180} 2A. exd5 {180} 2a. e5 {180} 3A. dxe6 {180} 3a. Nf6 {180}", "{} 1-0")}},
    {"games that cannot be imported are skipped with their reason, and the next one still is imported",
     "[Event \"Bughouse game\"][Setup \"1\"]\n[FEN \"8/8/8/4k3/8/8/8/4K3/Q w - - 0 1 | 8/8/8/4k3/8/8/8/4K3 w - - 0 1\"]\n"
     "14B. Kd2{170}\n{Bo resigns} 1-0\n\n"
     "[Event \"Bughouse game\"]\n1A. e4{179} 1a. e5{179} 2A. Qxf7{170} (2A. Nf3{170}) 2a. Nc6{178}\n"
     "{Ann resigns} 0-1\n\n"
     "[Event \"Rated blitz game\"]\n\n1. e4 e5 1-0\n\n"
     "[Event \"Bughouse game\"]\n1B. d4{179.5}\n{Di resigns} 0-1\n",
     {"skipped: starts from a set-up position", "skipped: illegal move 2A. Qxf7",
      "skipped: not a bughouse or crazyhouse game", native(bughouseHeader("0-1"), "1B. d4 {179}", "{Di resigns} 0-1")}},
    {"a kept tag whose name differs from one the program knows only after a NUL byte stays another tag",
     std::string("[Event \"crazyhouse x\"]\n[TimeControl\0x \"\"]\n\n1. e4 *\n", 51),
     {native(header(kCrazyhouse, "crazyhouse x") + std::string("[TimeControl\0x \"\"]\n", 19), "1A. e4 {180}",
             "{} *")}},
    {"a tag block without moves or result is a game of its own, not the next game's header",
     "[Event \"Bughouse game, round 1\"]\n\n[Event \"Bughouse game, round 2\"]\n1A. e4{179}\n{Bo resigns} 1-0\n",
     {native(header(kBughouse, "Bughouse game, round 1"), "", "{} *"),
      native(header(kBughouse, "Bughouse game, round 2", "180+0", "1-0"), "1A. e4 {179}", "{Bo resigns} 1-0")}},
};

TEST(Import, DialectExcerpts) {
    for (const Excerpt& excerpt : kExcerpts) {
        SCOPED_TRACE(excerpt.feature);
        EXPECT_EQ(importAll(excerpt.input), excerpt.expected);
    }
}

// A game longer than the program reads is given up where it passes the limit, before the
// illegal move far beyond it, and the next game is still imported.
TEST(Import, GivesUpAnOverlongGameAtTheLimit) {
    // Knights out and back, each move with a long comment: 1,100 moves of about 1,000 characters.
    std::string moves;
    const std::string comment = " {" + std::string(990, 'c') + "} ";
    const char* cycle[4] = {"Nf3", "Nf6", "Ng1", "Ng8"};
    for (int i = 0; i < 1100; ++i) moves += (i % 2 ? "" : std::to_string(i / 2 + 1) + ". ") + cycle[i % 4] + comment;
    const std::vector<std::string> games =
        importAll("[Event \"crazyhouse\"]\n\n" + moves + "Ke5 *\n\n[Event \"crazyhouse\"]\n\n1. e4 *\n");
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0], "skipped: a move list longer than the program reads");
    EXPECT_NE(games[1].find("\n1A. e4 {180}\n"), std::string::npos);
}

TEST(Import, CountsAndDescribesTheSkippedGames) {
    const struct {
        std::string input;
        int imported;
        const char* skipped;
    } cases[] = {
        {kExcerpts[0].input, 1, ""},
        {"[Event \"chess\"]\n1. e4 *\n\n[Event \"blitz\"]\n1. e4 *\n", 0,
         "2 are not bughouse or crazyhouse games and are skipped"},
        {kExcerpts[9].input, 1,
         "3 are skipped: 1 starts from a set-up position, 1 is not a bughouse or crazyhouse game, 1 has moves "
         "that do not replay"},
    };
    for (const auto& c : cases) {
        ImportCounts counts;
        for (const ImportedGame& game : importGames(c.input)) counts.add(game);
        EXPECT_EQ(counts.imported, c.imported) << c.input;
        EXPECT_EQ(describeSkipped(counts), c.skipped) << c.input;
    }
}

// What the program's own files give when imported is what reading, replaying and saving them gives.
TEST(Import, NativeFilesGiveWhatRewriteGives) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(TANDEMORA_SOURCE_DIR "/examples")) {
        SCOPED_TRACE(entry.path().string());
        const std::string text = fileText(entry.path());
        std::istringstream in(text);
        std::vector<std::string> rewritten;
        for (auto game = std::make_unique<CGame>(); game->readGame(in); game = std::make_unique<CGame>()) {
            ASSERT_TRUE(game->replayGame());
            rewritten.push_back(written(*game));
        }
        EXPECT_FALSE(rewritten.empty());
        EXPECT_EQ(importAll(text), rewritten);
        ++files;
    }
    EXPECT_GT(files, 0);
}

// Clocks, annotations, comments and variations of imported games survive a save and a read.
TEST(Import, ImportedGamesSurviveWriteAndRead) {
    for (const Excerpt& excerpt : kExcerpts) {
        SCOPED_TRACE(excerpt.feature);
        for (ImportedGame& imported : importGames(excerpt.input)) {
            if (!imported.game) continue;
            const std::string text = written(*imported.game);
            auto again = readOne(text);
            ASSERT_TRUE(again && again->replayGame()) << text;
            EXPECT_EQ(written(*again), text);
        }
    }
}

// Every game of the players' own files imports and replays, but for the one from a set-up position.
TEST(Import, RealWorldFiles) {
    const fs::path folder = TANDEMORA_SOURCE_DIR "/../shared/data/realworld";
    if (!fs::is_directory(folder)) GTEST_SKIP() << folder << " is not present";
    int games = 0;
    int bughouseMoves = 0;  // main-line moves of the 2005 bughouse file, which its description counts
    std::vector<std::string> skipped;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || (path.extension() != ".bpgn" && path.extension() != ".pgn")) continue;
        int number = 0;
        for (ImportedGame& imported : importGames(fileText(path))) {
            ++games;
            ++number;
            if (!imported.game) {
                skipped.push_back(path.filename().string() + ": " + imported.skipReason);
                continue;
            }
            auto again = readOne(written(*imported.game));
            ASSERT_TRUE(again && again->replayGame()) << path << " game " << number;
            if (path.filename() == "fatics_data_bughouse.bpgn")
                for (const GameNode* n = again->root->firstChild(); n; n = n->firstChild()) ++bughouseMoves;
        }
    }
    EXPECT_EQ(games, 1405);
    EXPECT_EQ(bughouseMoves, 1564);
    EXPECT_EQ(skipped, std::vector<std::string>{"bpgn_standard_samples.bpgn: starts from a set-up position"});
}

}  // namespace
