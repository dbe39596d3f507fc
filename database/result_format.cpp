#include "database/result_format.h"

#include <algorithm>

#include "database/formatted.h"

namespace tandemora {

std::vector<std::string> formatResultLines(std::vector<ResultCount> counts, int counted, bool showWins) {
    std::stable_sort(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.games > b.games; });
    std::vector<std::string> lines;
    lines.reserve(counts.size());
    for (const ResultCount& count : counts) {
        const std::string wins = showWins ? formatted("%3.0f%%", count.won * 100.0 / count.games) : "---";
        lines.push_back(formatted("%s \t          %6d \t              %2.0f%% \t       %s",
                                  std::string(count.key).c_str(), count.games, count.games * 100.0 / counted,
                                  wins.c_str()));
    }
    return lines;
}

}  // namespace tandemora
