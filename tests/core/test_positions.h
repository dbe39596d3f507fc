// Positions written as text for the chess core's tests.
#pragma once

#include <string>
#include <string_view>

#include "core/board.h"

namespace tandemora_test {

// A board from a FEN placement with an optional reserve: "4k3/8/8/8/8/8/8/4K3[Nnp]";
// '~' marks the piece before it as promoted.
// Castling rights stay standing; white is to move.
inline tandemora::Board boardFrom(std::string_view text) {
    tandemora::Board board;
    for (char& c : board.squares) c = ' ';
    int file = 0, rank = 7;
    size_t i = 0;
    for (; i < text.size() && text[i] != '['; ++i) {
        const char c = text[i];
        if (c == '/') {
            file = 0;
            --rank;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
        } else if (c == '~') {
            board.promoted[tandemora::squareIndex(file - 1, rank)] = 1;
        } else {
            board.squares[tandemora::squareIndex(file++, rank)] = c;
        }
    }
    for (++i; i < text.size() && text[i] != ']'; ++i) {
        const bool white = text[i] >= 'A' && text[i] <= 'Z';
        board.holdings[tandemora::pieceIndex(text[i]) + (white ? 0 : 5)]++;
    }
    return board;
}

// "e4" as (file, rank).
inline int fileOf(std::string_view square) { return square[0] - 'a'; }
inline int rankOf(std::string_view square) { return square[1] - '1'; }

}  // namespace tandemora_test
