// Runs the built tandemora-cli on the bundled examples and on small files written here.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/compressed_text.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::vector<std::string> lines;  // what it printed; with runCli, standard error too
};

// The shell's words that run tandemora-cli with `arguments`.
std::string cliCommand(const std::string& arguments) {
    return std::string("'") + TANDEMORA_BINARY_DIR + "/tandemora-cli' " + arguments;
}

// Runs a shell command line and collects what it prints.
CliRun runShell(const std::string& command) {
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    return run;
}

// `shellSetup` runs in the shell first, for limits the program then inherits.
CliRun runCli(const std::string& arguments, const std::string& shellSetup = "") {
    return runShell(shellSetup + cliCommand(arguments) + " 2>&1");
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string quoted(const fs::path& path) {
    std::string text = "'";
    text += path.string();
    return text + "'";
}

fs::path example(const std::string& name) { return fs::path(TANDEMORA_SOURCE_DIR) / "examples" / name; }

// One game as six lines: two tags, an empty line, the moves, an empty line, the closing line.
std::string game(const std::string& event, const std::string& moves) {
    return "[Event \"" + event + "\"]\n[Result \"1-0\"]\n\n" + moves + "\n\n{Black resigns} 1-0\n";
}
std::string zhGame(const std::string& moves) { return game("Crazyhouse game", moves); }

const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq";

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tandemora-cli-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, const std::string& text) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    fs::path dir_;
};

TEST_F(CliTest, ExamplesReplayAndAreAlreadyInTheWrittenLayout) {
    const struct {
        const char* file;
        int games;
        bool bughouse;
    } cases[] = {
        {"crazyhouse-sampler.bpgn", 3, false},
        {"bughouse-club.bpgn", 2, true},
        {"openings-lesson.bpgn", 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const CliRun check = runCli("check " + quoted(example(c.file)));
        EXPECT_EQ(check.status, 0);
        ASSERT_EQ(check.lines.size(), static_cast<size_t>(c.games + 1));
        for (int n = 1; n <= c.games; ++n) {
            const std::string& line = check.lines[n - 1];
            EXPECT_EQ(line.rfind(std::to_string(n) + " ok ", 0), 0u) << line;
            EXPECT_EQ(line.find(" | ") != std::string::npos, c.bughouse) << line;
        }
        EXPECT_EQ(check.lines.back(), std::to_string(c.games) + " games, 0 failed");

        // Written by the program itself, so rewriting changes nothing, byte for byte.
        const fs::path out = dir_ / c.file;
        EXPECT_EQ(runCli("rewrite " + quoted(example(c.file)) + " " + quoted(out)).status, 0);
        EXPECT_EQ(readBytes(out), readBytes(example(c.file)));
    }
}

TEST_F(CliTest, CheckReportsEachGameAndTheSummary) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> expected;  // "%f" stands for the file's path
        int status;
    } cases[] = {
        {"two moves", zhGame("1A. e4 {180} 1a. e5 {179}"),
         {"1 ok rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR[] w KQkq", "1 games, 0 failed"}, 0},
        {"no moves", "[Event \"Crazyhouse game\"]\n\n\n{Game aborted} *\n", {"1 ok " + kStart, "1 games, 0 failed"}, 0},
        {"capture passes to the partner's board",
         game("Bughouse game", "1A. e4 {180} 1B. d4 {180} 1a. d5 {179} 2A. exd5 {178}"),
         {"1 ok rnbqkbnr/ppp1pppp/8/3P4/8/8/PPPP1PPP/RNBQKBNR[] b KQkq | "
          "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR[p] b KQkq",
          "1 games, 0 failed"},
         0},
        {"illegal move", zhGame("1A. e4 {180}") + zhGame("1A. e4 {180} 1a. e5 {179} 2A. Nxe5 {178}"),
         {"1 ok rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b KQkq", "2 error illegal move 2A. Nxe5",
          "2 games, 1 failed"},
         1},
        {"unreadable text after a game", zhGame("1A. e4 {180}") + "\n  this is no game\n",
         {"1 ok rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b KQkq",
          "%f: reading stopped at line 8: game 2 is not readable", "2 games, 1 failed"},
         1},
        {"games after an unreadable one are not read",
         zhGame("") + game("Chess game", "1A. e4 {180}") + zhGame("1A. d4 {180}"),
         {"1 ok " + kStart, "%f: reading stopped at line 7: game 2 is not readable", "2 games, 1 failed"}, 1},
        {"lines counted in a CR LF file", "[Event \"Crazyhouse game\"]\r\n\r\n1A. e4 {180}\r\n\r\n{x} *\r\n\r\n[Oops",
         {"1 ok rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b KQkq",
          "%f: reading stopped at line 7: game 2 is not readable", "2 games, 1 failed"},
         1},
        {"blank file", " \n\n", {"0 games, 0 failed"}, 0},
        {"moves read in part, after a stray ')'", zhGame("1A. e4 {180}") + zhGame("1A. d4 {180}\n ) 1a. e5 {179}"),
         {"1 ok rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b KQkq",
          "2 ok rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR[] b KQkq (moves read only up to line 11, column 2)",
          "2 games, 0 failed, 1 read only in part"},
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = write("games.bpgn", c.text);
        std::vector<std::string> expected = c.expected;
        for (std::string& line : expected)
            if (line.rfind("%f", 0) == 0) line.replace(0, 2, file.string());
        const CliRun run = runCli("check " + quoted(file));
        EXPECT_EQ(run.lines, expected);
        EXPECT_EQ(run.status, c.status);
    }
}

