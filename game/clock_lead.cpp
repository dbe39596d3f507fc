#include "game/clock_lead.h"

#include "game/game.h"

namespace tandemora {

std::vector<ClockLead> clockLeadSeries(const CGame& game) {
    std::vector<ClockLead> series;
    for (GameNode* node = game.root.get(); node; node = node->firstChild()) {
        ClockLead lead;
        lead.node = node;
        const Board& a = node->positionA;
        lead.boardAMs = std::int64_t(a.whiteClockMs) - a.blackClockMs;
        if (game.isBughouse() && node->positionB) {
            const Board& b = *node->positionB;
            lead.boardBMs = std::int64_t(b.blackClockMs) - b.whiteClockMs;
        }
        lead.teamMs = lead.boardAMs + lead.boardBMs;
        series.push_back(lead);
    }
    return series;
}

}  // namespace tandemora
