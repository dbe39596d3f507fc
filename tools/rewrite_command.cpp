// tandemora-cli rewrite: writes every game of a file back in the program's own layout.
#include <ostream>

#include "tools/commands.h"
#include "game/file_replacement.h"
#include "game/game_file.h"

namespace tandemora {

namespace {

// Writes the games of `text` to `out`, stopping early when `out` fails; false when reading
// stopped before the end of the text.
bool rewriteGames(std::string text, const std::string& inPath, std::ostream& out, std::ostream& err, int& failed) {
    GameFileReader reader(std::move(text));
    while (auto game = reader.next()) {
        // A game that does not replay keeps its move text as it was read.
        if (!game->replayGame()) {
            ++failed;
            err << game->gameNumber << " error " << replayFailure(*game) << " (written unchanged)\n";
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
    int failed = 0;
    const bool replaced = replaceFile(
        outPath, [&](std::ostream& out) { return rewriteGames(std::move(*text), inPath, out, err, failed); },
        err) == Replacement::kDone;
    return replaced && failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace tandemora
