#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "test_positions.h"

using namespace tandemora;
using tandemora_test::boardFrom;

namespace {

// Plays moves on one board the way the game record would: it remembers the squares before
// the last move for en passant and records what the rules hand back.
class RecordingHost : public RulesHost {
public:
    BoardRules rules{*this};
    std::vector<std::string> notations;
    std::vector<int> captures;
    std::vector<std::string> errors;
    char promotionAnswer = 'Q';

    bool play(const std::string& text, bool white) {
        std::array<char, 64> before;
        std::memcpy(before.data(), rules.position.squares, 64);
        const bool ok = rules.makeMoveFromText(text, white, true);
        if (ok) previous_ = before;
        return ok;
    }

    const char* previousBoardSquares() override { return previous_ ? previous_->data() : nullptr; }
    char choosePromotionPiece(int, int, bool) override { return promotionAnswer; }
    void moveMade(const std::string& notation, bool, int capturedIndex) override {
        notations.push_back(notation);
        captures.push_back(capturedIndex);
    }
    void reportIllegalMove(const std::string& text) override { errors.push_back(text); }

private:
    std::optional<std::array<char, 64>> previous_;
};

const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

struct Line {
    const char* name;
    const char* start;
    const char* moves;  // alternately white and black; '!' marks a move that must be refused
    const char* notations;
    const char* fen;  // the position after the line
};

std::string joined(const std::vector<std::string>& parts) {
    std::string s;
    for (const auto& p : parts) s += (s.empty() ? "" : " ") + p;
    return s;
}

TEST(BoardRules, PlaysLines) {
    const Line lines[] = {
        {"pawn capture", kStart, "e4 d5 exd5", "e4 d5 exd5",
         "rnbqkbnr/ppp1pppp/8/3P4/8/8/PPPP1PPP/RNBQKBNR[] b KQkq"},
        {"en passant after the double step", kStart, "e4 Nf6 e5 d5 exd6", "e4 Nf6 e5 d5 exd6",
         "rnbqkb1r/ppp1pppp/3P1n2/8/8/8/PPPP1PPP/RNBQKBNR[] b KQkq"},
        {"black en passant", kStart, "Nf3 d5 Ng1 d4 e4 dxe3", "Nf3 d5 Ng1 d4 e4 dxe3",
         "rnbqkbnr/ppp1pppp/8/8/8/4p3/PPPP1PPP/RNBQKBNR[] w KQkq"},
        {"en passant only right away", kStart, "e4 Nf6 e5 d5 Nf3 Ng8 !exd6", "e4 Nf6 e5 d5 Nf3 Ng8",
         "rnbqkbnr/ppp1pppp/8/3pP3/8/5N2/PPPP1PPP/RNBQKB1R[] w KQkq"},
        {"no en passant after two single steps", kStart, "e4 d6 e5 d5 !exd6", "e4 d6 e5 d5",
         "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR[] w KQkq"},
        {"en passant only for the pawn that just arrived", "4k3/3p4/2N5/3pP3/8/8/8/4K3", "Kd2 dxc6 !exd6", "Kd2 dxc6",
         "4k3/8/2p5/3pP3/8/8/3K4/8[] w kq"},
        {"refused moves", kStart, "!Nd2 !exd5 !O-O !0-0 !e5 !Bb5 e3 e6 !e5 Nf3", "e3 e6 Nf3",
         "rnbqkbnr/pppp1ppp/4p3/8/8/4PN2/PPPP1PPP/RNBQKB1R[] b KQkq"},
        {"pawn blocked", "4k3/8/8/8/8/4n3/4P3/4K3", "!e4 !e3 !Kd1 Kf2", "Kf2",
         "4k3/8/8/8/8/4n3/4PK2/8[] b kq"},
        {"castling both ways", "r3k2r/8/8/8/8/8/8/R3K2R", "O-O O-O-O", "O-O O-O-O",
         "2kr3r/8/8/8/8/8/8/R4RK1[] w -"},
        {"castling across an attacked square", "r3k2r/8/8/8/8/8/5r2/R3K2R", "!O-O O-O-O", "O-O-O",
         "r3k2r/8/8/8/8/8/5r2/2KR3R[] b kq"},
        {"castling out of check", "4k3/8/8/8/4r3/8/8/R3K2R", "!O-O !O-O-O Kf1", "Kf1",
         "4k3/8/8/8/4r3/8/8/R4K1R[] b kq"},
        {"rook away and back loses the right", "r3k2r/3p4/8/8/8/8/8/R3K2R",
         "Rh2 Rh7 Rh1 Rh8 !O-O O-O-O !O-O O-O-O", "Rh2 Rh7 Rh1 Rh8 O-O-O O-O-O", "2kr3r/3p4/8/8/8/8/8/2KR3R[] w -"},
        {"a rook taken on its corner loses its right", "r3k2r/8/8/8/8/8/6B1/4K3", "Bxa8", "Bxa8",
         "B3k2r/8/8/8/8/8/8/4K3[] b KQk"},
        {"king keeps out of attack", "4k3/8/8/8/8/8/3r4/4K3", "!Kd1 !Ke2 Kxd2", "Kxd2",
         "4k3/8/8/8/8/8/3K4/8[] b kq"},
        {"pawns take diagonally forward", "4k3/8/8/8/8/5p2/8/4K3", "!Ke2 Kf2", "Kf2", "4k3/8/8/8/8/5p2/5K2/8[] b kq"},
        {"a promoted rook castles", "4k3/8/8/8/8/8/8/4K2R~", "O-O", "O-O", "4k3/8/8/8/8/8/8/5R~K1[] b kq"},
        {"pinned knight", "4k3/4r3/8/8/8/8/4N3/4K3", "!Nc3 !Nf4 Kd1", "Kd1", "4k3/4r3/8/8/8/8/4N3/3K4[] b kq"},
        {"check", kStart, "e4 f6 d4 g5 Qh5+", "e4 f6 d4 g5 Qh5+",
         "rnbqkbnr/ppppp2p/5p2/6pQ/3PP3/8/PPP2PPP/RNB1KBNR[] b KQkq"},
        {"promotion with capture", "1r2k3/P7/8/8/8/8/8/4K3", "axb8=R", "axb8=R+",
         "1R~2k3/8/8/8/8/8/8/4K3[] b KQkq"},
        {"promotion named without '='", "1r2k3/P7/8/8/8/8/p7/4K3", "axb8N a1q", "axb8=N a1=Q+",
         "1N~2k3/8/8/8/8/8/8/q~3K3[] w KQkq"},
        {"promotion only on the last rank", kStart, "e4 d5 !e5=Q", "e4 d5",
         "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR[] w KQkq"},
        {"drops", "4k3/8/8/8/8/8/8/4K3[PNnb]", "!P@a8 !P@a1 !K@e4 !1@e4 !N@e1 N@f6 !n@d4 Kf7 !N@c3 P@e2 b@c3",
         "N@f6+ Kf7 P@e2 B@c3+", "8/5k2/5N2/8/8/2b5/4P3/4K3[n] w KQ"},
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line.name);
        RecordingHost host;
        host.rules.position = boardFrom(line.start);
        bool white = true;
        std::istringstream moves(line.moves);
        for (std::string move; moves >> move;) {
            const bool refused = move[0] == '!';
            if (refused) move.erase(0, 1);
            EXPECT_EQ(host.play(move, white), !refused) << move;
            if (!refused) white = !white;
        }
        EXPECT_EQ(joined(host.notations), line.notations);
        EXPECT_EQ(toFen(host.rules.position), line.fen);
    }
}

