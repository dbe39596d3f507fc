// Games fetched from a game database into a new game list: the games behind a result line of
// an index search, and the games around one that came from a database.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tandemora {

class CGame;
class CTandemoraApp;

// Opens the games `first` to `last` (counted from 1) of `offsets` from the database at
// `databasePath` in a new game list, each remembering where it came from. A game that cannot
// be read ends the reading, reported; the games read before it are listed.
void openDatabaseGames(CTandemoraApp& app, const std::string& databasePath, const std::vector<int32_t>& offsets,
                       int first, int last);

// The game "Retreive Nearby Games" works on, the selected game of the active list or the game
// of the active board window, when it came from a database; null otherwise.
const CGame* databaseGameOfActive(const CTandemoraApp& app);

// "Retreive Nearby Games": how many games before and after that game, then those games in a
// new game list.
void openNearbyGames(CTandemoraApp& app);

}  // namespace tandemora
