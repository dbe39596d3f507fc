// tandemora-cli build-db, games and nearby: the game database from the command line.
#include <unistd.h>

#include <iostream>
#include <ostream>

#include "database/database_file.h"
#include "tools/commands.h"
#include "tools/console_progress.h"
#include "tools/number_argument.h"

namespace tandemora {

int buildDatabaseCommand(const std::string& folder, const std::string& databasePath, std::ostream& out) {
    ConsoleProgress progress(out, std::cerr, isatty(STDERR_FILENO));
    return buildDatabase(folder, databasePath, progress) ? kExitOk : kExitFailed;
}

int gamesCommand(const std::string& databasePath, const std::vector<std::string>& offsets, std::ostream& out,
                 std::ostream& err) {
    auto database = openDatabaseForReading(databasePath);
    if (!database) {
        err << databasePath << ": cannot open\n";
        return kExitFailed;
    }
    int status = kExitOk;
    for (const std::string& text : offsets) {
        int offset = 0;
        std::unique_ptr<CGame> game = readInt(text, offset) ? readDatabaseGameAt(*database, offset) : nullptr;
        if (!game) {
            err << databasePath << ": no game at offset " << text << '\n';
            status = kExitFailed;
            database->clear();
            continue;
        }
        game->storeGameToStream(out);
    }
    return status;
}

int nearbyCommand(const std::string& databasePath, const std::string& offsetText, const std::string& beforeText,
                  const std::string& afterText, std::ostream& out, std::ostream& err) {
    int offset = 0, before = 0, after = 0;
    if (!readInt(offsetText, offset) || !readInt(beforeText, before) || !readInt(afterText, after) || before < 0 ||
        after < 0) {
        err << "nearby takes an offset and two counts of games\n";
        return kExitUsage;
    }
    auto database = openDatabaseForReading(databasePath);
    if (!database) {
        err << databasePath << ": cannot open\n";
        return kExitFailed;
    }
    std::vector<std::unique_ptr<CGame>> games;
    if (!retrieveNearbyGames(*database, before, after, offset, games)) {
        err << databasePath << ": no game at offset " << offsetText << '\n';
        return kExitFailed;
    }
    for (auto& game : games) game->storeGameToStream(out);
    return kExitOk;
}

}  // namespace tandemora
