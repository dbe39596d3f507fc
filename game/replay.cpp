// Replay at the recorded pace: the clocks run down step by step, and each move is played when
// its mover's clock has come down to the time recorded with it.
#include "game/game.h"

namespace tandemora {

bool CGame::beginReplay(int stepMs) {
    tickMs = stepMs;
    if (!current || current->children.empty()) return true;
    elapsedMs = 0;
    lastMoveAtMs = 0;
    return false;
}

bool CGame::replayStep(int minimumDelayMs) {
    if (!current || current->children.empty()) return true;
    // A piece in hand or an open promotion question holds the replay where it is.
    for (const BoardWindow* window : {boardA.get(), boardB.get()})
        if (window && window->moveInProgress()) return false;
    elapsedMs += tickMs;

    Board& a = boardA->rules().position;
    (current->lastWhiteA ? a.blackClockMs : a.whiteClockMs) -= tickMs;
    if (isBughouse()) {
        Board& b = boardB->rules().position;
        (current->lastWhiteB ? b.blackClockMs : b.whiteClockMs) -= tickMs;
    }

    GameNode* next = current->firstChild();
    const Board& moverBoard = next->onBoardB() ? boardB->position() : boardA->position();
    const int moverClock = next->whiteMoved() ? moverBoard.whiteClockMs : moverBoard.blackClockMs;
    const bool due = static_cast<long long>(moverClock) <= static_cast<long long>(next->clockSeconds) * 1000;
    if (due && elapsedMs > static_cast<long long>(lastMoveAtMs) + minimumDelayMs) {
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
