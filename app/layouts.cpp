// The saved window layouts: where the main window and the first board windows lie.
#include <QMdiSubWindow>

#include "app/main_frame.h"
#include "app/tandemora_app.h"
#include "app/window_placement.h"
#include "board/board_frame.h"

namespace tandemora {

std::vector<CBoardFrame*> CTandemoraApp::layoutBoards() const {
    std::vector<CBoardFrame*> boards;
    for (const auto& game : newGameList_)
        for (BoardWindow* window : {game->boardA.get(), game->boardB.get()})
            if (window) boards.push_back(static_cast<CBoardFrame*>(window));
    return boards;
}

void CTandemoraApp::saveLayout(int n) {
    WindowLayout layout;
    layout.mainWindow = placementOf(mainFrame_.get());
    for (CBoardFrame* board : layoutBoards()) {
        if (layout.boardCount == static_cast<int>(layout.boards.size())) break;
        layout.boards[layout.boardCount++] = placementOf(board->subWindow());
    }
    writeLayout(layouts_, n, layout);
}

void CTandemoraApp::applyLayout(int n) {
    const WindowLayout layout = readLayout(layouts_, n);
    applyPlacement(mainFrame_.get(), layout.mainWindow);
    const std::vector<CBoardFrame*> boards = layoutBoards();
    for (int i = 0; i < layout.boardCount && i < static_cast<int>(boards.size()); ++i)
        applyPlacement(boards[i]->subWindow(), layout.boards[i]);
}

}  // namespace tandemora
