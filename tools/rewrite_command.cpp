// tandemora-cli rewrite: writes every game of a file back in the program's own layout.
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

#include "tools/commands.h"
#include "tools/game_file.h"

namespace tandemora {

namespace fs = std::filesystem;

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
    // OUT is replaced by renaming a finished file over it, which a device or folder must not be.
    std::error_code error;
    const fs::file_status outStatus = fs::status(outPath, error);
    const bool outExists = fs::exists(outStatus);
    if (outExists && !fs::is_regular_file(outStatus)) {
        err << outPath << ": not a regular file\n";
        return kExitFailed;
    }
    // Through a symbolic link the file it names is replaced, and the link stays.
    fs::path target = outExists ? fs::canonical(outPath, error) : fs::path(outPath);
    if (error) target = outPath;

    // Everything goes to a file beside OUT first, so a failure never leaves OUT half written;
    // reading IN whole beforehand lets OUT be IN itself.
    const fs::path tmpPath = target.string() + ".tmp";
    std::ofstream out(tmpPath, std::ios::binary | std::ios::trunc);
    if (!out) {
        err << tmpPath.string() << ": cannot write\n";
        return kExitFailed;
    }
    int failed = 0;
    const bool readToEnd = rewriteGames(std::move(*text), inPath, out, err, failed);
    out.close();
    if (!readToEnd || out.fail()) {
        if (readToEnd) err << tmpPath.string() << ": cannot write\n";
        fs::remove(tmpPath, error);
        err << outPath << ": left unchanged\n";
        return kExitFailed;
    }
    if (outExists) fs::permissions(tmpPath, outStatus.permissions(), error);
    fs::rename(tmpPath, target, error);
    if (error) {
        err << outPath << ": cannot replace: " << error.message() << '\n';
        fs::remove(tmpPath, error);
        return kExitFailed;
    }
    return failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace tandemora
