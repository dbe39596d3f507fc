#include "engine/uci_parser.h"

#include <charconv>
#include <cstdlib>

namespace tandemora {

namespace {

// The words of a line, split at blanks.
std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) ++i;
        size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r' && line[end] != '\n')
            ++end;
        if (end > i) words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

template <typename Number>
bool readNumber(std::string_view word, Number& value) {
    const char* end = word.data() + word.size();
    auto [stop, error] = std::from_chars(word.data(), end, value);
    return error == std::errc{} && stop == end;
}

bool isField(std::string_view word) {
    for (const char* name : {"depth", "seldepth", "multipv", "score", "nodes", "nps", "time", "pv", "currmove",
                             "currmovenumber", "hashfull", "tbhits", "cpuload", "string", "refutation",
                             "currline", "sbhits"})
        if (word == name) return true;
    return false;
}

}  // namespace

int Score::order() const {
    constexpr int kMateOrder = 1000000;
    if (!mate) return value;
    return wins ? kMateOrder - value : -kMateOrder + value;
}

Score Score::negated() const {
    Score other = *this;
    if (mate) other.wins = !wins;
    else other.value = -value;
    other.lowerBound = upperBound;
    other.upperBound = lowerBound;
    return other;
}

Score whiteView(const Score& sideToMove, bool whiteToMove) { return whiteToMove ? sideToMove : sideToMove.negated(); }

std::string formatScore(const Score& score) {
    if (score.mate) return (score.wins ? "#" : "#-") + std::to_string(score.value);
    const int magnitude = std::abs(score.value);
    std::string text = score.value > 0 ? "+" : score.value < 0 ? "-" : "";
    const int hundredths = magnitude % 100;
    text += std::to_string(magnitude / 100) + (hundredths < 10 ? ".0" : ".") + std::to_string(hundredths);
    return text;
}

std::optional<InfoLine> parseInfo(std::string_view line) {
    const auto words = wordsOf(line);
    if (words.empty() || words[0] != "info" || (words.size() > 1 && words[1] == "string")) return std::nullopt;
    InfoLine info;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string_view word = words[i];
        const bool hasNext = i + 1 < words.size();
        if (word == "pv") {
            // The line runs to the end, unless another field follows (no engine does that).
            for (++i; i < words.size() && !isField(words[i]); ++i) info.pv.emplace_back(words[i]);
            --i;
        } else if (word == "score" && i + 2 < words.size()) {
            Score score;
            score.mate = words[i + 1] == "mate";
            if ((!score.mate && words[i + 1] != "cp") || !readNumber(words[i + 2], score.value)) continue;
            i += 2;
            if (score.mate) {
                score.wins = score.value > 0;
                score.value = std::abs(score.value);
            }
            for (; i + 1 < words.size(); ++i) {
                if (words[i + 1] == "lowerbound") score.lowerBound = true;
                else if (words[i + 1] == "upperbound") score.upperBound = true;
                else break;
            }
            info.score = score;
        } else if (hasNext && word == "depth") {
            i += readNumber(words[i + 1], info.depth);
        } else if (hasNext && word == "seldepth") {
            i += readNumber(words[i + 1], info.seldepth);
        } else if (hasNext && word == "multipv") {
            i += readNumber(words[i + 1], info.multipv);
        } else if (hasNext && word == "nodes") {
            i += readNumber(words[i + 1], info.nodes);
        } else if (hasNext && word == "nps") {
            i += readNumber(words[i + 1], info.nps);
        } else if (hasNext && word == "time") {
            i += readNumber(words[i + 1], info.timeMs);
        }
    }
    if (info.multipv < 1) info.multipv = 1;
    return info;
}

std::optional<BestMove> parseBestMove(std::string_view line) {
    const auto words = wordsOf(line);
    if (words.size() < 2 || words[0] != "bestmove") return std::nullopt;
    BestMove best{std::string(words[1]), {}};
    if (words.size() >= 4 && words[2] == "ponder") best.ponder = words[3];
    return best;
}

}  // namespace tandemora
