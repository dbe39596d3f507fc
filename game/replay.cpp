// Replay at the recorded pace: the clocks run down step by step, and each move is played when
// its mover's clock has come down to the time recorded with it. A faster pace runs the clocks
// further each step and shortens the minimum delay between moves alike: at the delay of the
// recorded pace, busy stretches of a bughouse game would play no faster at x8 than at x2.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "game/game.h"

namespace tandemora {

namespace {

constexpr std::int64_t kLongThinkMs = 10000;
constexpr std::int64_t kShortenedThinkMs = 1000;

// Runs down the clock of the side to move on every board of the game.
void runClocks(CGame& game, std::int64_t ms) {
    auto run = [ms](int& clock) { clock = static_cast<int>(std::max<std::int64_t>(clock - ms, INT_MIN)); };
    Board& a = game.boardA->rules().position;
    run(game.current->lastWhiteA ? a.blackClockMs : a.whiteClockMs);
    if (game.isBughouse()) {
        Board& b = game.boardB->rules().position;
        run(game.current->lastWhiteB ? b.blackClockMs : b.whiteClockMs);
    }
}

}  // namespace

bool CGame::beginReplay(int stepMs) {
    tickMs = stepMs;
    if (!current || current->children.empty()) return true;
    elapsedMs = 0;
    lastMoveAtMs = 0;
    return false;
}

bool CGame::replayStep(int minimumDelayMs, ReplayPace pace) {
    if (!current || current->children.empty()) return true;
    // A piece in hand or an open promotion question holds the replay where it is.
    for (const BoardWindow* window : {boardA.get(), boardB.get()})
        if (window && window->moveInProgress()) return false;
    elapsedMs += tickMs;

    GameNode* next = current->firstChild();
    const Board& moverBoard = next->onBoardB() ? boardB->position() : boardA->position();
    const int& moverClock = next->whiteMoved() ? moverBoard.whiteClockMs : moverBoard.blackClockMs;
    auto untilDue = [&] { return std::int64_t(moverClock) - std::int64_t(next->clockSeconds) * 1000; };
    // The next mover is the side to move on its board: their clock runs, so one jump is enough.
    if (pace.skipLongThinks && untilDue() > kLongThinkMs) runClocks(*this, untilDue() - kShortenedThinkMs);
    const int speed = std::max(pace.speed, 1);
    runClocks(*this, std::int64_t(tickMs) * speed);

    const bool due = untilDue() <= 0;
    if (due && elapsedMs > static_cast<long long>(lastMoveAtMs) + minimumDelayMs / speed) {
        current = next;
        lastMoveAtMs = elapsedMs;
        synchronizeBoardsWithCurrentNode();
        updateNavigationState();
        if (!current->children.empty()) return false;
        if (events) events->replayReachedEnd(*this);
        return true;
    }
    boardA->repaintClocks();
    if (isBughouse()) boardB->repaintClocks();
    return false;
}

}  // namespace tandemora
