#include "core/board.h"

#include <cstring>

namespace tandemora {

int pieceIndex(char letter) {
    switch (letter) {
    case 'P': case 'p': return 0;
    case 'R': case 'r': return 1;
    case 'N': case 'n': return 2;
    case 'B': case 'b': return 3;
    case 'Q': case 'q': return 4;
    default: return -1;
    }
}

char pieceLetterOfIndex(int index) {
    static const char letters[] = "PRNBQ";
    return index >= 0 && index < 5 ? letters[index] : '?';
}

Board Board::initial(int clockMs) {
    // Listed rank by rank from rank 1; stored by file.
    static const char start[] =
        "RNBQKBNRPPPPPPPP                                pppppppprnbqkbnr";
    Board b;
    for (int i = 0; i < 64; ++i) b.squares[squareIndex(i % 8, i / 8)] = start[i];
    b.whiteClockMs = b.blackClockMs = clockMs;
    return b;
}

}  // namespace tandemora
