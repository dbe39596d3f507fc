// tandemora-cli rewrite: writes every game of a file back in the program's own layout.
#include <ostream>

#include "tools/commands.h"
#include "game/file_replacement.h"
#include "game/game_file.h"

namespace tandemora {

namespace {

struct Tally {
    int failed = 0;      // games that do not replay
    int readInPart = 0;  // games whose move list was read only up to a point
};

// Writes the games of `text` to `out`, stopping early when `out` fails; false when reading
// stopped before the end of the text.
bool rewriteGames(std::string text, const std::string& inPath, std::ostream& out, std::ostream& err, Tally& tally) {
    GameFileReader reader(std::move(text));
    while (auto game = reader.next()) {
        // A game that does not replay, or only in part, keeps its move text as it was read.
        if (!game->replayGame()) {
            ++tally.failed;
            err << game->gameNumber << " error " << replayFailure(*game) << " (written unchanged)\n";
        } else if (game->movesReadUpTo) {
            ++tally.readInPart;
            const TextPosition at = reader.filePosition(*game, *game->movesReadUpTo);
            err << game->gameNumber << " moves read only up to line " << at.line << ", column " << at.column
                << " (written unchanged)\n";
        }
        if (!game->storeGameToStream(out)) return true;
    }
    if (reader.stopLine()) {
        err << inPath << ": reading stopped at line " << reader.stopLine() << ": game " << reader.gamesRead() + 1
            << " is not readable\n";
        return false;
    }
    return true;
}

}  // namespace

int rewriteCommand(const std::string& inPath, const std::string& outPath, std::ostream& err) {
    auto text = readFileText(inPath);
    if (!text) {
        err << inPath << ": cannot open\n";
        return kExitFailed;
    }
    // IN is read whole beforehand, so OUT may be IN itself.
    Tally tally;
    const bool replaced = replaceFile(
        outPath, [&](std::ostream& out) { return rewriteGames(std::move(*text), inPath, out, err, tally); },
        err) == Replacement::kDone;
    if (!replaced || tally.failed) return kExitFailed;
    return tally.readInPart ? kExitPartial : kExitOk;
}

}  // namespace tandemora
