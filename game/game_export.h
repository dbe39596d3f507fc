// Games written for other programs: crazyhouse games as standard PGN, which PGN readers with a
// crazyhouse variant take, and bughouse games as BPGN in the dialect of the public archives.
#pragma once

#include <ostream>
#include <string>

#include "game/game.h"

namespace tandemora {

// Appends a game whose move tree is built (read and replayed). A crazyhouse game becomes PGN:
// the Seven Tag Roster, Variant, TimeControl and ratings, the other tags kept, moves in standard
// notation with a "[%clk h:mm:ss]" comment each, comments, variations and the result. A bughouse
// game becomes archive BPGN: its tags, "12A. Nf3{170}" with the seconds left, "{C:...}" comments,
// variations and the closing comment glued to the moves. False, with the reason in `why`, when
// the game holds what the format cannot say (an analysis step in PGN).
bool appendForOtherPrograms(const CGame& game, std::string& out, std::string& why);

struct ExportTally {
    int games = 0;
    int exported = 0;
};

// Writes every game of a BPGN text to `out` for other programs, one line per game on `report`:
// "<n> ok" or "<n> skipped <why>" (a game that does not replay, or replays only in part). A text
// the reader cannot take whole is taken through the importer, as opening it would. False when
// writing to `out` failed.
bool exportGames(std::string text, std::ostream& out, std::ostream& report, ExportTally& tally);

}  // namespace tandemora