TEST_F(CliTest, CheckNumbersGamesPerFileUnderAHeaderPerFile) {
    const fs::path first = write("first.bpgn", zhGame("1A. e4 {180}") + zhGame(""));
    const fs::path second = write("second.bpgn", zhGame(""));
    const fs::path missing = dir_ / "missing.bpgn";
    const CliRun run =
        runCli("check " + quoted(first) + " " + quoted(second) + " " + quoted(missing) + " " + quoted(dir_));
    const std::vector<std::string> expected = {
        first.string() + ":", "1 ok rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b KQkq", "2 ok " + kStart,
        second.string() + ":", "1 ok " + kStart,
        missing.string() + ":", missing.string() + ": cannot open",
        dir_.string() + ":", dir_.string() + ": cannot open",
        "3 games, 0 failed"};
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(run.status, 1);
}

TEST_F(CliTest, WrongCommandLinesShowTheUsage) {
    for (const char* arguments :
         {"", "check", "rewrite only-in.bpgn", "rewrite a b c", "frobnicate x", "import a.pgn", "import -o out"}) {
        SCOPED_TRACE(arguments);
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 2);
        ASSERT_FALSE(run.lines.empty());
        EXPECT_EQ(run.lines.front().rfind("usage: tandemora-cli check", 0), 0u);
    }
    for (const char* arguments : {"export a.bpgn -o out", "export a.bpgn --pgn", "export a.bpgn b.bpgn -o out --pgn"}) {
        SCOPED_TRACE(arguments);
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.lines, std::vector<std::string>{"usage: tandemora-cli export IN -o OUT --pgn"});
    }
    EXPECT_EQ(runCli("--help").status, 0);
}