TEST(BoardRules, RemembersTheSquaresOfTheLastMove) {
    const struct {
        const char *start, *move;
        int from, to;
    } cases[] = {{kStart, "e4", 33, 35}, {"4k3/8/8/8/8/8/8/4K3[N]", "N@f6", -1, 45},
                 {"r3k2r/8/8/8/8/8/8/R3K2R", "O-O", 32, 48}, {kStart, "ANALYSIS", -1, -1}};
    for (const auto& c : cases) {
        RecordingHost host;
        host.rules.position = boardFrom(c.start);
        host.rules.position.lastFrom = host.rules.position.lastTo = 9;  // an earlier move's
        ASSERT_TRUE(host.play(c.move, true)) << c.move;
        const Board& after = host.rules.position;
        EXPECT_EQ(std::pair(int{after.lastFrom}, int{after.lastTo}), std::pair(c.from, c.to)) << c.move;
    }
}

TEST(BoardRules, ReportsCapturedPieceIndex) {
    RecordingHost host;
    host.rules.position = boardFrom("1r2k3/2P5/8/8/8/3n4/4P3/4K3");
    ASSERT_TRUE(host.play("exd3", true));
    ASSERT_TRUE(host.play("Kd7", false));
    ASSERT_TRUE(host.play("c8=Q+", true));
    ASSERT_TRUE(host.play("Rxc8", false));  // a promoted queen is taken as a pawn
    EXPECT_EQ(host.captures, (std::vector<int>{2, -1, -1, 0}));
    EXPECT_EQ(toFen(host.rules.position), "2r5/3k4/8/8/8/3P4/8/4K3[] w KQ");
}

