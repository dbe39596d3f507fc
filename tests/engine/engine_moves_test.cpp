#include <gtest/gtest.h>

#include "core/fen.h"
#include "engine/engine_moves.h"

using namespace tandemora;

TEST(EngineMoves, CoordinatesBecomeTheProgramsNotation) {
    const struct {
        const char* name;
        const char* before;  // the program's FEN; the last move is played first where en passant needs it
        const char* lastMove;
        const char* move;
        EngineVariant variant;
        const char* notation;  // empty: refused
        const char* fenAfter;
    } cases[] = {
        {"white castles short", "r3k2r/8/8/8/8/8/8/R3K2R[] w KQkq", "", "e1g1", EngineVariant::kCrazyhouse, "O-O",
         "r3k2r/8/8/8/8/8/8/R4RK1[] b kq"},
        {"black castles long", "r3k2r/8/8/8/8/8/8/R3K2R[] b KQkq", "", "e8c8", EngineVariant::kCrazyhouse, "O-O-O",
         "2kr3r/8/8/8/8/8/8/R3K2R[] w KQ"},
        {"promotion marks the piece", "8/4P2k/8/8/8/8/8/K7[] w -", "", "e7e8q", EngineVariant::kCrazyhouse, "e8=Q",
         "4Q~3/7k/8/8/8/8/8/K7[] b -"},
        {"promotion needs its piece", "8/4P2k/8/8/8/8/8/K7[] w -", "", "e7e8", EngineVariant::kCrazyhouse, "", ""},
        {"en passant", "4k3/3p4/8/4P3/8/8/8/4K3[] b -", "d7d5", "e5d6", EngineVariant::kCrazyhouse, "exd6",
         "4k3/8/3P4/8/8/8/8/4K3[P] b -"},
        {"en passant only right after the two-step", "4k3/8/8/3pP3/8/8/8/4K3[] w -", "", "e5d6",
         EngineVariant::kCrazyhouse, "", ""},
        {"white drop with check", "4k3/8/8/8/8/8/8/4K3[P] w -", "", "P@f7", EngineVariant::kBughouse, "P@f7+",
         "4k3/5P2/8/8/8/8/8/4K3[] b -"},
        {"black drop, upper-case letter", "4k3/8/8/8/8/8/8/4K3[n] b -", "", "N@f3", EngineVariant::kBughouse, "N@f3+",
         "4k3/8/8/8/8/5n2/8/4K3[] w -"},
        {"drop of a piece not in the pocket", "4k3/8/8/8/8/8/8/4K3[P] w -", "", "N@f3", EngineVariant::kBughouse, "",
         ""},
        {"ambiguous knights", "4k3/8/8/8/8/8/8/1N2KN2[] w -", "", "b1d2", EngineVariant::kCrazyhouse, "Nbd2",
         "4k3/8/8/8/8/8/3N4/4KN2[] b -"},
        {"crazyhouse capture fills the mover's pocket", "4k3/8/8/4p3/8/5N2/8/4K3[] w -", "", "f3e5",
         EngineVariant::kCrazyhouse, "Nxe5", "4k3/8/8/4N3/8/8/8/4K3[P] b -"},
        {"bughouse capture goes to the partner", "4k3/8/8/4p3/8/5N2/8/4K3[] w -", "", "f3e5",
         EngineVariant::kBughouse, "Nxe5", "4k3/8/8/4N3/8/8/8/4K3[] b -"},
        {"a promoted piece comes back as a pawn", "4k3/8/8/4q~3/8/5N2/8/4K3[] w -", "", "f3e5",
         EngineVariant::kCrazyhouse, "Nxe5", "4k3/8/8/4N3/8/8/8/4K3[P] b -"},
        {"not a move at all", "4k3/8/8/8/8/8/8/4K3[] w -", "", "(none)", EngineVariant::kCrazyhouse, "", ""},
    };
    for (const auto& c : cases) {
        Board board;
        ASSERT_TRUE(parseFen(c.before, board)) << c.name;
        if (*c.lastMove) {
            ASSERT_TRUE(playEngineMove(board, c.lastMove, c.variant)) << c.name;
        }
        const std::string fenBefore = toFen(board);
        const auto notation = playEngineMove(board, c.move, c.variant);
        EXPECT_EQ(notation.value_or(""), c.notation) << c.name;
        EXPECT_EQ(toFen(board), *c.notation ? c.fenAfter : fenBefore) << c.name;
    }
}

TEST(EngineMoves, ALineTranslatesUpToItsFirstIllegalMove) {
    Board board;
    ASSERT_TRUE(parseFen("rnbqkb1r/pppp1ppp/5n2/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R[Qn] w KQkq", board));
    const auto line = translateLine(board, {"f3e5", "N@e6", "Q@c4", "e1e3", "d7d6"}, EngineVariant::kBughouse);
    EXPECT_EQ(line, (std::vector<std::string>{"Nxe5", "N@e6", "Q@c4"}));
}
