#include "database/board_packing.h"

namespace tandemora {

namespace {

// The 4-bit code of every byte a square can hold; anything but a piece letter is 0.
constexpr auto kSquareCodes = [] {
    std::array<uint8_t, 256> codes{};
    const char pieces[] = "PRNBQKprnbqk";
    for (uint8_t code = 1; code <= 12; ++code) codes[static_cast<unsigned char>(pieces[code - 1])] = code;
    return codes;
}();

uint8_t codeAt(const Board& board, int file, int rank) {
    return kSquareCodes[static_cast<unsigned char>(board.squares[squareIndex(file, rank)])];
}

}  // namespace

PackedBoard packBoard(const Board& board) {
    PackedBoard packed{};
    for (int rank = 0; rank < 8; ++rank)
        for (int k = 0; k < 4; ++k)
            packed[4 * rank + k] = static_cast<uint8_t>(codeAt(board, 2 * k, rank) << 4 | codeAt(board, 2 * k + 1, rank));
    return packed;
}

}  // namespace tandemora
