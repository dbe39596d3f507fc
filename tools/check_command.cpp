// tandemora-cli check: reads and replays every game, printing where each main line ends.
#include <ostream>

#include "core/fen.h"
#include "game/compressed_source.h"
#include "tools/commands.h"

namespace tandemora {

namespace {

struct Tally {
    int games = 0;
    int failed = 0;
    int readInPart = 0;  // games whose move list was read only up to a point
};

// " (moves read only up to line L, column C)", where the game's move list stopped being read.
std::string readUpTo(const TextPosition& at) {
    return " (moves read only up to line " + std::to_string(at.line) + ", column " + std::to_string(at.column) + ")";
}

// Prints "<n> ok <FEN of A>[ | <FEN of B>][ (moves read only up to ...)]" or "<n> error <why>".
void checkGame(CGame& game, GameFileReader& reader, std::ostream& out, Tally& tally) {
    out << game.gameNumber << ' ';
    if (!game.replayGame()) {
        out << "error " << replayFailure(game) << '\n';
        ++tally.failed;
        return;
    }
    const GameNode* last = game.mainLineEnd();
    out << "ok " << toFen(last->positionA);
    if (last->positionB) out << " | " << toFen(*last->positionB);
    if (game.movesReadUpTo) {
        out << readUpTo(reader.filePosition(game, *game.movesReadUpTo));
        ++tally.readInPart;
    }
    out << '\n';
}

// Checks the games of one file; false when the file cannot be read at all.
bool checkFile(const std::string& path, std::ostream& out, Tally& tally) {
    std::string problem;
    Compression compression = Compression::kNone;
    auto text = readSourceText(path, problem, &compression);
    if (!text) {
        out << (compression == Compression::kNone ? path + ": cannot open" : problem) << '\n';
        return false;
    }
    GameFileReader reader(std::move(*text));
    while (auto game = reader.next()) {
        ++tally.games;
        checkGame(*game, reader, out, tally);
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
    out << tally.games << " games, " << tally.failed << " failed";
    if (tally.readInPart) out << ", " << tally.readInPart << " read only in part";
    out << '\n';
    if (!allOpened || tally.failed) return kExitFailed;
    return tally.readInPart ? kExitPartial : kExitOk;
}

}  // namespace tandemora
