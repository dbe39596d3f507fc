#include "game/pawn_capture_origin.h"

namespace tandemora {

namespace {

// Answers a trial move as the real board would, but keeps the move out of the game record.
class TrialHost : public RulesHost {
public:
    explicit TrialHost(RulesHost& real) : real_(real) {}
    const char* previousBoardSquares() override { return real_.previousBoardSquares(); }
    char choosePromotionPiece(int, int, bool) override { return 'Q'; }
    void moveMade(const std::string&, bool, int) override {}
    void reportIllegalMove(const std::string&) override {}

private:
    RulesHost& real_;
};

}  // namespace

bool lacksPawnCaptureOrigin(std::string_view move) {
    return move.size() >= 3 && move[0] == 'x' && move[1] >= 'a' && move[1] <= 'h' && move[2] >= '1' &&
           move[2] <= '8';
}

std::vector<std::string> pawnCapturesWithOrigin(const BoardRules& rules, RulesHost& host, std::string_view move,
                                                bool white) {
    std::vector<std::string> moves;
    if (!lacksPawnCaptureOrigin(move)) return moves;
    TrialHost trialHost(host);
    for (const int side : {-1, 1}) {
        const char file = static_cast<char>(move[1] + side);
        if (file < 'a' || file > 'h') continue;
        const std::string candidate = file + std::string(move);
        BoardRules trial(trialHost);
        trial.position = rules.position;
        if (trial.makeMoveFromText(candidate, white, false)) moves.push_back(candidate);
    }
    return moves;
}

}  // namespace tandemora