TEST_F(CliTest, RewriteNormalisesAndIsStable) {
    // Loose spacing, a lower-case piece letter, a move without its check mark, a tag kept after the program's own.
    const fs::path in = write("loose.bpgn",
                              "[Event \"Crazyhouse blitz\"] [Round \"3\"]\n[WhiteA \"Ann\"] [Result \"1-0\"]\n\n"
                              "1A.  e4 {180}\n1a. f6 {179}   {A:?}\n2A. d4 {178}\t2a. g5 {177} "
                              "(2a. e5 {176}) 3A. qh5 {175}\n\n  {Black checkmated} 1-0\n");
    const fs::path once = dir_ / "once.bpgn", twice = dir_ / "twice.bpgn";
    ASSERT_EQ(runCli("rewrite " + quoted(in) + " " + quoted(once)).status, 0);
    EXPECT_EQ(readBytes(once),
              "[Event \"Crazyhouse blitz\"]\n[Site \"somewhere in the universe\"]\n[Date \"15'th century\"]\n"
              "[WhiteA \"Ann\"][WhiteAElo \"++++\"]\n[BlackA \"BLACK\"][BlackAElo \"++++\"]\n[WhiteB \"WHITE\"]\n"
              "[BlackB \"BLACK\"]\n[TimeControl \"180+0\"]\n[Result \"1-0\"]\n[Round \"3\"]\n\n"
              "1A. e4 {180} 1a. f6 {179} {A:?} 2A. d4 {178} 2a. g5 {177} (2a. e5 {176}) 3A. Qh5+ {175}\n"
              "\n{Black checkmated} 1-0\n");
    ASSERT_EQ(runCli("rewrite " + quoted(once) + " " + quoted(twice)).status, 0);
    EXPECT_EQ(readBytes(twice), readBytes(once));

    // OUT may be IN itself.
    ASSERT_EQ(runCli("rewrite " + quoted(in) + " " + quoted(in)).status, 0);
    EXPECT_EQ(readBytes(in), readBytes(once));
}

TEST_F(CliTest, RewriteKeepsAGameThatDoesNotReplay) {
    const fs::path in = write("in.bpgn", zhGame("1A. e4 {180}") + zhGame("1A. e4 {180}  1a. e5 {179} 2A. Ke3 {178}"));
    const fs::path out = dir_ / "out.bpgn";
    const CliRun run = runCli("rewrite " + quoted(in) + " " + quoted(out));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.lines, std::vector<std::string>{"2 error illegal move 2A. Ke3 (written unchanged)"});
    EXPECT_NE(readBytes(out).find("\n1A. e4 {180}  1a. e5 {179} 2A. Ke3 {178}\n\n{Black resigns} 1-0\n"),
              std::string::npos);
}

// The small files that once lost games: rewriting keeps every game, each as check saw it.
TEST_F(CliTest, RewriteKeepsEveryGameOfTheReproducers) {
    // Where moves were read only in part moves down with the rewritten tags: that is left out.
    auto withoutPlaces = [](std::vector<std::string> lines) {
        for (std::string& line : lines) line = line.substr(0, line.find(" (moves read only"));
        return lines;
    };
    for (const auto& [file, status] : {std::pair{"empty-closing-line.bpgn", 0}, {"comment-closing-line.bpgn", 0},
                                       {"read-in-part.bpgn", 3}}) {
        SCOPED_TRACE(file);
        const fs::path in = fs::path(TANDEMORA_SOURCE_DIR) / "tests/fuzz/corpus" / file, out = dir_ / file;
        const CliRun before = runCli("check " + quoted(in));
        EXPECT_EQ(runCli("rewrite " + quoted(in) + " " + quoted(out)).status, status);
        const CliRun after = runCli("check " + quoted(out));
        EXPECT_EQ(withoutPlaces(after.lines), withoutPlaces(before.lines));
        EXPECT_EQ(after.status, status);
    }
}

TEST_F(CliTest, RewriteLeavesOutAloneWhenItCannotFinish) {
    const fs::path unreadable = write("unreadable.bpgn", zhGame("1A. e4 {180}") + "[Event \"Chess\"]\n");
    const fs::path out = write("out.bpgn", "precious\n");
    const struct {
        const char* name;
        fs::path in, out;
    } cases[] = {
        {"reading stops", unreadable, out},
        {"IN missing", dir_ / "missing.bpgn", out},
        {"OUT's folder missing", dir_ / "in.bpgn", dir_ / "no-such-folder" / "out.bpgn"},
        {"OUT is a folder", dir_ / "in.bpgn", dir_},
    };
    write("in.bpgn", zhGame(""));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runCli("rewrite " + quoted(c.in) + " " + quoted(c.out)).status, 1);
        EXPECT_FALSE(fs::exists(c.out.string() + ".tmp"));
    }
    EXPECT_EQ(readBytes(out), "precious\n");
    EXPECT_FALSE(fs::exists(dir_ / "no-such-folder"));
}

