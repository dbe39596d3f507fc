// tandemora-cli import: turns foreign bughouse and crazyhouse records into the native dialect.
#include <ostream>

#include "game/compressed_source.h"
#include "game/file_replacement.h"
#include "game/importer.h"
#include "tools/commands.h"

namespace tandemora {

namespace {

struct Tally {
    int games = 0;
    ImportCounts counts;
};

// Writes one game and sends it to the disk at once, so that a failure stops the import there;
// the file replacement then names the cause.
bool writeGame(CGame& game, std::ostream& out) { return game.storeGameToStream(out) && out.flush(); }

// Imports the games of one file into `out`, one line per game on `report`; false when the
// file cannot be read or a game cannot be written.
bool importFile(const std::string& path, std::ostream& out, std::ostream& report, std::ostream& err, Tally& tally) {
    // Games are read as a stream, so an archive need not fit in memory nor be unpacked first.
    SourceFile in(path);
    if (!in.isOpen()) {
        err << path << ": cannot open: " << in.problem() << '\n';
        return false;
    }
    GameImporter importer(in);
    ImportedGame imported;
    try {
        for (int n = 1; importer.next(imported); ++n) {
            if (imported.game) {
                if (!writeGame(*imported.game, out)) return false;
                report << n << " ok\n";
            } else {
                report << n << " skipped " << imported.skipReason << '\n';
            }
            tally.counts.add(imported);
            ++tally.games;
        }
    } catch (const SourceError& damage) {
        err << damage.what() << '\n';
        return false;
    }
    return true;
}

}  // namespace

int importCommand(const std::vector<std::string>& inPaths, const std::string& outPath, std::ostream& report,
                  std::ostream& err) {
    Tally tally;
    const bool written = replaceFile(
        outPath,
        [&](std::ostream& out) {
            for (const std::string& path : inPaths) {
                if (inPaths.size() > 1) report << path << ":\n";
                if (!importFile(path, out, report, err, tally)) return false;
            }
            // An OUT that held games is not replaced by an empty one.
            if (tally.counts.imported == 0) err << "no game could be imported\n";
            return tally.counts.imported > 0;
        },
        err) == Replacement::kDone;
    // Why the games were skipped, as the program's import question says it.
    if (const std::string skipped = describeSkipped(tally.counts); !skipped.empty()) report << skipped << '\n';
    const int imported = tally.counts.imported;
    report << tally.games << " games, " << imported << " imported, " << tally.games - imported << " skipped\n";
    return written && imported == tally.games ? kExitOk : kExitFailed;
}

}  // namespace tandemora
