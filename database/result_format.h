// The text of the result lines: one index's or a group's, worded alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tandemora {

inline constexpr const char* kNoMatchingGames = "No matching games found.";

// The games found under one key (a move, or "*" for a general search) and how many were won.
struct ResultCount {
    std::string_view key;
    int games = 0;
    int won = 0;
};

// One line per key, most games first (keys with as many games keep their order): the key, its
// games, their share of `counted` and, with `showWins`, the share won, else "---".
std::vector<std::string> formatResultLines(std::vector<ResultCount> counts, int counted, bool showWins);

}  // namespace tandemora
