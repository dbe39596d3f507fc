// Making a move decides whether it leaves the mover's king attacked and whether it gives check
// from what the move changed, when the position before it is the one the last move left. A
// fresh rules object, which knows nothing of earlier moves, scans the whole board and is the
// oracle here.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/rules.h"
#include "test_positions.h"

using namespace tandemora;

namespace {

struct Host : RulesHost {
    const char* previous = nullptr;
    std::string notation;
    int captured = -1;

    const char* previousBoardSquares() override { return previous; }
    char choosePromotionPiece(int, int, bool) override { return 'Q'; }
    void moveMade(const std::string& text, bool, int capturedIndex) override {
        notation = text;
        captured = capturedIndex;
    }
    void reportIllegalMove(const std::string&) override {}
};

struct Trial {
    int fromFile, fromRank, toFile, toRank;
    char piece;
};

// Every move and drop the side might try, legal or not, castling included.
std::vector<Trial> trialsFor(const Board& board, bool white) {
    std::vector<Trial> trials;
    for (int from = 0; from < 64; ++from) {
        const char piece = board.squares[from];
        if (piece == ' ' || isWhitePiece(piece) != white) continue;
        for (int to = 0; to < 64; ++to)
            if (to != from) trials.push_back({from / 8, from % 8, to / 8, to % 8, piece});
    }
    for (int index = 0; index < 5; ++index) {
        if (board.holdings[index + (white ? 0 : 5)] < 1) continue;
        const char letter = pieceLetterOfIndex(index);
        for (int to = 0; to < 64; ++to)
            if (board.squares[to] == ' ') trials.push_back({-1, -1, to / 8, to % 8, white ? letter : asciiLower(letter)});
    }
    return trials;
}

// Moves whose test reaches past the moved piece and its origin; each list starts with a move the
// rules know nothing before, so the moves after it take the incremental way.
TEST(IncrementalCheck, LooksPastTheMovedPiece) {
    struct Case {
        const char* name;
        const char* start;
        const char* moves;  // "W:" or "B:" names the mover; '!' marks a move that must be refused
        const char* notations;
    } cases[] = {
        {"en passant discovers check through the taken pawn's square", "8/3p1k2/8/4P3/8/1B6/8/4K3", "B:d5 W:exd6",
         "d5 exd6+"},
        {"en passant bares the own king through the taken pawn's square", "b6k/3p4/8/4P3/8/8/6K1/8",
         "B:d5 W:!exd6 W:Kh2", "d5 Kh2"},
        {"castling gives check with the rook", "4k3/8/8/8/8/8/8/R3K3", "B:Kd8 W:O-O-O", "Kd8 O-O-O+"},
        {"a side moving again while the other stands in check", "4k3/8/8/8/8/8/8/R3K3", "W:Ra8+ W:Kd2 W:Ra7",
         "Ra8+ Kd2+ Ra7"},
    };
    for (const Case& c : cases) {
        Host host;
        BoardRules rules(host);
        rules.position = tandemora_test::boardFrom(c.start);
        std::array<char, 64> previous{};
        std::string notations;
        for (const char* p = c.moves; *p;) {
            const bool white = *p == 'W';
            p += 2;
            const bool refused = *p == '!';
            p += refused;
            const char* end = std::strchr(p, ' ');
            const std::string text(p, end ? end - p : std::strlen(p));
            p += text.size() + (end != nullptr);
            const std::array<char, 64> before = [&] {
                std::array<char, 64> squares;
                std::memcpy(squares.data(), rules.position.squares, 64);
                return squares;
            }();
            EXPECT_EQ(rules.makeMoveFromText(text, white, false), !refused) << c.name << ": " << text;
            if (refused) continue;
            previous = before;
            host.previous = previous.data();
            notations += (notations.empty() ? "" : " ") + host.notation;
        }
        EXPECT_EQ(notations, c.notations) << c.name;
    }
}

TEST(IncrementalCheck, AgreesWithFullScansOverRandomPlay) {
    const char* const starts[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
        "r3k2r/pPp2ppp/8/3pP3/2b5/8/PpP2PPP/R3K2R[NBnb]",  // castling, promotions, en passant
        "4k3/8/8/2r1b3/8/8/8/R3K2R[QRBNPqrbnp]",            // drops onto lines to both kings
        "3qk3/pppppppp/8/1P1P1P1P/p1p1p1p1/8/PPPPPPPP/3QK3",  // en passant on both sides
    };
    std::mt19937 random(15);
    int moves = 0, checks = 0, castlings = 0, enPassants = 0, promotions = 0, drops = 0, repeats = 0, refusals = 0;
    for (int game = 0; game < 80; ++game) {
        Host host;
        BoardRules rules(host);
        rules.position = tandemora_test::boardFrom(starts[game % 4]);
        std::array<char, 64> previous{};
        bool white = true;
        for (int ply = 0; ply < 120; ++ply) {
            // Now and then a side moves twice in a row, as a bughouse record allows.
            const bool again = ply > 0 && random() % 5 == 0;
            if (!again) white = !white;
            repeats += again;
            std::vector<Trial> trials = trialsFor(rules.position, white);
            std::shuffle(trials.begin(), trials.end(), random);
            // Castling and en passant are a few trials among hundreds: often they come first.
            const unsigned first = random() % 4;
            std::stable_partition(trials.begin(), trials.end(), [first](const Trial& t) {
                const bool pawn = asciiUpper(t.piece) == 'P' && t.fromFile >= 0;
                if (first == 0) return asciiUpper(t.piece) == 'K' && t.fromFile == 4 && std::abs(t.toFile - 4) == 2;
                return (first == 1 && pawn) || (first == 2 && pawn && t.fromFile != t.toFile);
            });
            const Board before = rules.position;
            bool moved = false;
            for (const Trial& t : trials) {
                const bool promotes = asciiUpper(t.piece) == 'P' && t.fromFile >= 0 && t.toRank == (white ? 7 : 0);
                const uint8_t promotion = promotes ? static_cast<uint8_t>("QRBN"[random() % 4]) : kNoPromotion;
                Host oracleHost;
                oracleHost.previous = host.previous;
                BoardRules oracle(oracleHost);
                oracle.position = before;
                const bool expected =
                    oracle.makeMove(t.fromFile, t.fromRank, t.toFile, t.toRank, t.piece, white, promotion, 0);
                const bool made = rules.makeMove(t.fromFile, t.fromRank, t.toFile, t.toRank, t.piece, white, promotion, 0);
                ASSERT_EQ(made, expected) << "game " << game << " ply " << ply << " " << t.piece << " "
                                          << t.fromFile << t.fromRank << "-" << t.toFile << t.toRank;
                if (!made) {
                    ++refusals;
                    continue;
                }
                ASSERT_EQ(host.notation, oracleHost.notation) << "game " << game << " ply " << ply;
                ASSERT_EQ(std::memcmp(rules.position.squares, oracle.position.squares, 64), 0);
                checks += host.notation.back() == '+';
                castlings += host.notation.rfind("O-O", 0) == 0;
                enPassants += t.piece == (white ? 'P' : 'p') && t.fromFile >= 0 && t.fromFile != t.toFile &&
                              before.squares[squareIndex(t.toFile, t.toRank)] == ' ';
                promotions += promotion != kNoPromotion;
                drops += t.fromFile < 0;
                if (host.captured >= 0) rules.position.holdings[host.captured + (white ? 0 : 5)]++;
                std::memcpy(previous.data(), before.squares, 64);
                host.previous = previous.data();
                moved = true;
                ++moves;
                break;
            }
            if (!moved) break;
        }
    }
    // The run reaches every kind of move the incremental test treats apart.
    EXPECT_GT(moves, 3000);
    EXPECT_GT(checks, 100);
    EXPECT_GT(castlings, 5);
    EXPECT_GT(enPassants, 5);
    EXPECT_GT(promotions, 20);
    EXPECT_GT(drops, 200);
    EXPECT_GT(repeats, 200);
    EXPECT_GT(refusals, 1000);
}

}  // namespace
