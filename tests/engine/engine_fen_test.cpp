#include <gtest/gtest.h>

#include "core/fen.h"
#include "engine/engine_fen.h"
#include "engine/engine_moves.h"
#include "game/game_file.h"

using namespace tandemora;

namespace {

// The board after playing coordinate moves from the start, as a game would reach it.
Board after(std::initializer_list<const char*> moves, EngineVariant variant = EngineVariant::kCrazyhouse) {
    Board board = Board::initial();
    for (const char* move : moves) EXPECT_TRUE(playEngineMove(board, move, variant)) << move;
    return board;
}

}  // namespace

TEST(EngineFen, PocketsMarksCastlingAndEnPassant) {
    Board rookGone;
    ASSERT_TRUE(parseFen("r3k2r/8/8/8/8/8/8/4K2R[] w KQkq", rookGone));  // White's a-rook was taken elsewhere
    Board blackKingAway;
    ASSERT_TRUE(parseFen("r4k1r/8/8/8/8/8/8/R3K2R[Qn] b KQkq", blackKingAway));
    const struct {
        const char* name;
        Board board;
        int moveNumber;
        const char* fen;
    } cases[] = {
        {"start", Board::initial(), 1, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq - 0 1"},
        {"two-step gives en passant", after({"e2e4"}), 1, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR[] b KQkq e3 0 1"},
        {"black's two-step", after({"e2e4", "c7c5"}), 2,
         "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR[] w KQkq c6 0 2"},
        {"one step gives none", after({"e2e3"}), 1, "rnbqkbnr/pppppppp/8/8/8/4P3/PPPP1PPP/RNBQKBNR[] b KQkq - 0 1"},
        {"a right without its rook is left out", rookGone, 30, "r3k2r/8/8/8/8/8/8/4K2R[] w Kkq - 0 30"},
        {"a right without its king is left out", blackKingAway, 9, "r4k1r/8/8/8/8/8/8/R3K2R[Qn] b KQ - 0 9"},
    };
    for (const auto& c : cases) EXPECT_EQ(engineFen(c.board, c.moveNumber), c.fen) << c.name;
}

TEST(EngineFen, PositionOfARealGameWithAPromotedQueen) {
    // FICS crazyhouse, 2015: Black promotes on f1 taking a rook; the reserves hold what each side took.
    GameFileReader reader(
        "[Event \"FICS unrated crazyhouse game\"]\n\n"
        "1A. e4 {60} 1a. e5 {60} 2A. Nf3 {60} 2a. Nc6 {60} 3A. Bc4 {60} 3a. Nf6 {60}\n"
        "4A. Bxf7+ {60} 4a. Kxf7 {60} 5A. Ng5+ {60} 5a. Ke8 {60} 6A. O-O {60} 6a. Bc5 {60}\n"
        "7A. c3 {60} 7a. d6 {60} 8A. d4 {60} 8a. exd4 {60} 9A. cxd4 {60} 9a. Nxd4 {60}\n"
        "10A. P@f7+ {60} 10a. Kf8 {60} 11A. P@e3 {60} 11a. P@e2 {60} 12A. Qxd4 {60} 12a. exf1=Q+ {60}\n\n"
        "{White checkmated} 0-1\n");
    auto game = reader.next();
    ASSERT_TRUE(game && game->replayGame());
    const GameNode* last = game->mainLineEnd();
    EXPECT_EQ(engineFen(last->positionA, last->moveNumber + 1),
              "r1bq1k1r/ppp2Ppp/3p1n2/2b3N1/3QP3/4P3/PP3PPP/RNB2q~K1[Nrbp] w - - 0 13");
}
