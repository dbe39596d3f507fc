#include "database/board_packing.h"

namespace tandemora {

namespace {

uint8_t squareCode(char piece) {
    switch (piece) {
    case 'P': return 1;
    case 'R': return 2;
    case 'N': return 3;
    case 'B': return 4;
    case 'Q': return 5;
    case 'K': return 6;
    case 'p': return 7;
    case 'r': return 8;
    case 'n': return 9;
    case 'b': return 10;
    case 'q': return 11;
    case 'k': return 12;
    default: return 0;
    }
}

}  // namespace

PackedBoard packBoard(const Board& board) {
    PackedBoard packed{};
    for (int rank = 0; rank < 8; ++rank)
        for (int k = 0; k < 4; ++k)
            packed[4 * rank + k] = static_cast<uint8_t>(squareCode(board.at(2 * k, rank)) << 4 |
                                                        squareCode(board.at(2 * k + 1, rank)));
    return packed;
}

}  // namespace tandemora
