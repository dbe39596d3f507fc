#include <gtest/gtest.h>

#include <string>

#include "core/notation.h"
#include "test_positions.h"

using namespace tandemora;
using tandemora_test::boardFrom;
using tandemora_test::fileOf;
using tandemora_test::rankOf;

namespace {

const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
const char* const kTwoKnights = "4k3/8/8/8/8/5N2/8/1N2K3";
const char* const kPinnedKnight = "4k3/8/8/8/8/5N2/8/rN2K3";  // b1 pinned by the a1 rook
const char* const kThreeKnights = "1n3n1k/8/1n6/8/8/8/8/7K";  // b8, f8, b6 all reach d7
const char* const kPawnOnSeventh = "4k3/P3P3/8/8/8/8/8/4K3";

// "e2e4P", "@f3N", "e7e8P=N"; "=?" when the promotion piece is still open.
std::string describe(const Move& m) {
    std::string s;
    if (m.isDrop()) s += '@';
    else s += {static_cast<char>('a' + m.fromFile), static_cast<char>('1' + m.fromRank)};
    s += {static_cast<char>('a' + m.toFile), static_cast<char>('1' + m.toRank), m.piece};
    if (m.promotion != kNoPromotion) s += {'=', static_cast<char>(m.promotion)};
    if (m.promotionOpen) s += "=?";
    return s;
}

struct ParseCase {
    const char* position;
    const char* text;
    bool white;
    const char* expected;  // "-" when the text must not read
};

TEST(ParseMove, ReadsTextAgainstPosition) {
    const ParseCase cases[] = {
        {kStart, "e5", false, "e7e5p"},
        {"4k3/8/8/8/8/4P3/4P3/4K3", "e4", true, "e3e4P"},  // the pawn nearest the destination
        {"4k3/8/8/8/8/8/8/4K3", "e4", true, "-"},
        {kStart, "exd6", true, "e5d6P"},  // origin taken from the text, legality comes later
        {kPawnOnSeventh, "e8", true, "e7e8P=?"},
        {kPawnOnSeventh, "e8=N", true, "e7e8P=N"},
        {kPawnOnSeventh, "axb8=R", true, "a7b8P=R"},
        {kPawnOnSeventh, "e8=K", true, "-"},
        {kPawnOnSeventh, "e8=", true, "-"},
        {"4k3/8/8/8/8/8/3p4/K3R3", "dxe1=R", false, "d2e1p=r"},
        {kStart, "e4=Q", true, "-"},  // '=' only on the last rank
        {kStart, "O-O+", true, "e1g1K"},
        {kStart, "O-O-O", false, "e8c8k"},
        {kStart, "0-0", true, "-"},
        {kStart, "N@f3", true, "@f3N"},
        {kStart, "N@f3", false, "@f3n"},
        {kStart, "K@e4", true, "-"},
        {kStart, "1@e4", true, "-"},
        {kStart, "N@i3", true, "-"},
        {kStart, "Nf3+", true, "g1f3N"},
        {kStart, "Nf6", false, "g8f6n"},
        {kStart, "Bc4", true, "-"},  // blocked by the e2 pawn
        {kStart, "Ke5", true, "e1e5K"},  // the king's step is checked when the move is made
        {kStart, "Nf9", true, "-"},
        {kStart, "e", true, "-"},
        {kTwoKnights, "Nd2", true, "b1d2N"},  // first candidate in a1, a2, ..., h8 order
        {kPinnedKnight, "Nd2", true, "f3d2N"},
        {kThreeKnights, "Nxd7", false, "b6d7n"},
        {kThreeKnights, "Nbd7", false, "b6d7n"},
        {kThreeKnights, "N8d7", false, "b8d7n"},
        {kThreeKnights, "Nfd7", false, "f8d7n"},
        {kThreeKnights, "Nb8d7", false, "b8d7n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.position) + " " + c.text);
        Move move;
        const bool ok = parseMove(boardFrom(c.position), c.text, c.white, move);
        EXPECT_EQ(ok ? describe(move) : "-", c.expected);
    }
}

struct FormatCase {
    const char* position;
    char piece;
    const char* from;  // "@" for a drop
    const char* to;
    char promotion;  // 0 for none
    char captured;
    const char* expected;
};

TEST(FormatMove, WritesShortAlgebraic) {
    const char* const queens = "k7/8/8/8/4Q2Q/8/8/K6Q";  // e4, h4 and h1 all reach e1
    const char* const promotion = "3r3k/1P2P3/8/8/8/8/8/4K3";
    const FormatCase cases[] = {
        {kTwoKnights, 'N', "b1", "d2", 0, ' ', "Nbd2"},
        {kPinnedKnight, 'N', "f3", "d2", 0, ' ', "Nfd2"},  // pins are not considered
        {"4k3/8/8/8/8/1N6/8/1N2K3", 'N', "b1", "d2", 0, ' ', "N1d2"},
        {queens, 'Q', "h4", "e1", 0, ' ', "Qh4e1"},
        {queens, 'Q', "e4", "e1", 0, ' ', "Qee1"},
        {queens, 'Q', "h1", "e1", 0, ' ', "Q1e1"},
        {"4k3/8/8/8/8/8/4K3/R6R", 'R', "a1", "d1", 0, 'n', "Raxd1"},
        {"4k3/8/8/8/8/8/8/R3K2R", 'R', "a1", "d1", 0, ' ', "Rd1"},  // the king blocks the h1 rook
        {"4k3/8/8/3pP3/8/8/8/4K3", 'P', "e5", "d6", 0, ' ', "exd6"},  // en passant
        {"4k3/8/8/8/3pP3/8/8/4K3", 'p', "d4", "e3", 0, ' ', "dxe3"},
        {kStart, 'P', "e2", "d3", 0, ' ', "e2d3"},
        {promotion, 'P', "e7", "e8", 'Q', ' ', "e8=Q"},
        {promotion, 'P', "e7", "d8", 'n', 'r', "exd8=N"},
        {promotion, 'P', "e7", "f8", 'Q', ' ', "e7f8=Q"},
        {promotion, 'P', "b7", "e8", 'Q', ' ', "b7e8"},
        {kStart, 'K', "e1", "g1", 0, ' ', "O-O"},
        {kStart, 'k', "e8", "c8", 0, ' ', "O-O-O"},
        {kStart, 'K', "e1", "d2", 0, 'p', "Kxd2"},
        {kStart, 'n', "@", "f5", 0, ' ', "N@f5"},
        {kStart, 'p', "@", "e5", 0, ' ', "P@e5"},
        {kStart, 'X', "e2", "e4", 0, ' ', "?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.position) + " " + c.piece + c.from + c.to);
        const bool drop = c.from[0] == '@';
        const uint8_t promo = c.promotion ? static_cast<uint8_t>(c.promotion) : kNoPromotion;
        EXPECT_EQ(formatMove(boardFrom(c.position), c.piece, drop ? -1 : fileOf(c.from), drop ? -1 : rankOf(c.from),
                             fileOf(c.to), rankOf(c.to), promo, c.captured),
                  c.expected);
    }
}

// Standard notation tells a piece apart only from those that may legally make the same move.
TEST(FormatMove, LegalDisambiguationLeavesPinnedPiecesOut) {
    const FormatCase cases[] = {
        {kPinnedKnight, 'N', "f3", "d2", 0, ' ', "Nd2"},
        {kTwoKnights, 'N', "b1", "d2", 0, ' ', "Nbd2"},
        {"4k3/8/8/8/8/1N6/8/1N2K3", 'N', "b1", "d2", 0, ' ', "N1d2"},
        {kThreeKnights, 'n', "b8", "d7", 0, ' ', "Nb8d7"},
        {"1n3n2/1k6/1n6/8/8/8/8/1R5K", 'n', "b8", "d7", 0, ' ', "Nbd7"},  // b6 pinned by the b1 rook
        {"4r2k/8/8/8/R3R3/8/8/4K3", 'R', "a4", "d4", 0, ' ', "Rd4"},      // e4 pinned by the e8 rook
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.position) + " " + c.piece + c.from + c.to);
        EXPECT_EQ(formatMove(boardFrom(c.position), c.piece, fileOf(c.from), rankOf(c.from), fileOf(c.to),
                             rankOf(c.to), kNoPromotion, c.captured, Disambiguation::kLegal),
                  c.expected);
    }
}

}  // namespace
