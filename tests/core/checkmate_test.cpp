#include <gtest/gtest.h>

#include <string>

#include "core/checkmate.h"
#include "test_positions.h"

using namespace tandemora;
using tandemora_test::boardFrom;

namespace {

// In crazyhouse a check that a piece in the reserve can block is no mate.
TEST(Checkmate, CountsDropsAsDefences) {
    const struct {
        const char* position;  // black to move
        bool mate;
    } cases[] = {
        {"4R2k/6pp/8/8/8/8/8/K7", true},
        {"4R2k/6pp/8/8/8/8/8/K7[n]", false},   // a knight dropped on f8 or g8 blocks
        {"4R2k/6pp/8/8/8/8/8/K7[p]", true},    // a pawn cannot be dropped on the last rank
        {"4R2k/6pp/8/8/8/8/8/K3r3", false},    // the rook takes the checking rook
        {"4R2k/6p1/8/8/8/8/8/K7", false},      // the king steps to h7
        {"7k/6pp/8/8/8/8/8/K3R3", false},      // no check
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        Board board = boardFrom(c.position);
        board.sideToMove = 0;
        EXPECT_EQ(isCheckmate(board, board.squares), c.mate);
    }
}

}  // namespace
