#include "core/fen.h"

namespace tandemora {

std::string toFen(const Board& board) {
    std::string fen;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            char c = board.at(file, rank);
            if (c == ' ') {
                ++empty;
                continue;
            }
            if (empty) fen += static_cast<char>('0' + empty);
            empty = 0;
            fen += c;
            if (board.promoted[squareIndex(file, rank)]) fen += '~';
        }
        if (empty) fen += static_cast<char>('0' + empty);
        if (rank > 0) fen += '/';
    }
    fen += '[';
    static const int order[5] = {4, 1, 3, 2, 0};  // Q R B N P as piece indexes
    for (int colour = 0; colour < 2; ++colour)
        for (int index : order)
            for (int n = 0; n < board.holdings[index + colour * 5]; ++n)
                fen += static_cast<char>(pieceLetterOfIndex(index) + (colour ? 32 : 0));
    fen += "] ";
    fen += board.sideToMove ? 'w' : 'b';
    fen += ' ';
    const char rights[4] = {'K', 'Q', 'k', 'q'};
    const int slots[4] = {0, 2, 1, 3};
    size_t before = fen.size();
    for (int i = 0; i < 4; ++i)
        if (board.castling[slots[i]]) fen += rights[i];
    if (fen.size() == before) fen += '-';
    return fen;
}

}  // namespace tandemora
