// Random legal crazyhouse and bughouse games, played and written as BPGN by the game model
// itself, so the text is exactly what the program writes. For the benchmark and the tests.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace tandemora {

// One random game, tags, moves with clocks, a few annotations, comments and variations, and
// its closing line. The same seed gives the same text on every platform. `length` asks for that
// many main-line moves instead of 60 to 160; a game may still end earlier, when a board is stuck.
std::string randomGameText(uint64_t seed, bool bughouse, int length = 0);

// Writes `count` random games one after another; about `bughouseShare` of them are bughouse.
void writeRandomGames(std::ostream& out, int count, uint64_t seed, double bughouseShare = 0.5);

}  // namespace tandemora
