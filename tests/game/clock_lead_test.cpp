// Who is up on time through a game's main line, computed by hand from the recorded clocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/clock_lead.h"
#include "game/game_parameters.h"
#include "test_games.h"

using namespace tandemora_test;

namespace {

struct Lead {
    std::string move;
    long long teamMs, boardAMs, boardBMs;
    bool operator==(const Lead&) const = default;
};

std::vector<Lead> leads(const CGame& game) {
    std::vector<Lead> out;
    for (const ClockLead& l : clockLeadSeries(game))
        out.push_back({l.node->moveText, l.teamMs, l.boardAMs, l.boardBMs});
    return out;
}

}  // namespace

TEST(ClockLead, FollowsTheMainLineWithBothBoardsClocksAsTheyStood) {
    const struct {
        const char* event;
        const char* moves;
        std::vector<Lead> expected;
    } cases[] = {
        // Base 180 s. A move's thinking time also runs on the other board's clock of the side to
        // move there: e4 costs WhiteA 5 s while WhiteB's clock runs too, so the teams stay level.
        {"Bughouse game",
         "1A. e4 {175} 1B. d4 {170} 1a. e5 {172} (1a. c5 {100}) 1b. d5 {160}",
         {{"", 0, 0, 0},
          {"e4", 0, -5000, 5000},
          {"d4", 10000, 0, 10000},          // BlackA ran 5 s: A 175/175, B 170/180
          {"e5", 10000, 3000, 7000},        // A 175/172, BlackB ran 3 s: B 170/177
          {"d5", -24000, -14000, -10000}}},  // WhiteA ran 17 s: A 158/172, B 170/160
        {"Crazyhouse game",
         "1A. e4 {178} 1a. e5 {175} 2A. Nf3 {170}",
         {{"", 0, 0, 0}, {"e4", -2000, -2000, 0}, {"e5", 3000, 3000, 0}, {"Nf3", -5000, -5000, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.moves);
        auto game = openOne(gameText(c.moves, c.event));
        ASSERT_TRUE(game);
        game->toEnd();
        EXPECT_EQ(leads(*game), c.expected);
    }
    EXPECT_TRUE(clockLeadSeries(CGame()).empty());  // no tree, no series
}

TEST(ClockLead, ANewBaseTimeTellsTheGraphToBuildItselfAgain) {
    auto game = openOne(gameText("1A. e4 {178} 1a. e5 {175}"));
    ASSERT_TRUE(game);
    const unsigned revision = game->treeRevision;
    GameParameters parameters = gameParameters(*game);
    parameters.baseSeconds = "200";
    applyGameParameters(*game, parameters);
    EXPECT_NE(game->treeRevision, revision);
    EXPECT_EQ(clockLeadSeries(*game)[1].teamMs, 178000 - 200000);  // black's clock still stands at the base
}
