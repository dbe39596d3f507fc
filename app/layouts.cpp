// The saved window layouts: where the main window, the first board windows, game lists and
// index windows lie, and how the boards' toolbars are docked.
#include <QMdiSubWindow>
#include <QSettings>

#include "app/game_list/bpgn_manager.h"
#include "app/index/index1_frame.h"
#include "app/main_frame.h"
#include "app/tandemora_app.h"
#include "app/window_placement.h"
#include "board/board_frame.h"

namespace tandemora {

namespace {

// One docking state of the boards' toolbars is kept for all layouts, in the user's settings.
const QString kToolbarStateKey = QStringLiteral("test");

}  // namespace

std::vector<std::pair<CBoardFrame*, bool>> CTandemoraApp::layoutBoards() const {
    std::vector<std::pair<CBoardFrame*, bool>> boards;
    for (CGame* game : shownGames()) {
        const bool listed = game->manager != nullptr;
        boards.emplace_back(static_cast<CBoardFrame*>(game->boardA.get()), listed);
        if (game->boardB) boards.emplace_back(static_cast<CBoardFrame*>(game->boardB.get()), false);
    }
    return boards;
}

void CTandemoraApp::saveLayout(int n) {
    WindowLayout layout;
    layout.mainWindow = placementOf(mainFrame_.get());
    for (const auto& [board, listedBoardA] : layoutBoards()) {
        if (layout.boardCount == static_cast<int>(layout.boards.size())) break;
        layout.boards[layout.boardCount++] = placementOf(board->subWindow());
        if (listedBoardA) QSettings().setValue(kToolbarStateKey, board->saveState());
    }
    for (CBPGNManager* list : managerList_) {
        if (layout.listCount == static_cast<int>(layout.lists.size())) break;
        layout.lists[layout.listCount++] = placementOf(list->subWindow());
    }
    for (CIndex1Frame* window : indexList_) {
        if (layout.indexCount == static_cast<int>(layout.indexes.size())) break;
        layout.indexes[layout.indexCount++] = placementOf(window->subWindow());
    }
    writeLayout(layouts_, n, layout);
}

void CTandemoraApp::applyLayout(int n) {
    const WindowLayout layout = readLayout(layouts_, n);
    applyPlacement(mainFrame_.get(), layout.mainWindow);
    const auto boards = layoutBoards();
    const QByteArray toolbars = QSettings().value(kToolbarStateKey).toByteArray();
    for (int i = 0; i < layout.boardCount && i < static_cast<int>(boards.size()); ++i) {
        const auto& [board, listedBoardA] = boards[static_cast<size_t>(i)];
        if (listedBoardA && !toolbars.isEmpty()) board->restoreState(toolbars);
        applyPlacement(board->subWindow(), layout.boards[static_cast<size_t>(i)]);
    }
    for (int i = 0; i < layout.listCount && i < static_cast<int>(managerList_.size()); ++i)
        applyPlacement(managerList_[static_cast<size_t>(i)]->subWindow(), layout.lists[static_cast<size_t>(i)]);
    for (int i = 0; i < layout.indexCount && i < static_cast<int>(indexList_.size()); ++i)
        applyPlacement(indexList_[static_cast<size_t>(i)]->subWindow(), layout.indexes[static_cast<size_t>(i)]);
}

}  // namespace tandemora
