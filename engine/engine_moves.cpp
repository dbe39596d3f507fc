#include "engine/engine_moves.h"

#include <cstring>

#include "core/rules.h"

namespace tandemora {

namespace {

// The rules' host for moves played off the record: nothing is stored and nobody is asked.
class OffRecordHost : public RulesHost {
public:
    OffRecordHost(const Board& before, EngineVariant variant) : variant_(variant) {
        // The squares before the board's last move, as far as en passant needs them: the
        // piece that moved stands back where it came from.
        std::memcpy(previous_, before.squares, sizeof previous_);
        if (before.lastFrom >= 0 && before.lastTo >= 0) {
            previous_[before.lastFrom] = before.squares[before.lastTo];
            previous_[before.lastTo] = ' ';
        }
    }

    BoardRules* rules = nullptr;
    std::string notation;

    const char* previousBoardSquares() override { return previous_; }
    char choosePromotionPiece(int, int, bool) override { return 0; }  // the engine always names it
    void moveMade(const std::string& text, bool whiteMoved, int capturedIndex) override {
        notation = text;
        if (capturedIndex >= 0 && variant_ == EngineVariant::kCrazyhouse)
            rules->position.holdings[capturedIndex + (whiteMoved ? 0 : 5)]++;
    }
    void reportIllegalMove(const std::string&) override {}

private:
    EngineVariant variant_;
    char previous_[64];
};

bool isFile(char c) { return c >= 'a' && c <= 'h'; }
bool isRank(char c) { return c >= '1' && c <= '8'; }

}  // namespace

std::optional<std::string> playEngineMove(Board& board, std::string_view text, EngineVariant variant) {
    const bool white = board.sideToMove == 1;
    const auto coloured = [white](char letter) { return white ? asciiUpper(letter) : asciiLower(letter); };
    int fromFile = -1, fromRank = -1;
    char piece;
    uint8_t promotion = kNoPromotion;
    if (text.size() == 4 && text[1] == '@' && isFile(text[2]) && isRank(text[3])) {
        if (pieceIndex(text[0]) < 0) return std::nullopt;
        piece = coloured(text[0]);
    } else if ((text.size() == 4 || text.size() == 5) && isFile(text[0]) && isRank(text[1]) && isFile(text[2]) &&
               isRank(text[3])) {
        fromFile = text[0] - 'a';
        fromRank = text[1] - '1';
        piece = board.at(fromFile, fromRank);
        if (text.size() == 5) {
            if (std::strchr("qrbn", asciiLower(text[4])) == nullptr || text[4] == '\0') return std::nullopt;
            promotion = static_cast<uint8_t>(coloured(text[4]));
        }
    } else {
        return std::nullopt;
    }
    OffRecordHost host(board, variant);
    BoardRules rules(host);
    host.rules = &rules;
    rules.position = board;
    if (!rules.makeMove(fromFile, fromRank, text[2] - 'a', text[3] - '1', piece, white, promotion, 0))
        return std::nullopt;
    board = rules.position;
    return host.notation;
}

std::vector<std::string> translateLine(const Board& board, const std::vector<std::string>& coordinates,
                                       EngineVariant variant) {
    std::vector<std::string> notations;
    Board position = board;
    for (const std::string& move : coordinates) {
        auto notation = playEngineMove(position, move, variant);
        if (!notation) break;
        notations.push_back(std::move(*notation));
    }
    return notations;
}

}  // namespace tandemora
