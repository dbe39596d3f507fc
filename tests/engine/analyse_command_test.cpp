// tandemora-cli analyse against the scripted engine, and once against the real one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/blocking_engine.h"
#include "engine/engine_path.h"
#include "game/game_file.h"

namespace fs = std::filesystem;
using namespace tandemora;

namespace {

// White leaves the queen to the bishop on move 2.
const char kHangingQueen[] =
    "[Event \"Crazyhouse game\"]\n\n"
    "1A. e4 {180} 1a. d5 {180} 2A. Qg4 {179} {C:centre} 2a. Bxg4 {178}\n\n"
    "{Game over} *\n";

// Each position of that game, with the evaluation from its side to move and the best move.
const char kTable[] =
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w => info depth 9 score cp 30 pv e2e4 ; bestmove e2e4\n"
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b => info depth 9 score cp -30 pv d7d5 ; bestmove d7d5\n"
    "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR[] w => info depth 9 score cp 20 pv e4d5 ; bestmove e4d5\n"
    "rnbqkbnr/ppp1pppp/8/3p4/4P1Q1/8/PPPP1PPP/RNB1KBNR[] b => info depth 9 score cp 900 pv c8g4 ; bestmove c8g4\n"
    "rn1qkbnr/ppp1pppp/8/3p4/4P1b1/8/PPPP1PPP/RNB1KBNR[q] w => info depth 9 score cp -900 pv e4d5 ; bestmove e4d5\n";

struct CliRun {
    int status = -1;
    std::string output;  // standard output and error
};

CliRun runCli(const std::string& arguments) {
    CliRun run;
    const std::string command = std::string("'") + TANDEMORA_BINARY_DIR + "/tandemora-cli' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class AnalyseCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tandemora-analyse-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        write("game.bpgn", kHangingQueen);
        write("table", kTable);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string& name, const std::string& text) { std::ofstream(dir_ / name) << text; }
    std::string path(const std::string& name) const {
        std::string quoted = "'";  // built up step by step: GCC 12 warns wrongly about "'" + string
        quoted += (dir_ / name).string();
        return quoted + "'";
    }
    std::string engineOption() const { return " --engine '" FAKE_ENGINE "'"; }

    fs::path dir_;
};

}  // namespace

TEST_F(AnalyseCommand, MarksTheHangingQueenAndCommentsIt) {
    // The table reaches the engine through the environment the command line inherits.
    ::setenv("TANDEMORA_FAKE_ENGINE_TABLE", (dir_ / "table").c_str(), 1);
    const CliRun analysed = runCli("analyse " + path("game.bpgn") + " -o " + path("out.bpgn") + engineOption());
    EXPECT_EQ(analysed.status, 0) << analysed.output;
    EXPECT_EQ(analysed.output,
              "game 1 crazyhouse\n"
              "1A. e4 +0.30 +0.30 e4\n"
              "1a. d5 +0.30 +0.20 d5\n"
              "2A. Qg4 +0.20 -9.00 exd5 mistake\n"
              "2a. Bxg4 -9.00 -9.00 Bxg4\n"
              "1 games, 0 failed, 5 positions, 1 mistakes\n");
    auto text = readFileText((dir_ / "out.bpgn").string());
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("{C:centre Better: exd5 (+0.20)}"), std::string::npos) << *text;
    GameFileReader reader(*text);
    auto game = reader.next();
    ASSERT_TRUE(game && game->replayGame());
    EXPECT_EQ(*game->root->firstChild()->firstChild()->firstChild()->comment, "centre Better: exd5 (+0.20)");
}

TEST_F(AnalyseCommand, EngineAndCommandLineProblems) {
    write("crash", "* => crash\n");
    ::setenv("TANDEMORA_FAKE_ENGINE_TABLE", (dir_ / "crash").c_str(), 1);
    const struct {
        const char* name;
        std::string arguments;
        int status;
        std::string says;
    } cases[] = {
        {"missing engine", "analyse " + path("game.bpgn") + " --engine " + path("no-engine"), 2,
         "Fairy-Stockfish is not installed: sudo apt-get install fairy-stockfish, or give its program with --engine"},
        {"not an engine", "analyse " + path("game.bpgn") + " --engine /bin/true", 2,
         "/bin/true does not speak UCI: the engine stopped\n"},
        {"no file", "analyse --movetime 5", 2, "usage: tandemora-cli analyse"},
        {"bad movetime", "analyse " + path("game.bpgn") + " --movetime fast", 2, "usage: tandemora-cli analyse"},
        {"crashing engine", "analyse " + path("game.bpgn") + " -o " + path("out.bpgn") + engineOption(), 1,
         "game 1: the engine stopped"},
        {"missing game", "analyse " + path("game.bpgn") + " --game 2" + engineOption(), 1, "there is no game 2"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.name << '\n' << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.name << '\n' << run.output;
    }
    EXPECT_FALSE(fs::exists(dir_ / "out.bpgn")) << "a failed analysis leaves no output file";
}

TEST(RealEngine, FindsTheMateInOne) {
    if (::access(kDefaultEnginePath, X_OK) != 0) GTEST_SKIP() << "Fairy-Stockfish is not installed";
    BlockingEngine engine;
    std::string error;
    ASSERT_EQ(engine.start(kDefaultEnginePath, {}, error), EngineStart::kStarted) << error;
    // White drops the queen in its pocket on e7, guarded by the king.
    const auto evaluation = engine.evaluate("4k3/8/4K3/8/8/8/8/8[Q] w - - 0 1", EngineVariant::kBughouse, 200, error);
    ASSERT_TRUE(evaluation) << error;
    EXPECT_EQ(evaluation->bestMove, "Q@e7");
    EXPECT_EQ(formatScore(evaluation->score), "#1");
}
