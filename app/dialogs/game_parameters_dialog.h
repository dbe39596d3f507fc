// "Game Parameters": the game's header (event, players and ratings, times, result) edited by
// the user.
#pragma once

class QWidget;

namespace tandemora {

class CGame;

// Shows the game's header for editing; OK stores it into the game, Cancel changes nothing.
void editGameParameters(CGame& game, QWidget* parent);

}  // namespace tandemora
