// tandemora-cli export: games for other programs, crazyhouse games as PGN and bughouse games as
// BPGN in the archives' dialect.
#include <ostream>

#include "game/compressed_source.h"
#include "game/file_replacement.h"
#include "game/game_export.h"
#include "game/game_file.h"
#include "tools/commands.h"

namespace tandemora {

int exportCommand(const std::vector<std::string>& args, std::ostream& report, std::ostream& err) {
    std::string inPath, outPath;
    bool pgn = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pgn" && !pgn) pgn = true;
        else if (args[i] == "-o" && i + 1 < args.size() && outPath.empty()) outPath = args[++i];
        else if (inPath.empty() && !args[i].empty() && args[i][0] != '-') inPath = args[i];
        else inPath.clear(), pgn = false, i = args.size();  // anything else is a wrong command line
    }
    if (inPath.empty() || outPath.empty() || !pgn) {
        err << "usage: tandemora-cli export IN -o OUT --pgn\n";
        return kExitUsage;
    }
    std::string problem;
    Compression compression = Compression::kNone;
    auto text = readSourceText(inPath, problem, &compression);
    if (!text) {
        err << (compression == Compression::kNone ? inPath + ": cannot open: " + problem : problem) << '\n';
        return kExitFailed;
    }
    ExportTally tally;
    const bool written = replaceFile(
        outPath,
        [&](std::ostream& out) {
            if (!exportGames(std::move(*text), out, report, tally)) return false;
            // An OUT that held games is not replaced by an empty one.
            if (tally.exported == 0) err << "no game could be exported\n";
            return tally.exported > 0;
        },
        err) == Replacement::kDone;
    report << tally.games << " games, " << tally.exported << " exported, " << tally.games - tally.exported
           << " skipped\n";
    return written && tally.exported == tally.games ? kExitOk : kExitFailed;
}

}  // namespace tandemora
