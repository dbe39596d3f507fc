// Who is up on time, move by move through a game's main line: in bughouse time decides games,
// so the lead of one team over the other, summed over both boards, is worth seeing at a glance.
#pragma once

#include <cstdint>
#include <vector>

namespace tandemora {

class CGame;
struct GameNode;

// The clocks' differences after one main-line move (or at the start), in milliseconds.
struct ClockLead {
    GameNode* node = nullptr;
    // Bughouse: the lead of WhiteA and BlackB over BlackA and WhiteB, boardA + boardB.
    // Crazyhouse: white's time minus black's.
    std::int64_t teamMs = 0;
    std::int64_t boardAMs = 0;  // white minus black on board A
    std::int64_t boardBMs = 0;  // black minus white on board B, as WhiteA's team sees it; 0 in crazyhouse
};

// One entry for the root and for each node of the main line after it; none when the game has no
// tree. Each node holds both boards' clocks as they stood after its move.
std::vector<ClockLead> clockLeadSeries(const CGame& game);

}  // namespace tandemora
