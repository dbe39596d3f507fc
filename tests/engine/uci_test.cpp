#include <gtest/gtest.h>

#include "engine/uci_parser.h"
#include "engine/uci_session.h"

using namespace tandemora;

namespace {

Score cp(int value) { return Score{false, value, false, false, false}; }
Score mate(int moves, bool wins) { return Score{true, moves, wins, false, false}; }

}  // namespace

// Lines Fairy-Stockfish 11.1 printed for crazyhouse and bughouse positions.
TEST(UciParser, RealEngineOutput) {
    const struct {
        const char* line;
        int depth, multipv;
        Score score;
        long long nodes, nps, timeMs;
        std::vector<std::string> pv;
    } cases[] = {
        {"info depth 13 seldepth 20 multipv 1 score cp 694 nodes 132478 nps 437221 tbhits 0 time 303 pv b1c3 f8b4",
         13, 1, cp(694), 132478, 437221, 303, {"b1c3", "f8b4"}},
        {"info depth 4 seldepth 5 multipv 1 score cp 744 nodes 981 nps 122625 tbhits 0 time 8 pv f3e5 N@e6 Q@c4 c7c6",
         4, 1, cp(744), 981, 122625, 8, {"f3e5", "N@e6", "Q@c4", "c7c6"}},
        {"info depth 10 seldepth 11 multipv 1 score cp 56 upperbound nodes 8649 nps 254382 tbhits 0 time 34 pv d7d5 e4e5",
         10, 1, Score{false, 56, false, false, true}, 8649, 254382, 34, {"d7d5", "e4e5"}},
        {"info depth 245 seldepth 2 multipv 2 score mate 1 nodes 32686 nps 1361916 tbhits 0 time 24 pv Q@a8", 245, 2,
         mate(1, true), 32686, 1361916, 24, {"Q@a8"}},
        {"info depth 0 score mate 0", 0, 1, mate(0, false), 0, 0, 0, {}},
        {"info depth 7 multipv 1 score mate -3 unknownfield 12 pv e1d1", 7, 1, mate(3, false), 0, 0, 0, {"e1d1"}},
    };
    for (const auto& c : cases) {
        const auto info = parseInfo(c.line);
        ASSERT_TRUE(info) << c.line;
        EXPECT_EQ(info->depth, c.depth) << c.line;
        EXPECT_EQ(info->multipv, c.multipv) << c.line;
        EXPECT_EQ(info->score, c.score) << c.line;
        EXPECT_EQ(info->nodes, c.nodes) << c.line;
        EXPECT_EQ(info->nps, c.nps) << c.line;
        EXPECT_EQ(info->timeMs, c.timeMs) << c.line;
        EXPECT_EQ(info->pv, c.pv) << c.line;
    }
    for (const char* other : {"info string variant bughouse files 8 ranks 8 pocket 5", "bestmove e2e4", "", "readyok"})
        EXPECT_FALSE(parseInfo(other)) << other;
    const auto best = parseBestMove("bestmove b1c3 ponder f8b4");
    ASSERT_TRUE(best);
    EXPECT_EQ(best->move, "b1c3");
    EXPECT_EQ(best->ponder, "f8b4");
    EXPECT_EQ(parseBestMove("bestmove (none)")->move, "(none)");
}

TEST(UciParser, ScoresFromWhitesSide) {
    const struct {
        Score sideToMove;
        bool whiteToMove;
        const char* shown;
    } cases[] = {
        {cp(35), true, "+0.35"}, {cp(35), false, "-0.35"},    {cp(-1205), true, "-12.05"},
        {cp(0), false, "0.00"},  {cp(-7), false, "+0.07"},    {mate(3, true), true, "#3"},
        {mate(3, true), false, "#-3"}, {mate(0, false), false, "#0"},  // Black is mated: White has won
    };
    for (const auto& c : cases) EXPECT_EQ(formatScore(whiteView(c.sideToMove, c.whiteToMove)), c.shown) << c.shown;
    // Any mate outweighs any material; a nearer mate is better for the side giving it.
    EXPECT_GT(mate(5, true).order(), cp(5000).order());
    EXPECT_GT(mate(1, true).order(), mate(2, true).order());
    EXPECT_LT(mate(1, false).order(), mate(2, false).order());
    EXPECT_LT(mate(9, false).order(), cp(-5000).order());
}

namespace {

// Feeds the engine's lines to the session and gathers what it reports.
std::vector<EngineEvent> feed(UciSession& session, std::initializer_list<const char*> lines) {
    std::vector<EngineEvent> events;
    for (const char* line : lines)
        for (EngineEvent& event : session.receive(line)) events.push_back(std::move(event));
    return events;
}

UciSession readySession() {
    UciSession session({2, 64, 1});
    session.start();
    feed(session, {"id name Fairy-Stockfish", "uciok", "readyok"});
    session.takeOutgoing();
    return session;
}

}  // namespace