TEST_F(CliTest, ImportReportsEachGameAndWritesWhatCheckReads) {
    const fs::path pgn = write("games.pgn",
                               "[Event \"Crazyhouse blitz\"]\n[White \"Ann\"]\n[Result \"1-0\"]\n\n"
                               "1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# {Black checkmated} 1-0\n\n"
                               "[Event \"Crazyhouse blitz\"]\n[SetUp \"1\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n"
                               "1. Kb1 *\n\n"
                               "[Event \"rated crazyhouse game\"]\n\n1. e4 e5 2. Ke3 *\n");
    const fs::path bpgn = write("modern.bpgn",
                                "[Event \"bughouse match\"]\n[WhiteA \"Ann\"][WhiteAElo \"UNR\"]\n"
                                "[TimeControl \"120\"]\n[Result \"*\"]\n1A. e4{119.9} 1B. d4{118.5}\n{Game aborted} *");
    const fs::path out = dir_ / "out.bpgn";
    const CliRun run = runCli("import " + quoted(pgn) + " " + quoted(bpgn) + " -o " + quoted(out));
    const std::vector<std::string> expected = {
        pgn.string() + ":", "1 ok", "2 skipped starts from a set-up position", "3 skipped illegal move 2. Ke3",
        bpgn.string() + ":", "1 ok", "2 are skipped: 1 starts from a set-up position, 1 has moves that do not replay",
        "4 games, 2 imported, 2 skipped"};
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(run.status, 1);
    const CliRun check = runCli("check " + quoted(out));
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.lines.back(), "2 games, 0 failed");
    EXPECT_NE(readBytes(out).find("1A. e4 {119} 1B. d4 {118}\n\n{Game aborted} *\n"), std::string::npos);

    // A missing input leaves OUT as it was.
    const std::string before = readBytes(out);
    EXPECT_EQ(runCli("import " + quoted(dir_ / "missing.pgn") + " -o " + quoted(out)).status, 1);
    EXPECT_EQ(readBytes(out), before);
}

// Export writes the bundled examples for other programs, and the importer reads them back.
TEST_F(CliTest, ExportWritesGamesTheImporterReadsBack) {
    for (const char* name : {"crazyhouse-sampler.bpgn", "bughouse-club.bpgn"}) {
        SCOPED_TRACE(name);
        const fs::path out = dir_ / "out.pgn", again = dir_ / "again.bpgn", direct = dir_ / "direct.bpgn";
        const CliRun run = runCli("export " + quoted(example(name)) + " --pgn -o " + quoted(out));
        EXPECT_EQ(run.status, 0);
        ASSERT_FALSE(run.lines.empty());
        EXPECT_NE(run.lines.back().find(" exported, 0 skipped"), std::string::npos) << run.lines.back();
        EXPECT_EQ(runCli("import " + quoted(out) + " -o " + quoted(again)).status, 0);
        EXPECT_EQ(runCli("import " + quoted(example(name)) + " -o " + quoted(direct)).status, 0);
        // The same games but for the tags PGN adds (Round, Variant).
        const auto moves = [](const std::string& text) {
            std::string kept;
            std::istringstream in(text);
            for (std::string line; std::getline(in, line);)
                if (line.rfind("[", 0) != 0) kept += line + '\n';
            return kept;
        };
        EXPECT_EQ(moves(readBytes(again)), moves(readBytes(direct)));
    }
    EXPECT_EQ(runCli("export " + quoted(dir_ / "missing.bpgn") + " -o " + quoted(dir_ / "x.pgn") + " --pgn").status, 1);
}

