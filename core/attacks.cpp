#include "core/attacks.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/board.h"

namespace tandemora {

namespace {

constexpr int kKnightOffsets[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
constexpr int kKingOffsets[8][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};

// For every square: the squares a knight or king reaches, the eight rays (four diagonals, then
// four straight lines) in order outwards, each ending at the board's edge, and which of its rays
// leads to each other square (-1 for none).
struct AttackTables {
    struct Targets {
        int count = 0;
        uint8_t square[8] = {};
    };
    Targets knight[64], king[64];
    Targets ray[64][8];
    int8_t direction[64][64] = {};

    constexpr AttackTables() {
        for (auto& row : direction)
            for (int8_t& d : row) d = -1;
        const int rays[8][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}, {0, 1}, {1, 0}, {0, -1}, {-1, 0}};
        for (int file = 0; file < 8; ++file)
            for (int rank = 0; rank < 8; ++rank) {
                const int from = squareIndex(file, rank);
                auto add = [](Targets& t, int f, int r) {
                    if (onBoard(f, r)) t.square[t.count++] = static_cast<uint8_t>(squareIndex(f, r));
                };
                for (int i = 0; i < 8; ++i) {
                    add(knight[from], file + kKnightOffsets[i][0], rank + kKnightOffsets[i][1]);
                    add(king[from], file + kKingOffsets[i][0], rank + kKingOffsets[i][1]);
                    for (int step = 1; step <= 7; ++step)
                        add(ray[from][i], file + rays[i][0] * step, rank + rays[i][1] * step);
                    for (int j = 0; j < ray[from][i].count; ++j) direction[from][ray[from][i].square[j]] = static_cast<int8_t>(i);
                }
            }
    }
};

constexpr AttackTables kTables;

bool pieceOnTarget(const char squares[64], const AttackTables::Targets& targets, char piece) {
    for (int i = 0; i < targets.count; ++i)
        if (squares[targets.square[i]] == piece) return true;
    return false;
}

// The first occupied square along a ray, or a blank when the ray leaves the board.
char firstOnRay(const char squares[64], const AttackTables::Targets& ray) {
    for (int i = 0; i < ray.count; ++i)
        if (squares[ray.square[i]] != ' ') return squares[ray.square[i]];
    return ' ';
}

// True when a bishop (diagonal), rook (straight) or queen (both) on the origin reaches the
// destination over empty squares.
bool sliderReaches(const char squares[64], int from, int to, bool diagonal, bool straight) {
    const int d = kTables.direction[from][to];
    if (d < 0 || !(d < 4 ? diagonal : straight)) return false;
    for (const uint8_t* s = kTables.ray[from][d].square; *s != to; ++s)
        if (squares[*s] != ' ') return false;
    return true;
}

}  // namespace

bool isSquareAttacked(const char squares[64], int colour, int file, int rank) {
    // Attacker letters: upper case when a black piece's square is attacked by white.
    const bool white = colour == 1;
    const int pawnRank = white ? rank - 1 : rank + 1;
    const char pawn = white ? 'P' : 'p';
    for (int f : {file - 1, file + 1})
        if (onBoard(f, pawnRank) && squares[squareIndex(f, pawnRank)] == pawn) return true;
    const AttackTables& t = kTables;
    const int square = squareIndex(file, rank);
    if (pieceOnTarget(squares, t.knight[square], white ? 'N' : 'n')) return true;
    if (pieceOnTarget(squares, t.king[square], white ? 'K' : 'k')) return true;
    const char bishop = white ? 'B' : 'b', rook = white ? 'R' : 'r', queen = white ? 'Q' : 'q';
    for (int d = 0; d < 8; ++d) {
        const char c = firstOnRay(squares, t.ray[square][d]);
        if (c == queen || c == (d < 4 ? bishop : rook)) return true;
    }
    return false;
}

int findKing(const char squares[64], char king) {
    const void* found = std::memchr(squares, king, 64);
    return found ? static_cast<int>(static_cast<const char*>(found) - squares) : -1;
}

bool kingInCheck(const char squares[64], bool whiteKing) {
    int k = findKing(squares, whiteKing ? 'K' : 'k');
    return k >= 0 && isSquareAttacked(squares, whiteKing ? 0 : 1, k / 8, k % 8);
}

bool pieceReaches(const char squares[64], char piece, int ff, int fr, int tf, int tr) {
    switch (piece) {
    case 'N': case 'n': {
        int df = std::abs(tf - ff), dr = std::abs(tr - fr);
        return (df == 1 && dr == 2) || (df == 2 && dr == 1);
    }
    case 'B': case 'b': return sliderReaches(squares, squareIndex(ff, fr), squareIndex(tf, tr), true, false);
    case 'R': case 'r': return sliderReaches(squares, squareIndex(ff, fr), squareIndex(tf, tr), false, true);
    case 'Q': case 'q': return sliderReaches(squares, squareIndex(ff, fr), squareIndex(tf, tr), true, true);
    default: return false;
    }
}

bool pieceAttacks(const char squares[64], int from, int target) {
    const char piece = squares[from];
    const int ff = from / 8, fr = from % 8, tf = target / 8, tr = target % 8;
    switch (piece) {
    case 'P': return tr - fr == 1 && std::abs(tf - ff) == 1;
    case 'p': return tr - fr == -1 && std::abs(tf - ff) == 1;
    case 'K': case 'k': return from != target && std::abs(tf - ff) <= 1 && std::abs(tr - fr) <= 1;
    default: return pieceReaches(squares, piece, ff, fr, tf, tr);
    }
}

bool lineAttacksThrough(const char squares[64], int target, int opened, bool byWhite) {
    const int d = kTables.direction[target][opened];
    if (d < 0) return false;
    const char c = firstOnRay(squares, kTables.ray[target][d]);
    return c == (byWhite ? 'Q' : 'q') || c == (d < 4 ? (byWhite ? 'B' : 'b') : (byWhite ? 'R' : 'r'));
}

}  // namespace tandemora
