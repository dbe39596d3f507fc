// The header of a game as the Game Parameters dialog edits it.
#pragma once

#include <string>

namespace tandemora {

class CGame;

// Every field as the dialog shows it: texts, ratings and times as decimal text.
struct GameParameters {
    std::string event, site, date;
    std::string whiteA, whiteAElo, blackA, blackAElo;
    std::string whiteB, whiteBElo, blackB, blackBElo;  // empty and unused for crazyhouse
    std::string baseSeconds, incrementSeconds;
    std::string result, resultDescription;
};

// The dialog's fields filled from the game.
GameParameters gameParameters(const CGame& game);

// Checks the fields; the message to show when one must be corrected, else empty.
std::string checkGameParameters(const CGame& game, const GameParameters& parameters);

// Stores checked fields into the game, marks it modified, renames its boards' players and
// lays its boards out again.
void applyGameParameters(CGame& game, const GameParameters& parameters);

}  // namespace tandemora