TEST_F(CliTest, CompressedFilesReadLikePlainOnes) {
    const std::string pgn = "[Event \"Crazyhouse blitz\"]\n[White \"Ann\"]\n[Result \"1-0\"]\n\n"
                            "1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# {Black checkmated} 1-0\n\n"
                            "[Event \"rated crazyhouse game\"]\n\n1. d4 d5 2. Bf4 *\n";
    const std::string bpgn = readBytes(example("bughouse-club.bpgn"));
    const fs::path out = dir_ / "out";
    const struct {
        std::string command;  // %i stands for IN
        const char* name;
        std::string text;
        std::string (*compress)(const std::string&);
    } cases[] = {
        {"import %i -o " + quoted(out), "games.pgn.gz", pgn, gzipOf},
        {"import %i -o " + quoted(out), "games.pgn.bz2", pgn, bzip2Of},
        {"export %i --pgn -o " + quoted(out), "games.bpgn.gz", bpgn, gzipOf},
        {"check %i", "games.bpgn.bz2", bpgn, bzip2Of},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = [&](const fs::path& in) {
            std::string command = c.command;
            command.replace(command.find("%i"), 2, quoted(in));
            CliRun result = runCli(command);
            return std::make_pair(result, readBytes(out));
        };
        fs::remove(out);
        const auto [plain, plainOut] = run(write("plain", c.text));
        fs::remove(out);
        const auto [compressed, compressedOut] = run(write(c.name, c.compress(c.text)));
        EXPECT_EQ(plain.status, 0);
        EXPECT_EQ(compressed.status, 0);
        EXPECT_EQ(compressed.lines, plain.lines);
        EXPECT_EQ(compressedOut, plainOut);

        // Damage stops the command with what it is, and leaves OUT alone.
        std::string cut = c.compress(c.text);
        cut.resize(cut.size() / 2);
        write("out", "precious\n");
        const auto [damaged, damagedOut] = run(write(c.name, cut));
        EXPECT_EQ(damaged.status, 1);
        const std::string message = (dir_ / c.name).string() + " is damaged: the compressed data ends early";
        EXPECT_NE(std::find(damaged.lines.begin(), damaged.lines.end(), message), damaged.lines.end()) << message;
        if (c.command.starts_with("check")) continue;
        EXPECT_EQ(readBytes(out), "precious\n");
    }
}

