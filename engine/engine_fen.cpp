#include "engine/engine_fen.h"

#include "core/fen.h"

namespace tandemora {

int enPassantSquare(const Board& board) {
    if (board.lastFrom < 0 || board.lastTo < 0) return -1;
    const int file = board.lastFrom / 8, fromRank = board.lastFrom % 8, toRank = board.lastTo % 8;
    if (board.lastTo / 8 != file) return -1;
    const char pawn = board.squares[board.lastTo];
    if (pawn == 'P' && fromRank == 1 && toRank == 3) return squareIndex(file, 2);
    if (pawn == 'p' && fromRank == 6 && toRank == 4) return squareIndex(file, 5);
    return -1;
}

std::string engineFen(const Board& board, int fullMoveNumber) {
    // The engine looks for the rook of every right it is given: a right whose pieces have gone
    // (possible in records made elsewhere) is left out rather than sent.
    Board sent = board;
    const int kingFile = 4, rookFiles[4] = {7, 7, 0, 0};  // white O-O, black O-O, white O-O-O, black O-O-O
    for (int right = 0; right < 4; ++right) {
        const bool white = right % 2 == 0;
        const int rank = white ? 0 : 7;
        if (board.at(kingFile, rank) != (white ? 'K' : 'k') || board.at(rookFiles[right], rank) != (white ? 'R' : 'r'))
            sent.castling[right] = 0;
    }
    std::string fen = toFen(sent);
    // A skipped square on rank 3 is there for Black to take, on rank 6 for White.
    int ep = enPassantSquare(board);
    if (ep >= 0 && (ep % 8 == 2) != (board.sideToMove == 0)) ep = -1;
    fen += ' ';
    if (ep < 0) {
        fen += '-';
    } else {
        fen += static_cast<char>('a' + ep / 8);
        fen += static_cast<char>('1' + ep % 8);
    }
    fen += " 0 " + std::to_string(fullMoveNumber < 1 ? 1 : fullMoveNumber);
    return fen;
}

}  // namespace tandemora
