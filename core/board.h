// The position of one board with both reserves, and a decoded move.
#pragma once

#include <cstdint>
#include <string>

namespace tandemora {

constexpr uint8_t kNoPromotion = 0xFF;

// Reserve slots: the piece index for white, the piece index + 5 for black.
constexpr int kReserveSlots = 10;

// Letter case without the locale: piece letters and notation are plain ASCII.
inline char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
inline char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

inline bool isWhitePiece(char c) { return c >= 'B' && c <= 'R'; }
inline bool isBlackPiece(char c) { return c >= 'b' && c <= 'r'; }
constexpr bool onBoard(int file, int rank) { return file >= 0 && file < 8 && rank >= 0 && rank < 8; }
constexpr int squareIndex(int file, int rank) { return file * 8 + rank; }

// P = 0, R = 1, N = 2, B = 3, Q = 4 in either case; anything else (the king, a blank) is -1.
int pieceIndex(char letter);

// The white piece letter of a reserve index (0..4).
char pieceLetterOfIndex(int index);

// The plain fields of a position, kept apart so that copying a position is one block copy.
struct BoardFields {
    int sideToMove = 1;  // 1 = white to move, 0 = black to move
    int whiteClockMs = 0;
    int blackClockMs = 0;
    char squares[64];          // index = file * 8 + rank; ' ' for empty
    uint8_t promoted[64] = {};  // 1 where the piece came from a promotion
    int holdings[kReserveSlots] = {};
    int castling[4] = {1, 1, 1, 1};  // white O-O, black O-O, white O-O-O, black O-O-O
    char lastMove[20] = {};          // notation of the move that led here; empty at the start
    // The squares of that move, for marking it on the board: -1 when there is none, the origin
    // also -1 for a drop.
    int8_t lastFrom = -1, lastTo = -1;

    char at(int file, int rank) const { return squares[squareIndex(file, rank)]; }
};

struct Board : BoardFields {
    std::string endText;  // the closing comment, only on the last main-line position

    // The standard initial position with both clocks at clockMs.
    static Board initial(int clockMs = 0);
};

struct Move {
    int fromFile = -1, fromRank = -1;  // both -1 for a drop
    int toFile = 0, toRank = 0;
    char piece = ' ';
    uint8_t promotion = kNoPromotion;
    uint8_t promotionOpen = 0;  // 1 when a pawn reaches the last rank with no piece named

    bool isDrop() const { return fromFile < 0; }
};

}  // namespace tandemora
