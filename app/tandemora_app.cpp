#include "app/tandemora_app.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include "app/dialogs/message_box.h"
#include "app/dialogs/move_info_dialog.h"
#include "app/file_names.h"
#include "app/game_list/bpgn_manager.h"
#include "app/index/index1_frame.h"
#include "app/main_frame.h"
#include "board/board_frame.h"
#include "game/file_replacement.h"

namespace tandemora {

namespace {
constexpr int kMoveSound = 0;
constexpr int kGameOverSound = 1;
}  // namespace

CTandemoraApp::CTandemoraApp(SettingsFiles files) : files_(std::move(files)) { setMessageSink(this); }

CTandemoraApp::~CTandemoraApp() {
    // The games' windows live in the main window: they go first.
    for (CBPGNManager* list : managerList_) delete list->subWindow();
    managerList_.clear();
    for (CIndex1Frame* window : std::exchange(indexList_, {})) delete window->subWindow();
    newGameList_.clear();
    mainFrame_.reset();
    setMessageSink(nullptr);
}

void CTandemoraApp::start() {
    mainFrame_ = std::make_unique<CMainFrame>(*this);
    mainFrame_->show();
    loadSettings(settings_, layouts_, files_);
    recentFiles_ = loadRecentFiles(files_.settingsFile);
    createDrawingResources();
    sounds_.loadAll(settings_);
    applyLayout(0);
    mainFrame_->restoreDockState(settings_.mainWindowState);
    mainFrame_->updateOptionChecks();
}

void CTandemoraApp::createDrawingResources() {
    const QScreen* screen = mainFrame_ ? mainFrame_->screen() : nullptr;
    resources_ = tandemora::makeDrawingResources(settings_, screen ? static_cast<int>(screen->logicalDotsPerInchY()) : 96);
}

int CTandemoraApp::nextGameNumber(bool bughouse) {
    if (newGameList_.empty()) nextCrazyhouseNumber_ = nextBughouseNumber_ = 1;
    return bughouse ? nextBughouseNumber_++ : nextCrazyhouseNumber_++;
}

std::unique_ptr<BoardWindow> CTandemoraApp::createBoard(CGame& game, bool boardB) {
    return std::make_unique<CBoardFrame>(game, boardB, *this, mainFrame_->mdiArea());
}

void CTandemoraApp::newGame(bool bughouse) {
    auto game = std::make_unique<CGame>();
    game->events = this;
    game->gameNumber = nextGameNumber(bughouse);
    if (bughouse) game->createBughouseBoards(*this);
    else game->createCrazyhouseBoards(*this);
    game->updateNavigationState();
    placeBoards(*game);
    newGameList_.push_back(std::move(game));
    if (settings_.autoApplyDefaultLayout) applyLayout(0);
}

void CTandemoraApp::placeBoards(CGame& game) {
    auto* a = static_cast<CBoardFrame*>(game.boardA.get());
    auto* b = static_cast<CBoardFrame*>(game.boardB.get());
    if (settings_.autoApplyDefaultLayout) {
        // The default layout places them once the game is listed.
        for (CBoardFrame* frame : {a, b})
            if (frame) frame->placeWindow(frame->subWindow()->x(), frame->subWindow()->y(), 0, 0);
        return;
    }
    a->placeWindow(0, 0, 0, 0);
    if (b) b->placeWindow(481, 0, 0, 0);
    a->bringToTop();
}

QWidget& CTandemoraApp::mainFrameWidget() const { return *mainFrame_; }

CTandemoraApp::ActiveChild CTandemoraApp::activeChild() const {
    ActiveChild child;
    if (!mainFrame_) return child;  // the main window is still being made
    if (QMdiSubWindow* active = mainFrame_->mdiArea().currentSubWindow()) {
        child.board = qobject_cast<CBoardFrame*>(active->widget());
        child.list = qobject_cast<CBPGNManager*>(active->widget());
    }
    return child;
}

CBPGNManager* CTandemoraApp::managerOf(const CGame& game) const {
    const auto found = std::find_if(managerList_.begin(), managerList_.end(),
                                    [&game](const CBPGNManager* list) { return game.manager == list; });
    return found == managerList_.end() ? nullptr : *found;
}

bool CTandemoraApp::closeGame(CGame& game, bool removeFromList) {
    if (CBPGNManager* list = managerOf(game)) {
        list->closeGameBoards(game);
        return true;
    }
    switch (askYesNoCancel(mainFrame_.get(), "Save New Game " + std::to_string(game.gameNumber) + "?")) {
    case Answer::kCancel: return false;
    case Answer::kYes:
        if (!saveNewGame(game, false)) return false;
        break;
    case Answer::kNo: break;
    }
    if (removeFromList) removePtrFromGameList(&game);
    return true;
}

bool CTandemoraApp::saveNewGame(CGame& game, bool asNewFile) {
    if (game.manager) return false;
    const std::optional<std::string> path = askSaveFileName();
    // Without a file the game is not saved, so closing must not drop it either.
    if (!path) return asNewFile;
    if (asNewFile) {
        // From now on the game belongs to its new list, which owns it.
        const auto owned = std::find_if(newGameList_.begin(), newGameList_.end(),
                                        [&game](const auto& listed) { return listed.get() == &game; });
        if (owned == newGameList_.end()) return false;
        auto* list = new CBPGNManager(*this, mainFrame_->mdiArea());
        std::unique_ptr<CGame> moved = std::move(*owned);
        newGameList_.erase(owned);
        list->addGame(std::move(moved), true);
        managerList_.push_back(list);
        const bool saved = list->saveGames(*path);
        game.updateTitles();
        return saved;
    }
    // The file is replaced only by a complete copy, so a failed save loses nothing.
    std::ostringstream details;
    const Replacement result =
        replaceFile(*path, [&](std::ostream& out) { return game.storeGameToStream(out); }, details);
    if (result == Replacement::kCannotOpen) {
        showMessageBox(mainFrame_.get(), "Could not open " + fileNameText(*path) + " for saving.");
        return false;
    }
    if (result == Replacement::kCannotWrite) {
        showMessage("Could not save the game.");
        return false;
    }
    rememberRecentFile(*path);
    return true;
}

bool CTandemoraApp::closeAll() {
    std::vector<CGame*> closedGames;
    for (const auto& game : newGameList_) {
        if (!closeGame(*game, false)) break;
        closedGames.push_back(game.get());
    }
    for (CGame* game : closedGames) removePtrFromGameList(game);
    if (!newGameList_.empty()) return false;

    std::vector<CBPGNManager*> closedLists;
    for (CBPGNManager* list : managerList_) {
        if (!list->closeWithPrompt(false)) break;
        closedLists.push_back(list);
    }
    for (CBPGNManager* list : closedLists) removePtrFromManagerList(list);
    return managerList_.empty();
}

void CTandemoraApp::removePtrFromGameList(CGame* game) {
    const auto found =
        std::find_if(newGameList_.begin(), newGameList_.end(), [game](const auto& listed) { return listed.get() == game; });
    if (found == newGameList_.end()) {
        showMessage("Error in CTandemoraApp::removePtrFromGameList()");
        return;
    }
    newGameList_.erase(found);
}

std::vector<CGame*> CTandemoraApp::shownGames() const {
    std::vector<CGame*> games;
    for (const CBPGNManager* list : managerList_)
        for (const auto& game : list->games())
            if (game->boardA) games.push_back(game.get());
    for (const auto& game : newGameList_)
        if (game->boardA) games.push_back(game.get());
    return games;
}

void CTandemoraApp::repaintBoards() {
    for (CGame* game : shownGames()) {
        if (!game->displayOn) continue;
        for (BoardWindow* window : {game->boardA.get(), game->boardB.get()})
            if (window) window->relayout();
    }
}

void CTandemoraApp::importSettings(const std::filesystem::path& path) {
    loadSettings(settings_, path);
    createDrawingResources();
    sounds_.loadAll(settings_);
    mainFrame_->updateOptionChecks();
    repaintBoards();
}

void CTandemoraApp::saveSettings() {
    settings_.mainWindowState = mainFrame_->dockState();
    tandemora::saveSettings(settings_, layouts_, files_);
}

void CTandemoraApp::playEventSound(int index) { sounds_.play(index, settings_); }

void CTandemoraApp::positionShown(CGame& game) {
    playEventSound(kMoveSound);
    notifyIndexWindows();
    if (mainFrame_) mainFrame_->activeGame().positionShown(game);
}

void CTandemoraApp::replayReachedEnd(CGame&) { playEventSound(kGameOverSound); }

std::unique_ptr<MoveInfoView> CTandemoraApp::createMoveInfoDialog(CGame& game) {
    auto dialog = std::make_unique<MoveInfoDialog>(game);
    dialog->show();
    if (auto* board = static_cast<CBoardFrame*>(game.boardA.get())) dialog->placeBelow(board->subWindow());
    return dialog;
}

void CTandemoraApp::showMessage(const std::string& text) { showMessageBox(mainFrame_.get(), text); }

}  // namespace tandemora