TEST(BoardRules, OpenPromotionAsksForThePiece) {
    const struct {
        char answer;
        const char* notation;  // empty when the move is cancelled
    } cases[] = {{'Q', "a8=Q+"}, {'R', "a8=R+"}, {'B', "a8=B"}, {'N', "a8=N"}, {0, ""}};
    for (const auto& c : cases) {
        RecordingHost host;
        host.rules.position = boardFrom("4k3/P7/8/8/8/8/8/4K3");
        host.promotionAnswer = c.answer;
        const bool made = host.play("a8", true);
        EXPECT_EQ(made, c.notation[0] != '\0') << c.answer;
        EXPECT_EQ(made ? host.notations.back() : "", c.notation);
        if (!made) {
            EXPECT_EQ(toFen(host.rules.position), "4k3/P7/8/8/8/8/8/4K3[] w KQkq");
            EXPECT_TRUE(host.errors.empty());  // cancelled, not illegal
        }
    }
}

TEST(BoardRules, PawnOnLastRankNeedsAPromotionPiece) {
    RecordingHost host;
    host.rules.position = boardFrom("4k3/P7/8/8/8/8/8/4K3");
    EXPECT_FALSE(host.rules.makeMove(0, 6, 0, 7, 'P', true, kNoPromotion, 0));
    EXPECT_TRUE(host.notations.empty());
}

TEST(BoardRules, NormalisesTypedText) {
    RecordingHost host;
    host.rules.position = boardFrom("4k3/8/8/8/1p6/2N5/8/4K3[b]");
    EXPECT_TRUE(host.play("kd1", true));
    EXPECT_TRUE(host.play("bxc3", false));  // stays a pawn capture
    EXPECT_FALSE(host.play("nf3", true));  // no knight left: refused, reported as "Nf3"
    EXPECT_TRUE(host.play("b@e4", false));
    EXPECT_EQ(joined(host.notations), "Kd1 bxc3 B@e4");
    EXPECT_EQ(host.errors, (std::vector<std::string>{"Nf3"}));
}

TEST(BoardRules, ReportsIllegalMovesOnlyWhenAsked) {
    RecordingHost host;
    host.rules.position = boardFrom(kStart);
    EXPECT_FALSE(host.rules.makeMoveFromText("nf9", true, false));
    EXPECT_TRUE(host.errors.empty());
    EXPECT_FALSE(host.rules.makeMoveFromText("nf9", true, true));
    EXPECT_EQ(host.errors, (std::vector<std::string>{"Nf9"}));
    EXPECT_FALSE(host.rules.inProgress.active);
}

TEST(BoardRules, AnalysisFillsEveryReserve) {
    RecordingHost host;
    host.rules.position = boardFrom(kStart);
    host.rules.position.sideToMove = 0;
    ASSERT_TRUE(host.rules.makeMoveFromText("ANALYSIS", false, true));
    for (int count : host.rules.position.holdings) EXPECT_EQ(count, 16);
    EXPECT_STREQ(host.rules.position.lastMove, "Analysis");
    EXPECT_EQ(host.rules.position.sideToMove, 0);
    EXPECT_EQ(host.notations, (std::vector<std::string>{"Analysis"}));
    EXPECT_EQ(host.captures, (std::vector<int>{-1}));
}

}  // namespace
