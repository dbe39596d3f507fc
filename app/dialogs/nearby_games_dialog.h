// "Retreive Nearby Games": how many games before and after the current one to fetch.
#pragma once

#include <optional>
#include <utility>

class QWidget;

namespace tandemora {

// Asks for the numbers of games before and after, starting from the given ones; nothing when
// cancelled.
std::optional<std::pair<int, int>> askNearbyGames(QWidget* parent, int before, int after);

}  // namespace tandemora
