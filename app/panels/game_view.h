// A view of the active game beside its boards (the move list, the clock graph). The program
// tells each view which game is active and when that game's position changed; a view reads the
// game, never changes it by itself, and goes to a move only on the user's choice (CGame::moveTo).
#pragma once

namespace tandemora {

class CGame;

class GameView {
public:
    virtual ~GameView() = default;
    // The active game: the game of the active board window or of the game list's selection;
    // null when there is none or it is closing.
    virtual void showGame(CGame* game) = 0;
    // The shown game's current move changed, or its tree (CGame::treeRevision tells which).
    virtual void positionChanged() = 0;
};

}  // namespace tandemora