TEST_F(CliTest, ImportThatCannotWriteOrImportsNothingLeavesOutAlone) {
    const fs::path games = write("games.pgn", "[Event \"crazyhouse\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n[Event \"crazyhouse\"]\n"
                                              "[Site \"" + std::string(1500, 's') + "\"]\n\n1. d4 *\n");
    const fs::path setUp = write("set-up.pgn", "[Event \"crazyhouse\"][FEN \"x\"]\n\n1. e4 *\n");
    const fs::path out = write("out.bpgn", "precious\n");
    const struct {
        const char* name;
        fs::path in;
        std::string shellSetup;
        std::vector<std::string> lines;  // "%o" stands for OUT's path
    } cases[] = {
        // One block (of 512 or 1024 bytes) holds the first game but not the second; the limit's
        // signal is ignored, so the write fails with its cause.
        {"a file-size limit", games, "trap '' XFSZ; ulimit -f 1; ",
         {"1 ok", "%o: cannot write: the file size limit was reached", "%o: left unchanged",
          "1 games, 1 imported, 0 skipped"}},
        {"nothing imported", setUp, "",
         {"1 skipped starts from a set-up position", "no game could be imported", "%o: left unchanged",
          "1 starts from a set-up position and is skipped", "1 games, 0 imported, 1 skipped"}},
        // A device whose reading never ends is refused, not read.
        {"no regular file", "/dev/zero", "timeout 20 ",
         {"/dev/zero: cannot open: not a regular file", "%o: left unchanged", "0 games, 0 imported, 0 skipped"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> expected = c.lines;
        for (std::string& line : expected)
            if (line.rfind("%o", 0) == 0) line.replace(0, 2, out.string());
        const CliRun run = runCli("import " + quoted(c.in) + " -o " + quoted(out), c.shellSetup);
        EXPECT_EQ(run.lines, expected);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(readBytes(out), "precious\n");
    }
}

TEST_F(CliTest, DatabaseIndexAndSearchFromTheCommandLine) {
    const fs::path folder = dir_ / "games";
    fs::create_directories(folder);
    fs::copy_file(example("bughouse-club.bpgn"), folder / "club.bpgn");
    fs::copy_file(example("crazyhouse-sampler.bpgn"), folder / "sampler.BPGN");
    const fs::path db = dir_ / "club.db", index = dir_ / "club.ind";
    const std::string folderArg = quoted(folder);
    EXPECT_EQ(runCli("build-db " + folderArg + " " + quoted(db)).lines,
              std::vector<std::string>{"Database successfully updated, 5 games added, now contains 5 games."});
    EXPECT_EQ(runCli("build-db " + folderArg + " " + quoted(db)).lines,
              std::vector<std::string>{"Database successfully updated, 5 games added, now contains 10 games."});
    EXPECT_EQ(runCli("build-index " + quoted(db) + " " + quoted(index) + " --players '*'").lines,
              std::vector<std::string>{"Index creation successful, 10 games added."});
    for (const char* suffix : {"WP", "BP", "WP.pos", "BP.pos"}) EXPECT_TRUE(fs::exists(index.string() + suffix));

    // From the initial position with White to move, worked out by hand (each game stored twice):
    // e4 opens the first bughouse game's board A (1-0: won), the second's board B (0-1: won for
    // White on B) and the three crazyhouse games (1-0, 1-0, 0-1): 10 games, 8 won; d4 opens the
    // other two boards, both lost: 4 games. Of 14 counted, e4 has 71% and d4 29%.
    const CliRun start = runCli("search " + quoted(index) + " --fen 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq'");
    ASSERT_EQ(start.status, 0);
    ASSERT_EQ(start.lines.size(), 4u);
    EXPECT_EQ(start.lines[0], "e4 \t              10 \t              71% \t        80%");
    EXPECT_EQ(start.lines[1], "d4 \t               4 \t              29% \t         0%");
    EXPECT_EQ(start.lines[3].substr(0, start.lines[3].find(' ', 4)), "d4: 4");
    // The full scan finds the same; --timing adds its line last, on standard error.
    const CliRun scanned =
        runCli("search " + quoted(index) + " --fen 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq' --scan --timing");
    ASSERT_EQ(scanned.lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(scanned.lines.begin(), scanned.lines.end() - 1), start.lines);
    EXPECT_TRUE(std::regex_match(scanned.lines.back(), std::regex(R"(load \d+(\.\d{1,3})? ms, search \d+(\.\d{1,3})? ms)")))
        << scanned.lines.back();

    // The games behind an offset read back as BPGN.
    const CliRun first = runCli("games " + quoted(db) + " 4");
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.lines.front(), "[Event \"Bughouse game\"]");
    EXPECT_EQ(runCli("nearby " + quoted(db) + " 4 3 1").status, 0);
    EXPECT_EQ(runCli("games " + quoted(db) + " 5").status, 1);

    // Refusals: a general search needs no position; a bad date or a missing position stops it.
    EXPECT_EQ(runCli("search " + quoted(index) + " --general --won").lines,
              std::vector<std::string>{"No matching games found."});
    EXPECT_EQ(runCli("search " + quoted(index) + " --general --date 2024").status, 1);
    EXPECT_EQ(runCli("search " + quoted(index)).status, 2);
}

// A database of the bundled examples in the test's folder, built by the program.
fs::path exampleDatabase(const fs::path& dir) {
    fs::create_directories(dir / "games");
    for (const char* name : {"bughouse-club.bpgn", "crazyhouse-sampler.bpgn"})
        fs::copy_file(example(name), dir / "games" / name);
    const fs::path db = dir / "games.db";
    EXPECT_EQ(runCli("build-db " + quoted(dir / "games") + " " + quoted(db)).status, 0);
    return db;
}

TEST_F(CliTest, BuildIndexRefusesToWriteOverTheDatabase) {
    const fs::path db = exampleDatabase(dir_);
    const std::string bytes = readBytes(db);
    const fs::path index = dir_ / "games.ind";
    ASSERT_EQ(runCli("build-index " + quoted(db) + " " + quoted(index) + " --players '*'").status, 0);
    // The two paths swapped: the index would be written over the database.
    const CliRun swapped = runCli("build-index " + quoted(index) + " " + quoted(db) + " --players '*'");
    EXPECT_EQ(swapped.lines.back(), db.string() + " is not an index file; no index was written over it.");
    EXPECT_EQ(swapped.status, 1);
    EXPECT_EQ(readBytes(db), bytes);
}

TEST_F(CliTest, GamesAndNearbyRefuseTheSameOffsets) {
    const fs::path db = exampleDatabase(dir_);
    for (const std::string& offset : {std::string("5"), std::to_string(fs::file_size(db)), std::string("-4")}) {
        SCOPED_TRACE(offset);
        const std::vector<std::string> refused = {db.string() + ": no game at offset " + offset};
        for (const std::string& command :
             {"games " + quoted(db) + " " + offset, "nearby " + quoted(db) + " " + offset + " 1 0"}) {
            const CliRun run = runCli(command);
            EXPECT_EQ(run.lines, refused) << command;
            EXPECT_EQ(run.status, 1) << command;
        }
    }
}

TEST_F(CliTest, SeveralIndexesAreSearchedAsOneWithTheOffsetsPerDatabase) {
    // The club's bughouse games open with e4 and d4; the lessons' games all with e4.
    const std::pair<const char*, std::vector<const char*>> archives[] = {
        {"club", {"bughouse-club.bpgn"}}, {"lessons", {"crazyhouse-sampler.bpgn", "openings-lesson.bpgn"}}};
    for (const auto& [name, files] : archives) {
        fs::create_directories(dir_ / name);
        for (const char* file : files) fs::copy_file(example(file), dir_ / name / file);
        const fs::path db = dir_ / (std::string(name) + ".db");
        ASSERT_EQ(runCli("build-db " + quoted(dir_ / name) + " " + quoted(db)).status, 0);
        ASSERT_EQ(runCli("build-index " + quoted(db) + " " + quoted(dir_ / (std::string(name) + ".ind")) +
                         " --players '*'").status, 0);
    }
    const std::string club = quoted(dir_ / "club.ind"), lessons = quoted(dir_ / "lessons.ind");
    const std::string clubDb = (dir_ / "club.db").string(), lessonsDb = (dir_ / "lessons.db").string();
    const std::string start = " --fen '" + kStart + "'";

    // From the start the club's index counts e4 twice, both won, and d4 twice, both lost; the
    // lessons' index e4 four times, two won. Summed: e4 6 of 8 counted, 4 won; d4 2, none won.
    const CliRun both = runCli("search " + club + " " + lessons + start);
    ASSERT_EQ(both.status, 0);
    ASSERT_EQ(both.lines.size(), 5u);
    EXPECT_EQ(both.lines[0], "e4 \t               6 \t              75% \t        67%");
    EXPECT_EQ(both.lines[1], "d4 \t               2 \t              25% \t         0%");
    // Then each key's games per database, in the order the indexes were named: each database's
    // offsets are those its own search prints.
    const CliRun clubAlone = runCli("search " + club + start), lessonsAlone = runCli("search " + lessons + start);
    const auto offsets = [](const CliRun& run, const std::string& key) {
        for (const std::string& line : run.lines)
            if (line.starts_with(key + ":")) return line.substr(key.size() + 1);
        return std::string("none");
    };
    EXPECT_EQ(both.lines[2], "e4 (" + clubDb + "):" + offsets(clubAlone, "e4"));
    EXPECT_EQ(both.lines[3], "e4 (" + lessonsDb + "):" + offsets(lessonsAlone, "e4"));
    EXPECT_EQ(both.lines[4], "d4 (" + clubDb + "):" + offsets(clubAlone, "d4"));
    EXPECT_EQ(offsets(lessonsAlone, "d4"), "none");

    // The options go to every index: --scan finds the same, --timing adds one line for all.
    const CliRun scanned = runCli("search " + club + " " + lessons + start + " --scan --timing");
    ASSERT_EQ(scanned.lines.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(scanned.lines.begin(), scanned.lines.end() - 1), both.lines);
    EXPECT_TRUE(scanned.lines.back().starts_with("load ")) << scanned.lines.back();
    const CliRun general = runCli("search " + lessons + " " + club + " --general");
    EXPECT_EQ(general.lines.front(), "* \t               7 \t              100% \t       ---");
    EXPECT_TRUE(general.lines[1].starts_with("* (" + lessonsDb + "): ")) << general.lines[1];
    EXPECT_TRUE(general.lines[2].starts_with("* (" + clubDb + "): ")) << general.lines[2];

    // An index that fails names its file; the same index twice, or none, is refused.
    const struct {
        std::string arguments;
        int status;
        std::string error;
    } refusals[] = {
        {club + " " + quoted(dir_ / "none.ind") + " --general", 1,
         "Could not open index file: " + (dir_ / "none.ind").string()},
        {club + " " + club + " --general", 1,
         "The index file " + (dir_ / "club.ind").string() + " is searched already."},
        {"--general", 2, "search: name the index before the options"},
    };
    for (const auto& r : refusals) {
        const CliRun run = runCli("search " + r.arguments);
        EXPECT_EQ(run.lines, std::vector<std::string>{r.error}) << r.arguments;
        EXPECT_EQ(run.status, r.status) << r.arguments;
    }
}

TEST_F(CliTest, SearchErrorsGoToStandardErrorAndNameTheFile) {
    const fs::path db = exampleDatabase(dir_);
    const fs::path index = dir_ / "games.ind", junk = write("junk.ind", "junk");
    ASSERT_EQ(runCli("build-index " + quoted(db) + " " + quoted(index) + " --players '*'").status, 0);
    fs::rename(index.string() + "BP", dir_ / "away");
    const std::string blackToMove = " --fen 'rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b KQkq'";
    const fs::path errors = dir_ / "errors";
    const struct {
        std::string arguments;
        std::string error;
    } cases[] = {
        {quoted(dir_ / "none.ind") + " --general", "Could not open index file: " + (dir_ / "none.ind").string()},
        {quoted(junk) + " --general", junk.string() + ": Could not read index header."},
        {quoted(index) + blackToMove, "Could not open index file: " + index.string() + "BP"},
        {quoted(index) + " --general --date 2024",
         "search: The date must be written as month/day/year, for example 12/31/2003."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = runShell(cliCommand("search " + c.arguments) + " 2>" + quoted(errors));
        EXPECT_TRUE(run.lines.empty());
        EXPECT_EQ(readBytes(errors), c.error + "\n");
        EXPECT_EQ(run.status, 1);
    }
}

TEST_F(CliTest, ACommandOutOfRoomStopsWithItsReasonAndKeepsItsFiles) {
    const fs::path db = exampleDatabase(dir_);
    const std::string bytes = readBytes(db);
    // Twenty more copies of the games do not fit under a limit of 16 blocks of 512 bytes.
    for (int copy = 0; copy < 20; ++copy)
        fs::copy_file(example("bughouse-club.bpgn"), dir_ / "games" / ("copy" + std::to_string(copy) + ".bpgn"));
    const CliRun build =
        runShell("ulimit -f 16; " + cliCommand("build-db " + quoted(dir_ / "games") + " " + quoted(db)) + " 2>&1");
    EXPECT_EQ(build.lines, std::vector<std::string>{
                               "Could not write game number into the database: the file size limit was reached."});
    EXPECT_EQ(build.status, 1);
    EXPECT_EQ(readBytes(db), bytes);

#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer cannot run in a limited address space";
#endif
    // A record of a gigabyte, in a sparse file, cannot be read in 300 MB.
    const fs::path huge = dir_ / "huge.db";
    const std::string oneGame("\1\0\0\0", 4), gigabyte("\0\0\0\x40", 4);
    std::ofstream(huge, std::ios::binary) << oneGame << gigabyte;
    fs::resize_file(huge, 8 + (uintmax_t{1} << 30));
    std::ofstream(huge, std::ios::binary | std::ios::app) << gigabyte;
    const CliRun games = runShell("ulimit -v 300000; " + cliCommand("games " + quoted(huge) + " 4") + " 2>&1");
    EXPECT_EQ(games.lines, std::vector<std::string>{"tandemora-cli: games stopped: not enough memory"});
    EXPECT_EQ(games.status, 1);
}

}  // namespace
