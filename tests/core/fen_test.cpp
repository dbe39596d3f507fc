#include <gtest/gtest.h>

#include "core/fen.h"

using namespace tandemora;

TEST(Fen, ReadsBackWhatItWrites) {
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq",
                            "r4k1r/ppp2Ppp/4P3/1b1nnBBP/1b1p2K1/7R/PPP1pqP1/R5b1[P] w -",
                            "1R~2k3/8/8/8/8/8/8/4K3[QRRBNPPqnp] b Kq", "8/8/8/8/8/8/8/8[] b -"}) {
        Board board;
        ASSERT_TRUE(parseFen(fen, board)) << fen;
        EXPECT_EQ(toFen(board), fen);
    }
}

TEST(Fen, ShortFormsAndRefusals) {
    Board board;
    ASSERT_TRUE(parseFen("4k3/8/8/8/8/8/8/4K3", board));
    EXPECT_EQ(toFen(board), "4k3/8/8/8/8/8/8/4K3[] w KQkq");
    for (const char* bad : {"", "4k3/8/8/8/8/8/8", "4k3/8/8/8/8/8/8/4K4[] w -", "4k3/8/8/8/8/8/8/4X3",
                            "4k3/8/8/8/8/8/8/4K3[K] w -", "4k3/8/8/8/8/8/8/4K3[] x -", "4k3/8/8/8/8/8/8/4K3[] w KX",
                            "4k3/8/8/8/8/8/8/4K3[P w -", "4k3/8/8/8/8/8/8/4K3[] w - extra"}) {
        Board untouched = Board::initial();
        EXPECT_FALSE(parseFen(bad, untouched)) << bad;
        EXPECT_EQ(toFen(untouched), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq") << bad;
    }
}