TEST(UciSession, HandshakeThenTheFirstSearch) {
    UciSession session({2, 64, 1});
    session.start();
    const unsigned id = session.analyse("4k3/8/8/8/8/8/8/4K3[Q] w - - 0 1", EngineVariant::kBughouse, 3);
    EXPECT_EQ(session.takeOutgoing(), std::vector<std::string>{"uci"});
    feed(session, {"option name Threads type spin default 1 min 1 max 512", "uciok"});
    EXPECT_EQ(session.takeOutgoing(), (std::vector<std::string>{"setoption name Threads value 2",
                                                                "setoption name Hash value 64", "isready"}));
    const auto events = feed(session, {"readyok"});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EngineEvent::kReady);
    EXPECT_EQ(session.takeOutgoing(),
              (std::vector<std::string>{"setoption name UCI_Variant value bughouse", "setoption name MultiPV value 3",
                                        "position fen 4k3/8/8/8/8/8/8/4K3[Q] w - - 0 1", "go infinite"}));
    EXPECT_EQ(session.currentPosition(), id);
}

TEST(UciSession, OutputOfAnEarlierPositionIsNeverReported) {
    UciSession session = readySession();
    const unsigned first = session.analyse("first", EngineVariant::kCrazyhouse, 2);
    feed(session, {"info depth 5 multipv 1 score cp 40 nodes 100 nps 1000 time 100 pv e2e4"});
    const unsigned second = session.analyse("second", EngineVariant::kCrazyhouse, 2);
    EXPECT_NE(first, second);
    // The new position waits for the old search's bestmove; what the engine prints meanwhile
    // belongs to the first position.
    const auto outgoing = session.takeOutgoing();
    EXPECT_EQ(outgoing.back(), "stop");
    auto events = feed(session, {"info depth 6 multipv 1 score cp 45 pv e2e4", "info depth 6 multipv 2 score cp 30 pv d2d4",
                                 "bestmove e2e4 ponder e7e5"});
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(session.takeOutgoing(), (std::vector<std::string>{"position fen second", "go infinite"}));
    events = feed(session, {"info depth 1 multipv 2 score cp -20 pv g1f3", "info depth 1 multipv 1 score mate 2 pv d1h5"});
    ASSERT_EQ(events.size(), 2u);
    for (const EngineEvent& event : events) EXPECT_EQ(event.position, second);
    ASSERT_EQ(events[1].lines.size(), 2u);
    EXPECT_EQ(events[1].lines[0].score, mate(2, true));
    EXPECT_EQ(events[1].lines[0].pv, std::vector<std::string>{"d1h5"});
    EXPECT_EQ(events[1].lines[1].pv, std::vector<std::string>{"g1f3"});

    // Three positions in quick succession: only the last is searched, and only one "stop" is sent.
    session.analyse("third", EngineVariant::kCrazyhouse, 2);
    const unsigned fourth = session.analyse("fourth", EngineVariant::kBughouse, 2);
    EXPECT_EQ(session.takeOutgoing(), std::vector<std::string>{"stop"});
    EXPECT_TRUE(feed(session, {"info depth 9 score cp 1 pv a2a3", "bestmove a2a3"}).empty());
    EXPECT_EQ(session.takeOutgoing(), (std::vector<std::string>{"setoption name UCI_Variant value bughouse",
                                                                "position fen fourth", "go infinite"}));
    EXPECT_EQ(session.currentPosition(), fourth);

    // A stopped search reports nothing more, not even its bestmove.
    session.stop();
    EXPECT_TRUE(feed(session, {"info depth 10 score cp 3 pv a2a4", "bestmove a2a4"}).empty());
}

TEST(UciSession, TimedSearchEndsWithItsBestMove) {
    UciSession session = readySession();
    const unsigned id = session.goMovetime("fen", EngineVariant::kCrazyhouse, 100);
    EXPECT_EQ(session.takeOutgoing().back(), "go movetime 100");
    const auto events = feed(session, {"info depth 0 score mate 0", "bestmove (none)"});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].lines[0].score, mate(0, false));
    EXPECT_EQ(events[1].kind, EngineEvent::kBestMove);
    EXPECT_EQ(events[1].position, id);
    EXPECT_EQ(events[1].bestMove, "(none)");
    EXPECT_FALSE(session.searching());
}

TEST(UciSession, ARestartedEngineSearchesThePositionAgain) {
    UciSession session = readySession();
    const unsigned id = session.analyse("shown", EngineVariant::kBughouse, 1);
    session.takeOutgoing();
    // The engine crashed; a new one is started and told everything again.
    session.start();
    EXPECT_EQ(session.takeOutgoing(), std::vector<std::string>{"uci"});
    feed(session, {"uciok", "readyok"});
    const auto outgoing = session.takeOutgoing();
    EXPECT_EQ(std::vector<std::string>(outgoing.end() - 4, outgoing.end()),
              (std::vector<std::string>{"setoption name UCI_Variant value bughouse", "setoption name MultiPV value 1",
                                        "position fen shown", "go infinite"}));
    EXPECT_EQ(session.currentPosition(), id);
}
