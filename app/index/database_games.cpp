#include "app/index/database_games.h"

#include <algorithm>

#include "app/dialogs/message_box.h"
#include "app/dialogs/nearby_games_dialog.h"
#include "app/file_names.h"
#include "app/game_list/bpgn_manager.h"
#include "app/main_frame.h"
#include "app/tandemora_app.h"
#include "app/wait_cursor.h"
#include "board/board_frame.h"
#include "database/database_file.h"

namespace tandemora {

namespace {

void listDatabaseGames(CTandemoraApp& app, const std::string& databasePath,
                       std::vector<std::unique_ptr<CGame>> games) {
    for (const auto& game : games) game->databaseFileName = databasePath;
    auto* list = new CBPGNManager(app, app.mainFrame().mdiArea());
    list->addGames(std::move(games));
    app.addToManagerList(list);
}

}  // namespace

void openDatabaseGames(CTandemoraApp& app, const std::string& databasePath, const std::vector<int32_t>& offsets,
                       int first, int last) {
    const std::unique_ptr<std::istream> database = openDatabaseForReading(databasePath);
    if (!database) return showMessageBox(&app.mainFrameWidget(), "Error opening database.");
    std::vector<std::unique_ptr<CGame>> games;
    bool readAll = true;
    {
        const WaitCursor wait;
        last = std::min(last, static_cast<int>(offsets.size()));
        for (int game = std::max(first, 1); game <= last && readAll; ++game) {
            games.push_back(readDatabaseGameAt(*database, offsets[static_cast<size_t>(game - 1)]));
            readAll = games.back() != nullptr;
        }
        if (!readAll) games.pop_back();
    }
    listDatabaseGames(app, databasePath, std::move(games));
    if (!readAll)
        showMessageBox(&app.mainFrameWidget(), "Internal database error, could not read game from database.");
}

const CGame* databaseGameOfActive(const CTandemoraApp& app) {
    const CTandemoraApp::ActiveChild active = app.activeChild();
    const CGame* game = active.list ? active.list->selectedGame() : active.board ? &active.board->game() : nullptr;
    return game && game->databaseOffset >= 0 ? game : nullptr;
}

void openNearbyGames(CTandemoraApp& app) {
    QWidget* parent = &app.mainFrameWidget();
    const CGame* game = databaseGameOfActive(app);
    if (!game) return showMessageBox(parent, "Current game was not loaded from any database.");
    // The game may be closed while the question is open.
    const std::string path = game->databaseFileName;
    const int32_t offset = game->databaseOffset;
    const auto counts = askNearbyGames(parent, 10, 10);
    if (!counts) return;
    const std::unique_ptr<std::istream> database = openDatabaseForReading(path);
    if (!database) return showMessageBox(parent, QStringLiteral("Error opening database: ") + fileNameText(path));
    std::vector<std::unique_ptr<CGame>> games;
    bool retrieved;
    {
        const WaitCursor wait;
        retrieved = retrieveNearbyGames(*database, counts->first, counts->second, offset, games);
    }
    if (!retrieved) return showMessageBox(parent, "Could not retreive games.");
    listDatabaseGames(app, path, std::move(games));
}

}  // namespace tandemora
