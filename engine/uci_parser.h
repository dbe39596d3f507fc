// Reading the engine's "info" and "bestmove" lines, and showing its scores.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tandemora {

// An evaluation seen from one side: the side to move as the engine gives it, or White.
struct Score {
    bool mate = false;
    // Centipawns, positive when the side is better; for a mate the moves to it.
    int value = 0;
    // For a mate: whether the side gives it (false: the side is mated, in `value` moves,
    // or already when `value` is 0).
    bool wins = false;
    // The search stopped at a bound: the true score is at least / at most this.
    bool lowerBound = false, upperBound = false;

    // Bigger is better for the side; any mate it gives beats any material, sooner better.
    int order() const;
    // The same score seen from the other side.
    Score negated() const;
    bool operator==(const Score&) const = default;
};

// A score given for the side to move, seen from White's side.
Score whiteView(const Score& sideToMove, bool whiteToMove);

// "+0.35", "-1.20", "0.00", or "#3" / "#-3" (mate given by the side / against it).
std::string formatScore(const Score& score);

// One "info" line. Fields the line does not give keep their defaults.
struct InfoLine {
    int depth = 0;
    int seldepth = 0;
    int multipv = 1;
    std::optional<Score> score;  // from the side to move
    long long nodes = 0;
    long long nps = 0;
    long long timeMs = 0;
    std::vector<std::string> pv;  // coordinate moves
};

// An "info" line other than "info string ..."; nothing for any other line. Unknown fields
// are skipped.
std::optional<InfoLine> parseInfo(std::string_view line);

struct BestMove {
    std::string move;  // "(none)" when the side to move has no move
    std::string ponder;
};

std::optional<BestMove> parseBestMove(std::string_view line);

}  // namespace tandemora
