#include "core/checkmate.h"

#include "core/attacks.h"
#include "core/rules.h"

namespace tandemora {

namespace {

// Rules host for trial moves: nothing is recorded, a pawn reaching the last rank becomes a queen.
class TrialHost : public RulesHost {
public:
    explicit TrialHost(const char* previousSquares) : previous_(previousSquares) {}
    const char* previousBoardSquares() override { return previous_; }
    char choosePromotionPiece(int, int, bool) override { return 'Q'; }
    void moveMade(const std::string&, bool, int) override {}
    void reportIllegalMove(const std::string&) override {}

private:
    const char* previous_;
};

}  // namespace

bool isCheckmate(const Board& position, const char previousSquares[64]) {
    const bool white = position.sideToMove == 1;
    if (!kingInCheck(position.squares, white)) return false;
    TrialHost host(previousSquares);
    BoardRules rules(host);
    rules.position = position;
    // A trial that fails leaves the position as it was; the first that succeeds ends the search.
    for (int to = 0; to < 64; ++to) {
        const int toFile = to / 8, toRank = to % 8;
        for (int from = 0; from < 64; ++from) {
            const char piece = position.squares[from];
            if (piece == ' ' || isWhitePiece(piece) != white) continue;
            const bool promotes = asciiUpper(piece) == 'P' && toRank == (white ? 7 : 0);
            if (rules.makeMove(from / 8, from % 8, toFile, toRank, piece, white, kNoPromotion, promotes ? 1 : 0))
                return false;
        }
        if (position.squares[to] != ' ') continue;
        for (int index = 0; index < 5; ++index) {
            if (position.holdings[index + (white ? 0 : 5)] < 1) continue;
            const char letter = pieceLetterOfIndex(index);
            if (rules.makeMove(-1, -1, toFile, toRank, white ? letter : asciiLower(letter), white, kNoPromotion, 0))
                return false;
        }
    }
    return true;
}

}  // namespace tandemora
