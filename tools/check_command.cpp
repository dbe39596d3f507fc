// tandemora-cli check: reads and replays every game, printing where each main line ends.
#include <ostream>

#include "core/fen.h"
#include "tools/commands.h"
#include "game/game_file.h"

namespace tandemora {

namespace {

struct Tally {
    int games = 0;
    int failed = 0;
};

// Prints "<n> ok <FEN of A>[ | <FEN of B>]" or "<n> error <why>"; true when the game replayed.
bool checkGame(CGame& game, std::ostream& out) {
    out << game.gameNumber << ' ';
    if (!game.replayGame()) {
        out << "error " << replayFailure(game) << '\n';
        return false;
    }
    const GameNode* last = game.mainLineEnd();
    out << "ok " << toFen(last->positionA);
    if (last->positionB) out << " | " << toFen(*last->positionB);
    out << '\n';
    return true;
}

// Checks the games of one file; false when the file cannot be read at all.
bool checkFile(const std::string& path, std::ostream& out, Tally& tally) {
    auto text = readFileText(path);
    if (!text) {
        out << path << ": cannot open\n";
        return false;
    }
    GameFileReader reader(std::move(*text));
    while (auto game = reader.next()) {
        ++tally.games;
        if (!checkGame(*game, out)) ++tally.failed;
    }
    if (reader.stopLine()) {
        // The unreadable game counts as a failed one; the games after it are not read.
        ++tally.games;
        ++tally.failed;
        out << path << ": reading stopped at line " << reader.stopLine() << ": game " << reader.gamesRead() + 1
            << " is not readable\n";
    }
    return true;
}

}  // namespace

int checkCommand(const std::vector<std::string>& paths, std::ostream& out) {
    Tally tally;
    bool allOpened = true;
    for (const std::string& path : paths) {
        if (paths.size() > 1) out << path << ":\n";
        allOpened &= checkFile(path, out, tally);
    }
    out << tally.games << " games, " << tally.failed << " failed\n";
    return allOpened && tally.failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace tandemora
